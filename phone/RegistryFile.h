#pragma once
// The phone's registry file as the phone itself changes it (layout in platform/rapi/phone/PhoneRegistry.h):
// string values are set and keys removed, and the whole file is written back. Key paths and value
// names compare case-insensitively, as the desktop reads them.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

class RegistryFile {
public:
    explicit RegistryFile(std::filesystem::path file) : file(std::move(file)) {}

    // A missing file reads as an empty registry; false for an unreadable or malformed one.
    bool Load(std::string& error);
    bool Save(std::string& error) const;

    // A REG_SZ value; the key is made when it is missing.
    void SetString(std::string_view key, std::string_view name, std::string_view value);
    // The text of a REG_SZ value, or nothing when the key or value is missing or of another type.
    std::optional<std::string> GetString(std::string_view key, std::string_view name) const;
    void RemoveKey(std::string_view key);

    const nlohmann::json& Values() const { return values; }

private:
    std::filesystem::path file;
    nlohmann::json values = nlohmann::json::object();
};
