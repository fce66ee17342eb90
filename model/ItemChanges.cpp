#include "model/ItemChanges.h"

#include "model/FieldType.h"

namespace {

std::unique_ptr<CTesseraItem> NewNamedItem(std::u16string_view name) {
    auto item = std::make_unique<CTesseraItem>();
    SetItemName(*item, name);
    return item;
}

}  // namespace

std::unique_ptr<CTesseraItem> NewBlankCard() {
    return NewNamedItem(u"New Card");
}

std::unique_ptr<CTesseraItem> NewBlankTemplate() {
    return NewNamedItem(u"New Template");
}

std::u16string_view FitFieldName(std::u16string_view name) {
    if (name.size() < ItemField::kNameUnits) return name;
    name = name.substr(0, ItemField::kNameUnits - 1);
    if (name.back() >= 0xD800 && name.back() <= 0xDBFF) name.remove_suffix(1);
    return name;
}

std::u16string ItemName(const CTesseraItem& item) {
    return item.fields.head ? FieldText(item.fields.head->element) : std::u16string();
}

void SetItemName(CTesseraItem& item, std::u16string_view name) {
    if (!item.fields.head) {
        ItemField field;
        field.type = kFieldText;
        field.SetName(kNameFieldName);
        item.fields.AddTail(std::move(field));
    }
    SetFieldText(item.fields.head->element, name);
}

void ChangeIcon(CTesseraItem& item, uint32_t icon) {
    if (item.icon == icon) return;
    item.icon = icon;
    item.modified = GetSystemTimeUtc();
}

void ChangeCategory(CTesseraItem& item, uint32_t categoryId) {
    if (item.categoryId == categoryId) return;
    item.categoryId = categoryId;
    item.modified = GetSystemTimeUtc();
}

void MarkAsDraft(CTesseraItem& item) {
    SetItemName(item, ItemName(item) + u" (Draft)");
    item.draft = 1;
    item.modified = GetSystemTimeUtc();
}
