#pragma once
// The host's 32-byte options record on disk, read and written the same way by the host and its
// plug-ins. Every open takes the file without sharing (an exclusive lock) and is tried twice with a
// 200 ms pause, as the other side may hold it for a moment; a record is taken only when its first 32
// bytes are there.
#include <array>
#include <cstdint>
#include <filesystem>

// The record as eight 32-bit words; the contract's HostOptionsRecord is this same type.
using OptionsFileRecord = std::array<uint32_t, 8>;

// Reads the first 32 bytes into destination (left untouched when the file is shorter). A missing
// file in an existing folder is created empty. error, when given, receives the last open's errno.
bool ReadOptionsFile(const std::filesystem::path& path, OptionsFileRecord& destination, int* error = nullptr);
// Writes all 32 bytes at the start of the file, creating it when missing.
bool WriteOptionsFile(const std::filesystem::path& path, const OptionsFileRecord& source);
