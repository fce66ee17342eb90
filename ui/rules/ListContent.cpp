#include "ui/rules/ListContent.h"

#include <algorithm>

#include "device/TesseraBackup.h"
#include "model/Data.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"

namespace {

std::u16string Decimal(int32_t value) {
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

void ListContent::Show(ListKind page) {
    kind = page;
    pending.reset();
    filter = kAllCategories;
    if (kind != ListKind::None && kind != ListKind::Backups) key = keys[static_cast<int>(kind)];
    ascending = true;
    Rebuild();
}

void ListContent::Rebuild() {
    order.clear();
    switch (kind) {
        case ListKind::Cards:
            rowCount = data.ArrangeCards(filter, key, ascending);
            break;
        case ListKind::Templates:
        case ListKind::Categories:
            OrderByName();
            break;
        case ListKind::Backups:
            rowCount = backups ? static_cast<int>(backups->entries.size()) : 0;
            break;
        case ListKind::None:
            rowCount = 0;
            break;
    }
    if (pending) pending->position = rowCount;
}

void ListContent::FlipDirection() {
    if (kind == ListKind::Backups || kind == ListKind::None) return;
    ascending = !ascending;
    Rebuild();
}

void ListContent::Arrange(CardSortKey newKey) {
    key = newKey;
    if (kind == ListKind::Cards || kind == ListKind::Templates || kind == ListKind::Categories)
        keys[static_cast<int>(kind)] = newKey;
    if (kind == ListKind::Cards) Rebuild();
}

void ListContent::SetCategoryFilter(int32_t category) {
    filter = category;
    if (kind == ListKind::Cards) Rebuild();
}

const std::u16string& ListContent::Name(int index) const {
    return kind == ListKind::Templates ? data.templates[index].name : data.categories[index].name;
}

// Code unit by code unit, case-sensitive, in the current direction.
bool ListContent::Before(const std::u16string& a, const std::u16string& b) const {
    return ascending ? a < b : b < a;
}

// A stable sort keeps equal names in model order.
void ListContent::OrderByName() {
    int count = kind == ListKind::Templates ? data.templateCount() : data.categoryCount();
    order.resize(count);
    for (int i = 0; i < count; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return Before(Name(a), Name(b)); });
    rowCount = count;
}

int ListContent::AddPending(const card_info_struct& row, bool byName) {
    int position = rowCount;
    if (byName && (kind == ListKind::Templates || kind == ListKind::Categories)) {
        auto after =
            std::upper_bound(order.begin(), order.end(), row.name,
                             [this](const std::u16string& name, int i) { return Before(name, Name(i)); });
        position = static_cast<int>(after - order.begin());
    }
    pending = Pending{row, position};
    return position;
}

int ListContent::DropPending(int32_t id) {
    if (!pending || pending->row.id != id) return -1;
    int row = pending->position;
    pending.reset();
    return row;
}

int ListContent::Settle(ListKind page, int32_t id) {
    if (page != kind || kind == ListKind::Backups || kind == ListKind::None) return -1;
    if (pending && pending->row.id == id) {
        int row = pending->position;
        if (!Adopt(id, row)) return -1;
        pending.reset();
        return row;
    }
    if (int row = FindRow(id); row >= 0) return row;
    return Adopt(id, rowCount) ? FindRow(id) : -1;
}

bool ListContent::Adopt(int32_t id, int at) {
    auto has = [id](const auto& row) { return row.id == id; };
    if (kind == ListKind::Cards) {
        // The stored rows lead the model's rows; the new one joins them at its place.
        auto found = std::find_if(data.cards.begin() + rowCount, data.cards.end(), has);
        if (found == data.cards.end()) return false;
        std::rotate(data.cards.begin() + at, found, found + 1);
    } else {
        int index = kind == ListKind::Templates
                        ? static_cast<int>(std::find_if(data.templates.begin(), data.templates.end(), has) -
                                           data.templates.begin())
                        : static_cast<int>(std::find_if(data.categories.begin(), data.categories.end(), has) -
                                           data.categories.begin());
        int count = kind == ListKind::Templates ? data.templateCount() : data.categoryCount();
        if (index == count) return false;
        order.insert(order.begin() + at, index);
    }
    ++rowCount;
    return true;
}

void ListContent::RowDeleted(int row) {
    if (IsPending(row) || row < 0 || row >= RowCount()) return;
    int stored = Stored(row);
    if (pending && pending->position > row) --pending->position;
    if (kind == ListKind::Templates || kind == ListKind::Categories) {
        int gone = order[stored];
        order.erase(order.begin() + stored);
        for (int& index : order) index -= index > gone ? 1 : 0;
    }
    --rowCount;
}

int ListContent::FindRow(int32_t id) const {
    for (int row = 0; row < RowCount(); ++row) {
        if (Item(row).id == id) return row;
    }
    return -1;
}

std::u16string ListContent::CategoryName(int32_t id) const {
    for (const category_struct& category : data.categories) {
        if (category.id == id) return category.name;
    }
    return {};
}

std::u16string ListContent::DateText(const SYSTEMTIME& time) {
    return Utf8ToUtf16Lossy(FormatLocal(time, ShortDatePicture().c_str()));
}

std::u16string ListContent::CardText(const card_info_struct& card, int column) const {
    if (column == 0) return card.name.substr(0, 255);
    if (column == 2) return Decimal(card.id);
    if (key == CardSortKey::Created) return DateText(card.created);
    if (key == CardSortKey::Modified) return DateText(card.modified);
    return CategoryName(card.category);
}

std::u16string ListContent::Text(int row, int column) const {
    if (row < 0 || row >= RowCount()) return {};
    if (IsPending(row)) {
        if (kind == ListKind::Cards) return CardText(pending->row, column);
        return column == 0 ? pending->row.name : Decimal(pending->row.id);
    }
    row = Stored(row);
    switch (kind) {
        case ListKind::Cards:
            return CardText(data.cards[row], column);
        case ListKind::Templates:
        case ListKind::Categories: {
            if (column == 0) return Name(order[row]);
            return Decimal(kind == ListKind::Templates ? data.templates[order[row]].id
                                                       : data.categories[order[row]].id);
        }
        case ListKind::Backups:
            return column == 0 ? backups->entries[row].name : std::u16string();
        case ListKind::None:
            break;
    }
    return {};
}

int ListContent::Image(int row) const {
    if (row < 0 || row >= RowCount()) return -1;
    if (IsPending(row)) return pending->row.icon;
    row = Stored(row);
    switch (kind) {
        case ListKind::Cards:
            return data.cards[row].icon;
        case ListKind::Templates:
            return data.templates[order[row]].icon;
        case ListKind::Categories:
            return data.categories[order[row]].icon;
        case ListKind::Backups:
            return 0;
        case ListKind::None:
            break;
    }
    return -1;
}

ListItem ListContent::Item(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    if (IsPending(row)) return {kind, pending->row.id, {}};
    row = Stored(row);
    switch (kind) {
        case ListKind::Cards:
            return {kind, data.cards[row].id, {}};
        case ListKind::Templates:
            return {kind, data.templates[order[row]].id, {}};
        case ListKind::Categories:
            return {kind, data.categories[order[row]].id, {}};
        case ListKind::Backups:
            return {kind, 0, backups->entries[row].name};
        case ListKind::None:
            break;
    }
    return {};
}
