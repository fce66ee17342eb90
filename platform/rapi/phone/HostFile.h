#pragma once
// Files of the phone folder written from the host side: the phone application's new files, and the
// small JSON files beside the phone's file system.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Creates the file (mode 0600) and writes the bytes; refuses to replace an existing file. A file that
// cannot be written whole is removed again. On failure `error` says why (without the
// file's name).
bool WriteNewFile(const std::filesystem::path& file, const uint8_t* data, size_t size, std::string& error);

// Replaces the file's content with `text`: written beside it first, then renamed over it.
bool ReplaceFile(const std::filesystem::path& file, std::string_view text, std::string& error);
