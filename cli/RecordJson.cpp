#include "cli/RecordJson.h"

#include <chrono>
#include <cstdio>

#include "model/FieldType.h"
#include "platform/Utf16.h"

namespace {

constexpr uint32_t kDateType = 6;
constexpr uint32_t kTimeType = 7;

bool IsTimeType(uint32_t type) {
    return type == kDateType || type == kTimeType;
}

std::string Hex(const SecureBytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool FromHex(const std::string& text, SecureBytes& out) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (text.size() % 2) return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = nibble(text[i]), lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return true;
}

bool ValueFromJson(const nlohmann::json& value, ItemField& field, std::string& error) {
    if (value.is_null()) {
        field.value.clear();
    } else if (value.is_string()) {
        std::optional<SYSTEMTIME> time;
        if (IsTimeType(field.type)) time = ParseTime(value.get<std::string>());
        if (time) {
            field.value.resize(16);
            StoreTime(*time, field.value.data());
        } else {
            SetFieldText(field, Utf8ToUtf16Lossy(value.get<std::string>()));
        }
    } else if (value.is_object() && value.contains("hex") && value["hex"].is_string()) {
        if (!FromHex(value["hex"].get<std::string>(), field.value)) {
            error = "a \"hex\" value must hold an even number of hexadecimal digits";
            return false;
        }
    } else {
        error = "a field value must be null, a string or {\"hex\": \"...\"}";
        return false;
    }
    return true;
}

bool FieldFromJson(const nlohmann::json& json, ItemField& field, std::string& error) {
    if (!json.is_object() || !json.contains("type") || !json["type"].is_number_unsigned() ||
        !json.contains("name") || !json["name"].is_string()) {
        error = "each field needs a numeric \"type\" and a string \"name\"";
        return false;
    }
    field.type = json["type"].get<uint32_t>();
    std::u16string name = Utf8ToUtf16Lossy(json["name"].get<std::string>());
    if (name.size() >= ItemField::kNameUnits) {
        error = "a field name holds at most 63 UTF-16 units";
        return false;
    }
    field.SetName(name);
    return ValueFromJson(json.contains("value") ? json["value"] : nlohmann::json(), field, error);
}

bool NumberMember(const nlohmann::json& json, const char* key, uint32_t& out, std::string& error) {
    if (!json.contains(key)) return true;
    if (!json[key].is_number_unsigned() || json[key].get<uint64_t>() > UINT32_MAX) {
        error = std::string("\"") + key + "\" must be a number from 0 to 4294967295";
        return false;
    }
    out = json[key].get<uint32_t>();
    return true;
}

bool TimeMember(const nlohmann::json& json, const char* key, SYSTEMTIME& out, std::string& error) {
    if (!json.contains(key)) return true;
    std::optional<SYSTEMTIME> time;
    if (json[key].is_string()) time = ParseTime(json[key].get<std::string>());
    if (!time) {
        error = std::string("\"") + key + "\" must be a time \"YYYY-MM-DD HH:MM:SS.mmm\"";
        return false;
    }
    out = *time;
    return true;
}

}  // namespace

std::string FormatTime(const SYSTEMTIME& t) {
    char text[48];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

std::optional<SYSTEMTIME> ParseTime(const std::string& text) {
    unsigned year, month, day, hour, minute, second, ms;
    char tail;
    if (text.size() != 23 || sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u.%3u%c", &year, &month, &day, &hour,
                                    &minute, &second, &ms, &tail) != 7)
        return std::nullopt;
    std::chrono::year_month_day date{std::chrono::year(static_cast<int>(year)), std::chrono::month(month),
                                     std::chrono::day(day)};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    SYSTEMTIME t{};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    t.wDayOfWeek = DayOfWeek(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    t.wHour = static_cast<uint16_t>(hour);
    t.wMinute = static_cast<uint16_t>(minute);
    t.wSecond = static_cast<uint16_t>(second);
    t.wMilliseconds = static_cast<uint16_t>(ms);
    return t;
}

OrderedJson FieldValueToJson(const ItemField& field) {
    if (field.length() == 0) return nullptr;
    if (IsTimeType(field.type) && field.length() == 16) return FormatTime(LoadTime(field.value.data()));
    if (field.length() % 2 == 0) return Utf16ToUtf8Lossy(FieldText(field));
    return OrderedJson{{"hex", Hex(field.value)}};
}

OrderedJson ItemToJson(const CTesseraItem& item) {
    OrderedJson json;
    json["icon"] = item.icon;
    json["categoryId"] = item.categoryId;
    json["draft"] = item.draft;
    json["created"] = FormatTime(item.created);
    json["modified"] = FormatTime(item.modified);
    json["fields"] = OrderedJson::array();
    for (auto* node = item.fields.head; node; node = node->next) {
        const ItemField& field = node->element;
        json["fields"].push_back({{"type", field.type},
                                  {"name", Utf16ToUtf8Lossy(field.Name())},
                                  {"value", FieldValueToJson(field)}});
    }
    return json;
}

bool ItemFromJson(const nlohmann::json& json, CTesseraItem& item, std::string& error) {
    if (!json.is_object()) {
        error = "the record must be a JSON object";
        return false;
    }
    if (!NumberMember(json, "icon", item.icon, error) ||
        !NumberMember(json, "categoryId", item.categoryId, error) ||
        !NumberMember(json, "draft", item.draft, error) ||
        !TimeMember(json, "created", item.created, error) ||
        !TimeMember(json, "modified", item.modified, error))
        return false;
    item.fields.RemoveAll();
    if (!json.contains("fields")) return true;
    if (!json["fields"].is_array()) {
        error = "\"fields\" must be an array";
        return false;
    }
    for (const auto& entry : json["fields"]) {
        ItemField field;
        if (!FieldFromJson(entry, field, error)) return false;
        item.fields.AddTail(std::move(field));
    }
    return true;
}
