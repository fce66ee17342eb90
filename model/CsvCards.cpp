#include "model/CsvCards.h"

#include <algorithm>
#include <array>
#include <map>

#include "model/CardExport.h"
#include "model/Data.h"
#include "model/FieldType.h"
#include "model/IsoTime.h"
#include "model/ItemChanges.h"
#include "platform/Utf16.h"

namespace {

constexpr uint32_t kNoTemplate = 0xFFFFFFFF;

// Lower case, without spaces, underscores, hyphens and dots: "Login URI" and "login_uri" read alike.
std::string Normalized(std::string_view header) {
    std::string out;
    for (char c : header) {
        if (c == ' ' || c == '_' || c == '-' || c == '.') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

std::u16string Normalized(std::u16string_view name) {
    return Utf8ToUtf16Lossy(Normalized(Utf16ToUtf8Lossy(name)));
}

struct RoleNames {
    CsvColumn role;
    std::array<std::string_view, 6> names;
};

// The headers that browsers' and password managers' exports write, normalized.
constexpr RoleNames kRoles[] = {
    {CsvColumn::Title, {"title", "name", "account", "itemname"}},
    {CsvColumn::User, {"username", "login", "user", "loginusername", "email", "emailaddress"}},
    {CsvColumn::Password, {"password", "loginpassword", "pass"}},
    {CsvColumn::Url, {"url", "uri", "loginuri", "website", "webaddress", "address"}},
    {CsvColumn::Notes, {"notes", "note", "comments", "comment", "extra"}},
    {CsvColumn::Group, {"group", "folder", "category", "tags", "grouping", "path"}},
    {CsvColumn::Created, {"created", "timecreated", "creationtime", "createdat", "datecreated"}},
    {CsvColumn::Modified, {"modified", "lastmodified", "lastmodificationtime", "modifiedat", "updatedat"}},
};

bool LooksLikeEmail(std::string_view text) {
    size_t at = text.find('@');
    return at != 0 && at != text.npos && text.find('.', at) != text.npos && text.find(' ') == text.npos;
}

// "https://user@www.example.org:8080/x" gives "www.example.org".
std::string UrlHost(std::string_view url) {
    if (size_t scheme = url.find("://"); scheme != url.npos) url.remove_prefix(scheme + 3);
    url = url.substr(0, url.find_first_of("/?#"));
    if (size_t at = url.rfind('@'); at != url.npos) url.remove_prefix(at + 1);
    return std::string(url.substr(0, url.find(':')));
}

// The last element of "a/b/c", cut to a category name's 63 units.
std::u16string CategoryOf(std::string_view group) {
    while (group.ends_with('/')) group.remove_suffix(1);
    if (size_t slash = group.rfind('/'); slash != group.npos) group.remove_prefix(slash + 1);
    return std::u16string(FitFieldName(Utf8ToUtf16Lossy(group)));
}

bool Unfilled(const ItemField& field) {
    return field.length() <= 2;
}

// Whether the field is of the kind the column fills: an e-mail user name goes to an E-MAIL field.
bool OfKind(const ItemField& field, CsvColumn role, bool email) {
    std::u16string name = Normalized(field.Name());
    auto named = [&](std::u16string_view a, std::u16string_view b) {
        return field.type == kFieldText && (name.find(a) != name.npos || name.find(b) != name.npos);
    };
    switch (role) {
        case CsvColumn::Password:
            return field.type == kFieldPassword;
        case CsvColumn::Url:
            return field.type == kFieldUrl;
        case CsvColumn::User:
            return email ? field.type == kFieldEmail : named(u"user", u"login");
        case CsvColumn::Notes:
            return named(u"note", u"comment");
        default:
            return false;
    }
}

// An empty field of the card after its name that takes the value: one of the column's kind, else one
// named as the column.
ItemField* TargetField(CTesseraItem& card, CsvColumn role, std::u16string_view header, bool email) {
    std::u16string wanted = Normalized(header);
    for (bool byKind : {true, false}) {
        for (auto* node = card.fields.head ? card.fields.head->next : nullptr; node; node = node->next) {
            const ItemField& field = node->element;
            if (Unfilled(field) && !IsTimeField(field.type) &&
                (byKind ? OfKind(field, role, email) : Normalized(field.Name()) == wanted))
                return &node->element;
        }
    }
    return nullptr;
}

uint32_t NewFieldType(CsvColumn role, bool email) {
    switch (role) {
        case CsvColumn::Password:
            return kFieldPassword;
        case CsvColumn::Url:
            return kFieldUrl;
        case CsvColumn::User:
            return email ? kFieldEmail : kFieldText;
        default:
            return kFieldText;
    }
}

void PutValue(CTesseraItem& card, CsvColumn role, std::u16string_view header, const std::string& value) {
    bool email = role == CsvColumn::User && LooksLikeEmail(value);
    ItemField* field = TargetField(card, role, header, email);
    if (!field) {
        card.fields.AddTail(ItemField{});
        field = &card.fields.tail->element;
        field->type = NewFieldType(role, email);
        field->SetName(FitFieldName(header));
    }
    SetFieldText(*field, Utf8ToUtf16Lossy(value));
}

struct Column {
    CsvColumn role;
    std::u16string header;
};

struct RowReader {
    std::unique_ptr<CTesseraItem> model;  // the template, read once: each record read is a decryption
    std::vector<Column> columns;

    // The column of cell i: past the header's columns, "Column n".
    Column At(size_t i) const {
        if (i < columns.size() && !columns[i].header.empty()) return columns[i];
        return {i < columns.size() ? columns[i].role : CsvColumn::Other,
                u"Column " + Utf8ToUtf16Lossy(std::to_string(i + 1))};
    }

    // The last element of the first group cell that is not empty.
    std::u16string Category(const CsvRow& row) const {
        for (size_t i = 0; i < row.cells.size(); ++i)
            if (At(i).role == CsvColumn::Group && !row.cells[i].empty()) return CategoryOf(row.cells[i]);
        return {};
    }

    std::unique_ptr<CTesseraItem> Card(const CsvRow& row, size_t number) const {
        auto card = std::make_unique<CTesseraItem>();
        card->CopyAsNew(*model);
        std::string title, url;
        bool grouped = false;
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const std::string& value = row.cells[i];
            Column column = At(i);
            std::optional<SYSTEMTIME> time;
            if (column.role == CsvColumn::Created || column.role == CsvColumn::Modified)
                time = ParseIsoTime(value);
            if (value.empty()) continue;
            if (column.role == CsvColumn::Title && title.empty()) {
                title = value;
            } else if (column.role == CsvColumn::Group && !grouped) {
                grouped = true;  // the card's category
            } else if (time) {
                (column.role == CsvColumn::Created ? card->created : card->modified) = *time;
            } else {
                if (column.role == CsvColumn::Url && url.empty()) url = value;
                PutValue(*card, column.role, column.header, value);
            }
        }
        if (title.empty()) title = UrlHost(url);
        if (title.empty()) title = "Imported " + std::to_string(number);
        SetItemName(*card, Utf8ToUtf16Lossy(title));
        return card;
    }
};

bool AllEmpty(const CsvRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(), [](const std::string& c) { return c.empty(); });
}

}  // namespace

