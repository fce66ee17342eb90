#include "phone/CategoryRecord.h"

void FillCategoryRecord(const std::vector<Category>& categories, CTesseraItem& record) {
    for (const Category& category : categories) {
        ItemField field;
        field.type = PackCategory(category.id, category.icon);
        field.SetName(category.name);
        record.fields.AddTail(std::move(field));
    }
}

std::vector<Category> ReadCategories(CTesseraEncryptedLinkList& templates) {
    std::vector<Category> categories;
    SecureBytes plain;
    CTesseraItem record;
    item_entry_struct* entry = templates.FindRecord(CTesseraEncryptedLinkList::kCategoryRecordId);
    if (!templates.GetRecordData(entry, &plain) || !record.Deserialize(plain.data(), plain.size()))
        return categories;
    for (auto* node = record.fields.head; node; node = node->next) {
        const ItemField& field = node->element;
        categories.push_back(
            {static_cast<uint16_t>(field.type >> 16), static_cast<uint16_t>(field.type), field.Name()});
    }
    return categories;
}

uint32_t CategoryId(const std::vector<Category>& categories, std::u16string_view name) {
    for (const Category& category : categories) {
        if (category.name == name) return category.id;
    }
    return 0;
}
