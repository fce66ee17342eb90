#include "ui/ListContent.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "device/TesseraBackup.h"
#include "model/Data.h"

namespace {

std::u16string Decimal(int32_t value) {
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

void ListContent::Show(ListPage page) {
    kind = page;
    filter = kAllCategories;
    if (kind != ListPage::None && kind != ListPage::Backups) key = keys[static_cast<int>(kind)];
    ascending = true;
    Rebuild();
}

void ListContent::Rebuild() {
    order.clear();
    switch (kind) {
        case ListPage::Cards:
            rowCount = data.ArrangeCards(filter, key, ascending);
            return;
        case ListPage::Templates:
        case ListPage::Categories:
            OrderByName();
            return;
        case ListPage::Backups:
            rowCount = backups ? static_cast<int>(backups->entries.size()) : 0;
            return;
        case ListPage::None:
            rowCount = 0;
            return;
    }
}

void ListContent::FlipDirection() {
    if (kind == ListPage::Backups || kind == ListPage::None) return;
    ascending = !ascending;
    Rebuild();
}

void ListContent::Arrange(CardSortKey newKey) {
    key = newKey;
    if (kind == ListPage::Cards || kind == ListPage::Templates || kind == ListPage::Categories)
        keys[static_cast<int>(kind)] = newKey;
    if (kind == ListPage::Cards) Rebuild();
}

void ListContent::SetCategoryFilter(int32_t category) {
    filter = category;
    if (kind == ListPage::Cards) Rebuild();
}

const std::u16string& ListContent::Name(int index) const {
    return kind == ListPage::Templates ? data.templates[index].name : data.categories[index].name;
}

// Code unit by code unit, case-sensitive; a stable sort keeps equal names in model order.
void ListContent::OrderByName() {
    int count = kind == ListPage::Templates ? data.templateCount() : data.categoryCount();
    order.resize(count);
    for (int i = 0; i < count; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return ascending ? Name(a) < Name(b) : Name(b) < Name(a); });
    rowCount = count;
}

std::u16string ListContent::CategoryName(int32_t id) const {
    for (const category_struct& category : data.categories) {
        if (category.id == id) return category.name;
    }
    return {};
}

std::u16string ListContent::DateText(const SYSTEMTIME& time) {
    char text[32];
    snprintf(text, sizeof text, "%02u_%02u_%04u", unsigned{time.wDay}, unsigned{time.wMonth},
             unsigned{time.wYear});
    return std::u16string(text, text + strlen(text));
}

std::u16string ListContent::Text(int row, int column) const {
    if (row < 0 || row >= rowCount) return {};
    switch (kind) {
        case ListPage::Cards: {
            const card_info_struct& card = data.cards[row];
            if (column == 0) return card.name.substr(0, 255);
            if (column == 2) return Decimal(card.id);
            if (key == CardSortKey::Created) return DateText(card.created);
            if (key == CardSortKey::Modified) return DateText(card.modified);
            return CategoryName(card.category);
        }
        case ListPage::Templates:
        case ListPage::Categories: {
            if (column == 0) return Name(order[row]);
            return Decimal(Item(row).id);
        }
        case ListPage::Backups:
            return column == 0 ? backups->entries[row].name : std::u16string();
        case ListPage::None:
            break;
    }
    return {};
}

int ListContent::Image(int row) const {
    if (row < 0 || row >= rowCount) return -1;
    switch (kind) {
        case ListPage::Cards:
            return data.cards[row].icon;
        case ListPage::Templates:
            return data.templates[order[row]].icon;
        case ListPage::Categories:
            return data.categories[order[row]].icon;
        case ListPage::Backups:
            return 0;
        case ListPage::None:
            break;
    }
    return -1;
}

ListItem ListContent::Item(int row) const {
    if (row < 0 || row >= rowCount) return {};
    switch (kind) {
        case ListPage::Cards:
            return {kind, data.cards[row].id, {}};
        case ListPage::Templates:
            return {kind, data.templates[order[row]].id, {}};
        case ListPage::Categories:
            return {kind, data.categories[order[row]].id, {}};
        case ListPage::Backups:
            return {kind, 0, backups->entries[row].name};
        case ListPage::None:
            break;
    }
    return {};
}
