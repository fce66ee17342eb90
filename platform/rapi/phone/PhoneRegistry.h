#pragma once
// The phone's registry, kept as a JSON file that maps full key paths to their values:
//
//   {"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera": {
//        "InstallPath": {"type": "sz", "value": "\\Program Files\\Tessera"},
//        "Version": {"type": "dword", "value": 3}}}
//
// Key paths and value names compare case-insensitively; a key exists when it is listed or a listed key
// lies below it. The file is read on every call, so changes made by the phone's own tools show at
// once. Calls return ERROR_SUCCESS or the platform error; ERROR_BADDB when the file is malformed.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/rapi/api/Rapi.h"

class PhoneRegistry {
public:
    // An empty path is a phone without a registry: no key exists.
    explicit PhoneRegistry(std::filesystem::path file) : file(std::move(file)) {}

    DWORD OpenKey(std::u16string_view key) const;
    // As CeRegQueryValueEx: data may be null to ask for the size; dataSize is null only when data is.
    DWORD Query(std::u16string_view key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                DWORD* dataSize) const;

private:
    std::filesystem::path file;
};
