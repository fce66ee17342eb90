#include "cli/PasswordPrompt.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/EndingSignals.h"
#include "store/SecureMemory.h"

namespace {

constexpr size_t kMaxPasswordBytes = 1024;
// What the handlers need to give the terminal back; set only while a prompt waits.
int promptTty = -1;
termios promptSaved{};
termios promptQuiet{};

void RestoreEcho() {
    tcsetattr(promptTty, TCSAFLUSH, &promptSaved);
    (void)!write(promptTty, "\n", 1);
}

// Ctrl-Z: the terminal gets its echo back while the program is stopped, and loses it again on `fg`.
void StopWithEcho(int) {
    int saved = errno;
    tcsetattr(promptTty, TCSAFLUSH, &promptSaved);
    signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP);  // not blocked (SA_NODEFER): stops here until continued
    struct sigaction again {};
    again.sa_handler = StopWithEcho;
    again.sa_flags = SA_NODEFER | SA_RESTART;
    sigaction(SIGTSTP, &again, nullptr);
    tcsetattr(promptTty, TCSAFLUSH, &promptQuiet);
    errno = saved;
}

// Echo off for as long as it lives, and back on however the prompt ends or is stopped.
class QuietTerminal {
public:
    QuietTerminal(int tty, const termios& saved) : ending(RestoreEcho) {
        promptTty = tty;
        promptSaved = saved;
        promptQuiet = saved;
        promptQuiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        struct sigaction stop {};
        stop.sa_handler = StopWithEcho;
        stop.sa_flags = SA_NODEFER | SA_RESTART;
        sigaction(SIGTSTP, &stop, &previousStop);
        tcsetattr(tty, TCSAFLUSH, &promptQuiet);
    }
    ~QuietTerminal() {
        tcsetattr(promptTty, TCSAFLUSH, &promptSaved);
        sigaction(SIGTSTP, &previousStop, nullptr);
        promptTty = -1;
    }
    QuietTerminal(const QuietTerminal&) = delete;
    QuietTerminal& operator=(const QuietTerminal&) = delete;

private:
    EndingSignalCleanup ending;
    struct sigaction previousStop {};
};

// One line from fd, a byte at a time so that nothing after the newline is taken from the next reader and
// no stdio buffer keeps a copy; the reserve keeps a growing string from leaving copies behind.
void ReadLine(int fd, std::string& line) {
    line.reserve(kMaxPasswordBytes);
    char c;
    while (line.size() < kMaxPasswordBytes && read(fd, &c, 1) == 1 && c != '\n') line += c;
}

}  // namespace

std::optional<SecureBytes> ReadPasswordFromFd(int fd) {
    std::string line;
    ReadLine(fd, line);
    return PasswordFromLine(line);
}

std::optional<SecureBytes> ReadInputPassword(std::istream& in) {
    return &in == &std::cin ? ReadPasswordFromFd(STDIN_FILENO) : ReadPasswordLine(in);
}

bool PromptPassword(const char* prompt, std::optional<SecureBytes>& password) {
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return false;
    termios saved{};
    bool isTerminal = tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        std::string line;
        {
            QuietTerminal quiet(tty, saved);
            (void)!write(tty, prompt, std::char_traits<char>::length(prompt));
            ReadLine(tty, line);
        }
        (void)!write(tty, "\n", 1);
        password = PasswordFromLine(line);
    }
    close(tty);
    return isTerminal;
}

bool ReadSecret(const std::string& prompt, bool fromStdin, std::istream& in, SecureBytes& secret,
                std::ostream& err) {
    KeepSecretsFromDumps();
    std::optional<SecureBytes> read;
    if (fromStdin) {
        read = ReadInputPassword(in);
    } else if (!PromptPassword(prompt.c_str(), read)) {
        err << "tessera: no terminal to ask for the password; use --password-stdin\n";
        return false;
    }
    if (!read) {
        err << "tessera: the text typed is not valid UTF-8\n";
        return false;
    }
    secret = std::move(*read);
    return true;
}
