#pragma once
// The host's 32-byte options record on disk, read and written the same way by the host and its
// plug-ins. Every open takes the file without sharing (an exclusive lock) and is tried twice with a
// 200 ms pause, as the other side may hold it for a moment; a record is taken only when its first 32
// bytes are there.
#include <filesystem>

#include "plugin-api/PluginApi.h"

// Reads the first 32 bytes into destination (left untouched when the file is shorter). A missing
// file in an existing folder is created empty. error, when given, receives the last open's errno.
bool ReadOptionsFile(const std::filesystem::path& path, HostOptionsRecord& destination, int* error = nullptr);
// Writes all 32 bytes at the start of the file, creating it when missing.
bool WriteOptionsFile(const std::filesystem::path& path, const HostOptionsRecord& source);