CsvColumn ColumnRole(std::string_view header) {
    std::string name = Normalized(header);
    for (const RoleNames& entry : kRoles)
        if (std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end()) return entry.role;
    return CsvColumn::Other;
}

uint32_t DefaultImportTemplate(const CData& data) {
    for (const card_info_struct& row : data.templates)
        if (Normalized(row.name) == u"weblogin") return static_cast<uint32_t>(row.id);
    return kNoTemplate;
}

ImportPlan CsvImportPlan(CData& data, std::string_view text, uint32_t templateId) {
    auto table = std::make_shared<CsvTable>(CsvTable::Read(text));
    ImportPlan plan;
    plan.skipped = std::move(table->problems);
    if (table->rows.empty()) return plan;
    auto reader = std::make_shared<RowReader>(RowReader{data.NewCardFromTemplate(templateId), {}});
    for (const std::string& header : table->rows.front().cells)
        reader->columns.push_back({ColumnRole(header), Utf8ToUtf16Lossy(header)});
    auto rows = std::make_shared<std::vector<size_t>>();
    for (size_t i = 1; i < table->rows.size(); ++i) {
        if (AllEmpty(table->rows[i])) continue;
        rows->push_back(i);
        plan.cards.push_back({nullptr, reader->Category(table->rows[i])});
    }
    // Each card is made when it is wanted: a plan of thousands holds their rows, not their records.
    plan.make = [table, reader, rows](size_t i) { return reader->Card(table->rows[(*rows)[i]], i + 1); };
    return plan;
}

namespace {

// A field's value as a cell: text as it is, DATE and TIME in ISO 8601.
std::string CellText(const ItemField& field) {
    if (field.length() == 0) return {};
    return IsTimeField(field.type) ? FormatIsoTime(FieldTime(field)) : Utf16ToUtf8Lossy(FieldText(field));
}

void AppendRow(SecureBytes& out, const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) {
        std::string cell = (i ? "," : "") + CsvQuoted(cells[i]);
        out.insert(out.end(), cell.begin(), cell.end());
        SecureZero(cell.data(), cell.size());
    }
    out.insert(out.end(), {'\r', '\n'});
}

// The columns after the four fixed ones: a card's second field of one name takes a second column of it.
using ColumnKey = std::pair<std::u16string, int>;

template <typename Visit>
void ForEachFieldColumn(const CTesseraItem& card, Visit visit) {
    std::map<std::u16string, int> seen;
    for (auto* node = card.fields.head ? card.fields.head->next : nullptr; node; node = node->next) {
        std::u16string name = node->element.Name();
        visit(ColumnKey{name, seen[name]++}, node->element);
    }
}

}  // namespace

SecureBytes CardsToCsv(CData& data, size_t& written, size_t& unreadable) {
    std::vector<ColumnKey> columns;
    unreadable = ForEachCard(*data.WalletStore(), [&](const CTesseraItem& card) {
        ForEachFieldColumn(card, [&](const ColumnKey& key, const ItemField&) {
            if (std::find(columns.begin(), columns.end(), key) == columns.end()) columns.push_back(key);
        });
    });
    std::vector<std::string> cells = {"name", "category", "created", "modified"};
    for (const ColumnKey& key : columns) cells.push_back(Utf16ToUtf8Lossy(key.first));
    SecureBytes out;
    AppendRow(out, cells);
    written = 0;
    ForEachCard(*data.WalletStore(), [&](const CTesseraItem& card) {
        cells.assign(4 + columns.size(), {});
        cells[0] = Utf16ToUtf8Lossy(ItemName(card));
        cells[1] = Utf16ToUtf8Lossy(CategoryName(data, static_cast<int32_t>(card.categoryId)));
        cells[2] = FormatIsoTime(card.created);
        cells[3] = FormatIsoTime(card.modified);
        ForEachFieldColumn(card, [&](const ColumnKey& key, const ItemField& field) {
            cells[4 + (std::find(columns.begin(), columns.end(), key) - columns.begin())] = CellText(field);
        });
        AppendRow(out, cells);
        for (std::string& cell : cells) SecureZero(cell.data(), cell.size());
        ++written;
    });
    return out;
}
