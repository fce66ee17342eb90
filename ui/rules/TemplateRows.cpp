#include "ui/rules/TemplateRows.h"

#include <new>

#include "model/FieldType.h"

std::u16string OtherFieldNames(const CTesseraItem& item) {
    std::u16string joined;
    for (auto* node = item.fields.head ? item.fields.head->next : nullptr; node; node = node->next) {
        if (!joined.empty()) joined += u',';
        joined += node->element.Name();
    }
    return joined;
}

bool ReadTemplateRows(CTesseraEncryptedLinkList& store, std::vector<TemplateRow>& rows) {
    try {
        for (auto* node = store.records.head; node; node = node->next) {
            const item_entry_struct& entry = node->element;
            if (entry.deleted || entry.id == CTesseraEncryptedLinkList::kCategoryRecordId) continue;
            SecureBytes plain;
            CTesseraItem item;
            if (store.GetRecordData(&entry, &plain) == 0 || !item.Deserialize(plain.data(), plain.size()))
                continue;
            std::u16string name = item.fields.head ? FieldText(item.fields.head->element) : std::u16string();
            rows.push_back({entry.id, item.icon, std::move(name), OtherFieldNames(item)});
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
