#pragma once
// A demo phone made by `tessera-phone init`, for tests that reach a phone.
#include <filesystem>

// Makes the phone in `dir`; false when the phone program fails.
bool MakePhone(const std::filesystem::path& dir);
// Starts or closes the wallet application on the phone.
bool SetPhoneAppRunning(const std::filesystem::path& dir, bool running);
// Adds that many generated cards to the wallet of a phone made by MakePhone.
bool AddCards(const std::filesystem::path& dir, int count);
