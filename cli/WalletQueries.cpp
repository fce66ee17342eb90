#include "cli/WalletQueries.h"

#include <iomanip>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/WalletSession.h"
#include "model/CardExport.h"
#include "model/FieldType.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"

namespace {

using Json = nlohmann::ordered_json;

const std::map<std::string, CardSortKey> kSortKeys = {{"name", CardSortKey::Name},
                                                      {"category", CardSortKey::Category},
                                                      {"created", CardSortKey::Created},
                                                      {"modified", CardSortKey::Modified}};

std::string Text(const std::u16string& text) {
    return Utf16ToUtf8Lossy(text);
}

std::string CategoryName(CData& data, int32_t id) {
    for (const category_struct& category : data.categories)
        if (category.id == id) return Text(category.name);
    return {};
}

Json RowJson(CData& data, const card_info_struct& row) {
    return Json{{"id", static_cast<uint32_t>(row.id)},
                {"name", Text(row.name)},
                {"category", row.category},
                {"categoryName", CategoryName(data, row.category)},
                {"icon", row.icon},
                {"created", FormatLocalDateTime(row.created)},
                {"modified", FormatLocalDateTime(row.modified)}};
}

void PrintRows(CData& data, const std::vector<card_info_struct>& rows, int count, bool json,
               std::ostream& out) {
    if (json) {
        Json list = Json::array();
        for (int i = 0; i < count; ++i) list.push_back(RowJson(data, rows[i]));
        out << list.dump(2) << "\n";
        return;
    }
    for (int i = 0; i < count; ++i) {
        const card_info_struct& row = rows[i];
        out << std::setw(6) << static_cast<uint32_t>(row.id) << "  " << std::left << std::setw(32)
            << Text(row.name) << std::setw(16) << CategoryName(data, row.category)
            << FormatLocalDateTime(row.modified) << std::right << "\n";
    }
}

// The value as a person reads it: local dates and times, masked passwords unless revealed.
std::string ShownValue(const ItemField& field, bool reveal) {
    if (field.length() == 0) return {};
    if (field.type == kFieldDate) return FormatLocalDate(FieldTime(field));
    if (field.type == kFieldTime) return FormatLocalTimeOfDay(FieldTime(field));
    std::string text = Text(FieldText(field));
    if (field.type == kFieldPassword && !reveal) return std::string(8, '*');
    return text;
}

}  // namespace

int ListCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    auto key = kSortKeys.find(options.sort);
    if (key == kSortKeys.end()) {
        err << "tessera: --sort takes name, category, created or modified\n";
        return kExitFailed;
    }
    return RunOnWallet(options.phone, in, err, false, [&](CData& data) -> int {
        data.SetFind(!options.find.empty(), Utf8ToUtf16Lossy(options.find));
        int count = data.ArrangeCards(options.categoryFilter.value_or(kAllCategories), key->second,
                                      !options.descending);
        PrintRows(data, data.cards, count, options.json, out);
        return kExitOk;
    });
}

int ShowCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunOnWallet(options.phone, in, err, false, [&](CData& data) -> int {
        std::unique_ptr<CTesseraItem> card = data.ReadCardRecord(options.id);
        if (!card) {
            err << "tessera: no card with id " << options.id << "\n";
            return kExitFailed;
        }
        Json fields = Json::array();
        for (auto* node = card->fields.head; node; node = node->next) {
            const ItemField& field = node->element;
            fields.push_back({{"name", Text(field.Name())},
                              {"type", Text(std::u16string(FieldTypeName(field.type)))},
                              {"value", ShownValue(field, options.reveal)}});
        }
        Json json{{"id", options.id},
                  {"category", card->categoryId},
                  {"categoryName", CategoryName(data, static_cast<int32_t>(card->categoryId))},
                  {"icon", card->icon},
                  {"draft", card->draft != 0},
                  {"created", FormatLocalDateTime(card->created)},
                  {"modified", FormatLocalDateTime(card->modified)},
                  {"fields", fields}};
        if (options.json) {
            out << json.dump(2) << "\n";
            return kExitOk;
        }
        for (const char* key : {"id", "categoryName", "icon", "draft", "created", "modified"}) {
            const Json& value = json[key];
            out << std::left << std::setw(14) << (std::string(key) + ":")
                << (value.is_string() ? value.get<std::string>() : value.dump()) << "\n";
        }
        for (const Json& field : fields)
            out << "  " << std::setw(20) << field["name"].get<std::string>() << std::setw(14)
                << field["type"].get<std::string>() << field["value"].get<std::string>() << "\n";
        return kExitOk;
    });
}

int ListTemplates(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    return RunOnWallet(options.phone, in, err, false, [&](CData& data) -> int {
        PrintRows(data, data.templates, data.templateCount(), options.json, out);
        return kExitOk;
    });
}

int ListCategories(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    return RunOnWallet(options.phone, in, err, false, [&](CData& data) -> int {
        Json list = Json::array();
        for (const category_struct& category : data.categories) {
            if (options.json) {
                list.push_back({{"id", category.id}, {"name", Text(category.name)}, {"icon", category.icon}});
            } else {
                out << std::setw(6) << category.id << "  " << Text(category.name) << "\n";
            }
        }
        if (options.json) out << list.dump(2) << "\n";
        return kExitOk;
    });
}

int ExportWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    static const std::map<std::string, ExportFormat> kFormats = {{"", ExportFormat::Text},
                                                                 {"text", ExportFormat::Text},
                                                                 {"csv", ExportFormat::Csv},
                                                                 {"json", ExportFormat::Json}};
    return RunOnWallet(options.phone, in, err, false, [&](CData& data) -> int {
        std::string error;
        ExportCount count;
        if (!ExportWallet(data, kFormats.at(options.format), options.file, count, error)) {
            err << "tessera: cannot export to " << options.file << ": " << error << "\n";
            return kExitFailed;
        }
        err << "tessera: warning: " << options.file
            << " holds every card's fields, passwords included, in plain text. Keep it safe and delete it "
               "when done.\n";
        if (count.unreadable) err << "tessera: " << count.unreadable << " cards could not be read\n";
        out << count.written << " cards exported to " << options.file << "\n";
        return count.unreadable ? kExitFailed : kExitOk;
    });
}
