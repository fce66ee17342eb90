#pragma once
// Reading the wallet password and other secrets: from the terminal without echo, or as one line of
// standard input.

#include <iosfwd>
#include <optional>
#include <string>

#include "store/PasswordBytes.h"

// Prompts on the terminal and reads one line without echo; false when there is no terminal. `password` is
// left empty when the line is not valid UTF-8. A signal that ends the program while it waits (Ctrl-C,
// SIGTERM, SIGUSR1, SIGALRM, any other) gives the terminal its echo back first; Ctrl-Z gives it back
// while the program is stopped.
bool PromptPassword(const char* prompt, std::optional<SecureBytes>& password);

// One line of the file descriptor, newline dropped, as password bytes; nothing after the newline is read.
std::optional<SecureBytes> ReadPasswordFromFd(int fd);

// One line of `in` as password bytes. The process's own standard input is read from fd 0 itself, since
// std::cin would keep the line and what follows in its buffer.
std::optional<SecureBytes> ReadInputPassword(std::istream& in);

// Makes the process non-dumpable first. One secret line: from `in` when fromStdin, else prompted for on the
// terminal. False, with a message on `err`, when there is no terminal or the line is not valid UTF-8.
bool ReadSecret(const std::string& prompt, bool fromStdin, std::istream& in, SecureBytes& secret,
                std::ostream& err);
