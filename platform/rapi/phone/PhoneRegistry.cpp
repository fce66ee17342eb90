#include "platform/rapi/phone/PhoneRegistry.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/Utf16.h"
#include "platform/rapi/phone/HostFile.h"
#include "platform/rapi/phone/PhonePath.h"
#include "platform/rapi/wire/UniqueFd.h"

namespace {

using nlohmann::json;

constexpr off_t kMaxRegistrySize = 1 << 20;  // a phone's registry file holds a few kilobytes

// The member spelt like `name` but for case, or end().
template <typename Json>
auto FindMember(Json& object, std::u16string_view name) {
    auto it = object.begin();
    while (it != object.end() && !SameName(Utf8ToUtf16Lossy(it.key()), name)) ++it;
    return it;
}

template <typename Json>
auto FindMember(Json& object, std::string_view name) {
    return FindMember(object, std::u16string_view(Utf8ToUtf16Lossy(name)));
}

void AppendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The value's type and its bytes as the phone stores them; false when the entry is malformed.
bool Encode(const json& value, DWORD* type, std::vector<uint8_t>* bytes) {
    if (!value.is_object() || !value.contains("type") || !value.contains("value")) return false;
    const json& kind = value["type"];
    const json& data = value["value"];
    if (kind == "sz" && data.is_string()) {
        std::optional<std::u16string> text = Utf8ToUtf16(data.get_ref<const std::string&>());
        if (!text) return false;
        for (char16_t c : *text) AppendLittleEndian(*bytes, c, 2);
        AppendLittleEndian(*bytes, 0, 2);
        *type = REG_SZ;
        return true;
    }
    if (kind == "dword" && data.is_number_unsigned() && data.get<uint64_t>() <= UINT32_MAX) {
        AppendLittleEndian(*bytes, static_cast<uint32_t>(data.get<uint64_t>()), 4);
        *type = REG_DWORD;
        return true;
    }
    return false;
}

}  // namespace

bool PhoneRegistry::Load(std::string& error) {
    values = json::object();
    if (file.empty()) return true;
    std::string text;
    if (int failure = ReadSmallFile(file.c_str(), kMaxRegistrySize, &text)) {
        if (failure == ENOENT) return true;
        error = file.string() + ": not a registry file";
        return false;
    }
    json loaded = json::parse(text, nullptr, false);
    if (!loaded.is_object()) {
        error = file.string() + ": malformed registry";
        return false;
    }
    values = std::move(loaded);
    return true;
}

bool PhoneRegistry::Save(std::string& error) const {
    if (ReplaceFile(file, values.dump(2) + "\n", error)) return true;
    error = file.string() + ": " + error;
    return false;
}

void PhoneRegistry::SetString(std::string_view key, std::string_view name, std::string_view value) {
    auto keyIt = FindMember(values, key);
    if (keyIt == values.end()) keyIt = values.emplace(std::string(key), json::object()).first;
    if (!keyIt->is_object()) *keyIt = json::object();
    auto valueIt = FindMember(*keyIt, name);
    if (valueIt == keyIt->end()) valueIt = keyIt->emplace(std::string(name), nullptr).first;
    *valueIt = {{"type", "sz"}, {"value", std::string(value)}};
}

std::optional<std::string> PhoneRegistry::GetString(std::string_view key, std::string_view name) const {
    auto keyIt = FindMember(values, key);
    if (keyIt == values.end() || !keyIt->is_object()) return std::nullopt;
    auto valueIt = FindMember(*keyIt, name);
    if (valueIt == keyIt->end() || !valueIt->is_object() || valueIt->value("type", "") != "sz")
        return std::nullopt;
    auto text = valueIt->find("value");
    if (text == valueIt->end() || !text->is_string()) return std::nullopt;
    return text->template get<std::string>();
}

void PhoneRegistry::RemoveKey(std::string_view key) {
    auto keyIt = FindMember(values, key);
    if (keyIt != values.end()) values.erase(keyIt);
}

DWORD PhoneRegistry::OpenKey(std::u16string_view key) const {
    PhoneRegistry current(file);
    std::string error;
    if (!current.Load(error)) return ERROR_BADDB;
    std::u16string wanted = FoldedName(key);
    std::u16string below = wanted + u'\\';
    for (const auto& item : current.values.items()) {
        std::u16string folded = FoldedName(Utf8ToUtf16Lossy(item.key()));
        if (folded == wanted || folded.starts_with(below)) return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD PhoneRegistry::Query(std::u16string_view key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                           DWORD* dataSize) const {
    PhoneRegistry current(file);
    std::string error;
    if (!current.Load(error)) return ERROR_BADDB;
    const json& registry = current.values;
    auto keyValues = FindMember(registry, key);
    if (keyValues == registry.end() || !keyValues->is_object()) return ERROR_FILE_NOT_FOUND;
    auto value = FindMember(*keyValues, valueName);
    if (value == keyValues->end()) return ERROR_FILE_NOT_FOUND;
    DWORD valueType = 0;
    std::vector<uint8_t> bytes;
    if (!Encode(*value, &valueType, &bytes)) return ERROR_BADDB;
    if (type) *type = valueType;
    if (!dataSize) return ERROR_SUCCESS;
    DWORD capacity = *dataSize;
    *dataSize = static_cast<DWORD>(bytes.size());
    if (!data) return ERROR_SUCCESS;
    if (capacity < bytes.size()) return ERROR_MORE_DATA;
    std::copy(bytes.begin(), bytes.end(), data);
    return ERROR_SUCCESS;
}
