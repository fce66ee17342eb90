#include "platform/rapi/phone/PhoneRegistry.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "platform/Utf16.h"
#include "platform/rapi/phone/PhonePath.h"
#include "platform/rapi/wire/UniqueFd.h"

namespace {

using nlohmann::json;

constexpr off_t kMaxRegistrySize = 1 << 20;  // a phone's registry file holds a few kilobytes

DWORD Load(const std::filesystem::path& file, json* out) {
    if (file.empty()) return ERROR_FILE_NOT_FOUND;
    std::string text;
    if (int error = ReadSmallFile(file.c_str(), kMaxRegistrySize, &text))
        return error == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_BADDB;
    *out = json::parse(text, nullptr, false);
    return out->is_object() ? ERROR_SUCCESS : ERROR_BADDB;
}

const json* Member(const json& object, std::u16string_view name) {
    for (const auto& [key, value] : object.items()) {
        std::optional<std::u16string> key16 = Utf8ToUtf16(key);
        if (key16 && SameName(*key16, name)) return &value;
    }
    return nullptr;
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

DWORD PhoneRegistry::OpenKey(std::u16string_view key) const {
    json registry;
    if (DWORD error = Load(file, &registry)) return error;
    std::u16string wanted = FoldedName(key);
    std::u16string below = wanted + u'\\';
    for (const auto& item : registry.items()) {
        std::optional<std::u16string> listed = Utf8ToUtf16(item.key());
        if (!listed) continue;
        std::u16string folded = FoldedName(*listed);
        if (folded == wanted || folded.starts_with(below)) return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD PhoneRegistry::Query(std::u16string_view key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                           DWORD* dataSize) const {
    json registry;
    if (DWORD error = Load(file, &registry)) return error;
    const json* values = Member(registry, key);
    const json* value = values && values->is_object() ? Member(*values, valueName) : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;
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
