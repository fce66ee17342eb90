#include "model/WalletJson.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <utility>

#include "model/CardExport.h"
#include "model/Data.h"
#include "model/FieldType.h"
#include "model/IsoTime.h"
#include "model/ItemChanges.h"
#include "platform/Utf16.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormatName = "tessera-wallet";
constexpr const char* kTypeNames[] = {"text", "number", "phone", "password", "url", "email", "date", "time"};
constexpr uint32_t kTypeCount = std::size(kTypeNames);

// Strings of a parsed or built document may hold passwords: zeroed before the document is freed.
void Wipe(Json& json) {
    if (json.is_string()) {
        std::string& text = json.get_ref<std::string&>();
        SecureZero(text.data(), text.size());
    } else if (json.is_structured()) {  // iterating a plain value visits the value itself
        for (Json& child : json) Wipe(child);
    }
}

struct WipedJson {
    WipedJson() = default;
    explicit WipedJson(Json parsed) : json(std::move(parsed)) {}
    WipedJson(const WipedJson&) = delete;
    WipedJson& operator=(const WipedJson&) = delete;
    ~WipedJson() { Wipe(json); }

    Json json;
};

Json TimeJson(const SYSTEMTIME& time) {
    std::string text = FormatIsoTime(time);
    return text.empty() ? Json() : Json(text);
}

Json FieldJson(const ItemField& field) {
    Json value;
    if (field.length() != 0)
        value =
            IsTimeField(field.type) ? TimeJson(FieldTime(field)) : Json(Utf16ToUtf8Lossy(FieldText(field)));
    Json type = field.type < kTypeCount ? Json(kTypeNames[field.type]) : Json(field.type);
    return Json{{"name", Utf16ToUtf8Lossy(field.Name())}, {"type", type}, {"value", value}};
}

Json CardJson(const CData& data, const CTesseraItem& card) {
    std::u16string category = CategoryName(data, static_cast<int32_t>(card.categoryId));
    Json fields = Json::array();
    for (auto* node = card.fields.head; node; node = node->next) fields.push_back(FieldJson(node->element));
    return Json{{"icon", card.icon},
                {"category", category.empty() ? Json() : Json(Utf16ToUtf8Lossy(category))},
                {"draft", card.draft},
                {"created", TimeJson(card.created)},
                {"modified", TimeJson(card.modified)},
                {"fields", std::move(fields)}};
}

// Reading one card: each step false with `error` set.
struct CardReader {
    std::string error;

    bool Fail(std::string why) {
        error = std::move(why);
        return false;
    }

    bool Number(const Json& json, const char* key, uint32_t& out) {
        if (!json.contains(key)) return true;
        if (!json[key].is_number_unsigned() || json[key].get<uint64_t>() > UINT32_MAX)
            return Fail(std::string("\"") + key + "\" is not a number from 0 to 4294967295");
        out = json[key].get<uint32_t>();
        return true;
    }

    bool Time(const Json& json, const char* key, SYSTEMTIME& out) {
        if (!json.contains(key) || json[key].is_null()) return true;
        std::optional<SYSTEMTIME> time;
        if (json[key].is_string()) time = ParseIsoTime(json[key].get<std::string>());
        if (!time) return Fail(std::string("\"") + key + "\" is not an ISO 8601 time");
        out = *time;
        return true;
    }

    bool Type(const Json& json, uint32_t& type) {
        if (json.is_number_unsigned() && json.get<uint64_t>() <= UINT32_MAX) {
            type = json.get<uint32_t>();
            return true;
        }
        for (uint32_t code = 0; code < kTypeCount; ++code) {
            if (json.is_string() && json.get<std::string>() == kTypeNames[code]) {
                type = code;
                return true;
            }
        }
        return Fail("a field's \"type\" is not one of the documented types");
    }

    bool Value(const Json& json, ItemField& field) {
        if (json.is_null()) return true;
        if (!json.is_string()) return Fail("a field's \"value\" is neither a string nor null");
        if (!IsTimeField(field.type)) {
            SetFieldText(field, Utf8ToUtf16Lossy(json.get<std::string>()));
            return true;
        }
        std::optional<SYSTEMTIME> time = ParseIsoTime(json.get<std::string>());
        if (!time) return Fail("a DATE or TIME value is not an ISO 8601 time");
        field.value.resize(16);
        StoreTime(*time, field.value.data());
        return true;
    }

