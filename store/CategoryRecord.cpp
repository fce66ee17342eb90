#include "store/CategoryRecord.h"

std::vector<Category> CategoryRecord::Read(const CTesseraItem& record) {
    std::vector<Category> categories;
    categories.reserve(static_cast<size_t>(record.fields.count));
    for (auto* node = record.fields.head; node; node = node->next) {
        const ItemField& field = node->element;
        categories.push_back({static_cast<uint16_t>(PackedCategoryId(field.type)),
                              static_cast<uint16_t>(PackedCategoryIcon(field.type)), field.Name()});
    }
    return categories;
}

std::vector<Category> CategoryRecord::Read(CTesseraEncryptedLinkList& templates) {
    SecureBytes plain;
    CTesseraItem record;
    item_entry_struct* entry = templates.FindRecord(CTesseraEncryptedLinkList::kCategoryRecordId);
    if (!templates.GetRecordData(entry, &plain) || !record.Deserialize(plain.data(), plain.size())) return {};
    return Read(record);
}

void CategoryRecord::Write(const std::vector<Category>& categories, CTesseraItem& record) {
    for (const Category& category : categories)
        record.fields.AddTail(Field(category.name, PackCategory(category.id, category.icon)));
}

ItemField CategoryRecord::Field(std::u16string_view name, uint32_t packed) {
    ItemField field;
    field.type = packed;
    field.SetName(name);
    return field;
}

ItemField* CategoryRecord::Find(CTesseraItem& record, int32_t id) {
    for (auto* node = record.fields.head; node; node = node->next) {
        if (PackedCategoryId(node->element.type) == id) return &node->element;
    }
    return nullptr;
}
