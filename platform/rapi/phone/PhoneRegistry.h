#pragma once
// The phone's registry, kept as a JSON file that maps full key paths to their values:
//
//   {"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera": {
//        "InstallPath": {"type": "sz", "value": "\\Program Files\\Tessera"},
//        "Version": {"type": "dword", "value": 3}}}
//
// Key paths and value names compare case-insensitively; a key exists when it is listed or a listed key
// lies below it. The phone's own tools load the file, change string values or remove keys, and save it
// whole; the desktop's calls (OpenKey, Query) read the file afresh each time, so such changes show at once.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rapi/api/Rapi.h"

class PhoneRegistry {
public:
    // An empty path is a phone without a registry: no key exists.
    explicit PhoneRegistry(std::filesystem::path file) : file(std::move(file)) {}

    // A missing file loads as an empty registry; false for one too large, unreadable or malformed.
    bool Load(std::string& error);
    // Writes the whole file beside the old one, then renames it over it.
    bool Save(std::string& error) const;

    // A REG_SZ value; the key is made when it is missing.
    void SetString(std::string_view key, std::string_view name, std::string_view value);
    // The text of a REG_SZ value, or nothing when the key or value is missing or of another type.
    std::optional<std::string> GetString(std::string_view key, std::string_view name) const;
    void RemoveKey(std::string_view key);
    const nlohmann::json& Values() const { return values; }

    // As CeRegOpenKeyEx and CeRegQueryValueEx: ERROR_SUCCESS or the platform error, ERROR_BADDB when the
    // file does not load. data may be null to ask for the size; dataSize is null only when data is.
    DWORD OpenKey(std::u16string_view key) const;
    DWORD Query(std::u16string_view key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                DWORD* dataSize) const;

private:
    std::filesystem::path file;
    nlohmann::json values = nlohmann::json::object();
};
