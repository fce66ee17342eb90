#pragma once
// Reading the wallet password: from the terminal without echo, or as one line of standard input.

#include "store/PasswordBytes.h"

// Prompts on the terminal and reads without echo; false when there is no terminal.
bool PromptPassword(const char* prompt, SecureBytes& password);
