#pragma once
// The phone application's side of a store file: creating a new, empty one. The desktop never does
// this; the phone stand-in, the demo and the tests do.

#include <cstdint>
#include <filesystem>
#include <string>

#include "store/StoreFormat.h"

enum class StoreKind : uint32_t { Wallet = kWalletFileType, Templates = kTemplatesFileType };

// Writes a store file with the header (signature, type, version 1.0.0.0, time, checksum) and a
// password section for the given password bytes, and no records. Refuses to replace an existing
// file. On failure `error` says why.
bool CreateStoreFile(const std::filesystem::path& file, StoreKind kind, const uint8_t* password,
                     size_t passwordLength, std::string& error);
