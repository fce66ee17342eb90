// The categories of CData: one record of the templates store holds them all, one field each.

#include <new>

#include "model/Data.h"
#include "model/DataRows.h"
#include "model/ItemChanges.h"

bool CData::LoadCategories() {
    try {
        categories.clear();
        std::unique_ptr<CTesseraItem> record = ReadCategoryRecord();
        if (!record) return true;
        std::vector<Category> stored = CategoryRecord::Read(*record);
        categories.reserve(stored.size());
        for (Category& category : stored) {
            categories.push_back({category.icon, category.id, std::move(category.name)});
            maxCategoryId = std::max<int32_t>(maxCategoryId, category.id);
        }
    } catch (const std::bad_alloc&) {
        categories = {};
        return false;
    }
    return true;
}

std::vector<category_struct>::iterator CData::FindCategoryRow(int32_t id) {
    return std::find_if(categories.begin(), categories.end(),
                        [id](const category_struct& row) { return row.id == id; });
}

bool CData::AddCategory(std::u16string_view name, uint32_t packed) {
    int32_t id = PackedCategoryId(packed);
    if (!templateStore || id == 0 || FindCategoryRow(id) != categories.end()) return false;
    ItemField field = CategoryRecord::Field(FitFieldName(name), packed);
    category_struct row{PackedCategoryIcon(packed), id, field.Name()};
    ReserveMore(categories);
    if (!WriteNewCategory(field)) return false;
    categories.push_back(row);
    maxCategoryId = std::max(maxCategoryId, id);
    Notify([&](ModelListener& listener) {
        listener.RowChanged(ListKind::Categories, id);
        listener.CategoryAdded(id, row.name);
    });
    return true;
}

// Appends the field to the category record, which is made when the store has none. A record that
// exists but cannot be read is left alone: writing a new one would lose its categories.
bool CData::WriteNewCategory(const ItemField& field) {
    item_entry_struct* entry = templateStore->FindRecord(kCategoryRecordId);
    if (!entry) {
        CTesseraItem record;
        return record.AddField(field) && templateStore->AddRecord(record, kCategoryRecordId);
    }
    std::unique_ptr<CTesseraItem> record = ReadEntry(*templateStore, entry);
    return record && record->AddField(field) && templateStore->UpdateRecord(*record, entry);
}

bool CData::UpdateCategory(std::u16string_view name, uint32_t packed) {
    int32_t id = PackedCategoryId(packed);
    item_entry_struct* entry = FindRecordEntry(kTemplateStore, kCategoryRecordId);
    std::unique_ptr<CTesseraItem> record = entry ? ReadEntry(*templateStore, entry) : nullptr;
    ItemField* field = record ? CategoryRecord::Find(*record, id) : nullptr;
    if (!field) return false;
    if (field->Name() != name) {
        field->value.clear();
        field->SetName(FitFieldName(name));
    }
    field->type = packed;
    std::u16string stored = field->Name();
    if (!templateStore->UpdateRecord(*record, entry)) return false;
    if (auto row = FindCategoryRow(id); row != categories.end())
        *row = {PackedCategoryIcon(packed), id, stored};
    Notify([&](ModelListener& listener) {
        listener.RowChanged(ListKind::Categories, id);
        listener.CategoryRenamed(id, stored);
    });
    return true;
}

bool CData::DeleteCategory(int32_t id) {
    item_entry_struct* entry = FindRecordEntry(kTemplateStore, kCategoryRecordId);
    std::unique_ptr<CTesseraItem> record = entry ? ReadEntry(*templateStore, entry) : nullptr;
    if (!record || !record->fields.head) return false;
    if (ItemField* field = CategoryRecord::Find(*record, id)) record->RemoveField(field);
    if (!templateStore->UpdateRecord(*record, entry)) return false;
    if (auto row = FindCategoryRow(id); row != categories.end()) categories.erase(row);
    Notify([&](ModelListener& listener) { listener.CategoryRemoved(id); });
    return true;
}

bool CData::ReleaseCategoryCards(int32_t categoryId, bool deleteCards) {
    if (categoryId == 0) return false;
    if (!walletStore) return true;
    bool allReleased = true;
    for (auto* node = walletStore->records.head; node;) {
        auto* next = node->next;  // a deletion frees this node only
        std::unique_ptr<CTesseraItem> card = ReadEntry(*walletStore, &node->element);
        bool inCategory = card && card->categoryId == static_cast<uint32_t>(categoryId);
        if (inCategory && !ReleaseCard(node->element, *card, deleteCards)) allReleased = false;
        if (!(inCategory && deleteCards) && dispatchHook) dispatchHook();
        node = next;
    }
    return allReleased;
}

// Deletes the card, or takes it out of its category, and its row with it once the store has done so.
bool CData::ReleaseCard(item_entry_struct& entry, CTesseraItem& card, bool deleteCards) {
    uint32_t id = entry.id;
    auto row = FindRow(cards, id);
    if (deleteCards) {
        if (!walletStore->DeleteRecord(&entry)) return false;
        if (row != cards.end()) cards.erase(row);
        return true;
    }
    ChangeCategory(card, 0);
    card_info_struct updated = MakeRow(card, id);
    if (!walletStore->UpdateRecord(card, &entry)) return false;
    if (row != cards.end()) *row = std::move(updated);
    return true;
}
