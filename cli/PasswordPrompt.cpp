#include "cli/PasswordPrompt.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

constexpr size_t kMaxPasswordBytes = 1024;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};

// What the handler needs to give the terminal back; set only while a prompt waits.
int promptTty = -1;
termios promptSaved{};

void RestoreEchoAndEnd(int signal) {
    tcsetattr(promptTty, TCSAFLUSH, &promptSaved);
    (void)!write(promptTty, "\n", 1);
    raise(signal);  // the handler was reset on entry: the signal now ends the program as it would have
}

// Echo off for as long as it lives, and back on however the prompt ends.
class QuietTerminal {
public:
    QuietTerminal(int tty, const termios& saved) {
        promptTty = tty;
        promptSaved = saved;
        struct sigaction action {};
        action.sa_handler = RestoreEchoAndEnd;
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaction(kEndingSignals[i], &action, &previous[i]);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    ~QuietTerminal() {
        tcsetattr(promptTty, TCSAFLUSH, &promptSaved);
        for (size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaction(kEndingSignals[i], &previous[i], nullptr);
        promptTty = -1;
    }
    QuietTerminal(const QuietTerminal&) = delete;
    QuietTerminal& operator=(const QuietTerminal&) = delete;

private:
    struct sigaction previous[std::size(kEndingSignals)];
};

}  // namespace

bool PromptPassword(const char* prompt, std::optional<SecureBytes>& password) {
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return false;
    termios saved{};
    bool isTerminal = tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        std::string line;
        line.reserve(kMaxPasswordBytes);  // no reallocation leaves a copy behind
        {
            QuietTerminal quiet(tty, saved);
            (void)!write(tty, prompt, std::char_traits<char>::length(prompt));
            char c;
            while (line.size() < kMaxPasswordBytes && read(tty, &c, 1) == 1 && c != '\n') line += c;
        }
        (void)!write(tty, "\n", 1);
        password = PasswordFromLine(line);
    }
    close(tty);
    return isTerminal;
}

bool ReadSecret(const std::string& prompt, bool fromStdin, std::istream& in, SecureBytes& secret,
                std::ostream& err) {
    std::optional<SecureBytes> read;
    if (fromStdin) {
        read = ReadPasswordLine(in);
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
