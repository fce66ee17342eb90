#include "phone/RegistryFile.h"

#include <fstream>

#include "phone/HostFile.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/PhonePath.h"

namespace {

using nlohmann::json;

constexpr std::uintmax_t kMaxRegistrySize = 1 << 20;

// The member spelt like `name` but for case, or end().
template <typename Json>
auto FindMember(Json& object, std::string_view name) {
    std::u16string wanted = Utf8ToUtf16Lossy(name);
    auto it = object.begin();
    while (it != object.end() && !SameName(Utf8ToUtf16Lossy(it.key()), wanted)) ++it;
    return it;
}

}  // namespace

bool RegistryFile::Load(std::string& error) {
    values = json::object();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return true;
    if (std::filesystem::file_size(file, ec) > kMaxRegistrySize || ec) {
        error = file.string() + ": not a registry file";
        return false;
    }
    std::ifstream in(file);
    json loaded = json::parse(in, nullptr, false);
    if (!loaded.is_object()) {
        error = file.string() + ": malformed registry";
        return false;
    }
    values = std::move(loaded);
    return true;
}

bool RegistryFile::Save(std::string& error) const {
    if (ReplaceFile(file, values.dump(2) + "\n", error)) return true;
    error = file.string() + ": " + error;
    return false;
}

void RegistryFile::SetString(std::string_view key, std::string_view name, std::string_view value) {
    auto keyIt = FindMember(values, key);
    if (keyIt == values.end()) keyIt = values.emplace(std::string(key), json::object()).first;
    if (!keyIt->is_object()) *keyIt = json::object();
    auto valueIt = FindMember(*keyIt, name);
    if (valueIt == keyIt->end()) valueIt = keyIt->emplace(std::string(name), nullptr).first;
    *valueIt = {{"type", "sz"}, {"value", std::string(value)}};
}

std::optional<std::string> RegistryFile::GetString(std::string_view key, std::string_view name) const {
    auto keyIt = FindMember(values, key);
    if (keyIt == values.end() || !keyIt->is_object()) return std::nullopt;
    auto valueIt = FindMember(*keyIt, name);
    if (valueIt == keyIt->end() || !valueIt->is_object() || valueIt->value("type", "") != "sz")
        return std::nullopt;
    auto text = valueIt->find("value");
    if (text == valueIt->end() || !text->is_string()) return std::nullopt;
    return text->template get<std::string>();
}

void RegistryFile::RemoveKey(std::string_view key) {
    auto keyIt = FindMember(values, key);
    if (keyIt != values.end()) values.erase(keyIt);
}
