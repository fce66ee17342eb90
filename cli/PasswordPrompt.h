#pragma once
// Reading the wallet password and other secrets: from the terminal without echo, or as one line of
// standard input.

#include <iosfwd>
#include <optional>
#include <string>

#include "store/PasswordBytes.h"

// Prompts on the terminal and reads one line without echo; false when there is no terminal. `password` is
// left empty when the line is not valid UTF-8. A signal that ends the program while it waits (Ctrl-C)
// gives the terminal its echo back first.
bool PromptPassword(const char* prompt, std::optional<SecureBytes>& password);

// One secret line: from `in` when fromStdin, else prompted for on the terminal. False, with a message on
// `err`, when there is no terminal or the line is not valid UTF-8.
bool ReadSecret(const std::string& prompt, bool fromStdin, std::istream& in, SecureBytes& secret,
                std::ostream& err);
