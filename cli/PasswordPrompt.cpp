#include "cli/PasswordPrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "store/PasswordBytes.h"

namespace {

constexpr size_t kMaxPasswordBytes = 1024;

}  // namespace

bool PromptPassword(const char* prompt, SecureBytes& password) {
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return false;
    termios saved{};
    bool isTerminal = tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(tty, TCSAFLUSH, &quiet);
        (void)!write(tty, prompt, std::char_traits<char>::length(prompt));
        std::string line;
        line.reserve(kMaxPasswordBytes);  // no reallocation leaves a copy behind
        char c;
        while (line.size() < kMaxPasswordBytes && read(tty, &c, 1) == 1 && c != '\n') line += c;
        tcsetattr(tty, TCSAFLUSH, &saved);
        (void)!write(tty, "\n", 1);
        password = PasswordFromLine(line);
    }
    close(tty);
    return isTerminal;
}