    bool Field(const Json& json, CTesseraItem& card) {
        if (!json.is_object() || !json.contains("name") || !json["name"].is_string())
            return Fail("a field has no \"name\"");
        std::u16string name = Utf8ToUtf16Lossy(json["name"].get<std::string>());
        if (name.size() >= ItemField::kNameUnits) return Fail("a field name is longer than 63 characters");
        card.fields.AddTail(ItemField{});
        ItemField& field = card.fields.tail->element;
        field.SetName(name);
        return Type(json.contains("type") ? json["type"] : Json("text"), field.type) &&
               Value(json.contains("value") ? json["value"] : Json(), field);
    }

    bool Card(const Json& json, ImportedCard& imported) {
        if (!json.is_object() || !json.contains("fields") || !json["fields"].is_array())
            return Fail("it is not an object with a \"fields\" array");
        CTesseraItem& card = *imported.card;
        if (json.contains("draft") && json["draft"].is_boolean())
            card.draft = json["draft"].get<bool>() ? 1 : 0;
        else if (!Number(json, "draft", card.draft))
            return false;
        if (!Number(json, "icon", card.icon) || !Time(json, "created", card.created) ||
            !Time(json, "modified", card.modified))
            return false;
        if (json.contains("category") && json["category"].is_string())
            imported.category = FitFieldName(Utf8ToUtf16Lossy(json["category"].get<std::string>()));
        for (const Json& field : json["fields"])
            if (!Field(field, card)) return false;
        return true;
    }
};

}  // namespace

SecureBytes WalletToJson(CData& data, size_t& written, size_t& unreadable) {
    WipedJson document;
    Json& json = document.json;
    json = Json{{"format", kFormatName}, {"version", kWalletJsonVersion}, {"categories", Json::array()}};
    for (const category_struct& category : data.categories)
        json["categories"].push_back({{"name", Utf16ToUtf8Lossy(category.name)}, {"icon", category.icon}});
    Json& cards = json["cards"] = Json::array();
    unreadable = ForEachCard(*data.WalletStore(),
                             [&](const CTesseraItem& card) { cards.push_back(CardJson(data, card)); });
    written = cards.size();
    std::string text = json.dump(2) + "\n";
    SecureBytes out(text.begin(), text.end());
    SecureZero(text.data(), text.size());
    return out;
}

namespace {

bool ReadDocument(const std::shared_ptr<WipedJson>& document, ImportPlan& plan, std::string& error) {
    const Json& json = document->json;
    if (!json.is_object() || json.value("format", Json()) != kFormatName || !json.contains("cards") ||
        !json["cards"].is_array()) {
        error = "it is not a Tessera wallet JSON document";
        return false;
    }
    if (!json.contains("version") || !json["version"].is_number_integer() ||
        json["version"].get<int64_t>() != kWalletJsonVersion) {
        error = "it holds a version of the format other than " + std::to_string(kWalletJsonVersion);
        return false;
    }
    if (json.contains("categories") && json["categories"].is_array()) {
        for (const Json& category : json["categories"]) {
            if (!category.is_object() || !category.contains("name") || !category["name"].is_string())
                continue;
            uint32_t icon = 0;
            CardReader().Number(category, "icon", icon);
            plan.categoryIcons.emplace_back(
                FitFieldName(Utf8ToUtf16Lossy(category["name"].get<std::string>())), icon & 0xFFFF);
        }
    }
    plan.problemUnit = "card";
    // Each card is read here to be checked, and again when it is wanted: a plan of thousands holds the
    // document, not their records.
    auto entries = std::make_shared<std::vector<const Json*>>();
    int number = 0;
    for (const Json& entry : json["cards"]) {
        ++number;
        ImportedCard imported{std::make_unique<CTesseraItem>(), {}};
        CardReader reader;
        if (!reader.Card(entry, imported)) {
            plan.skipped.push_back({number, reader.error});
            continue;
        }
        entries->push_back(&entry);
        plan.cards.push_back({nullptr, std::move(imported.category)});
    }
    plan.make = [document, entries](size_t i) {
        ImportedCard imported{std::make_unique<CTesseraItem>(), {}};
        CardReader().Card(*(*entries)[i], imported);
        return std::move(imported.card);
    };
    return true;
}

}  // namespace

bool JsonImportPlan(std::string_view text, ImportPlan& plan, std::string& error) {
    auto document = std::make_shared<WipedJson>(Json::parse(text, nullptr, false));
    try {
        return ReadDocument(document, plan, error);
    } catch (const std::exception& e) {  // a member of an unexpected type
        error = std::string("it does not fit the documented form: ") + e.what();
        return false;
    }
}
