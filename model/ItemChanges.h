#pragma once
// Making records, and the changes that follow the rules of the `modified` time: adding or removing
// a field, a new icon, a new category and saving a draft set it to now; editing the name or a value
// does not.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "store/TesseraItem.h"

// Field 0 of every card and template: its name.
inline constexpr std::u16string_view kNameFieldName = u"Name";

// A record with the single field "Name" = "New Card" (or "New Template"), both times now.
std::unique_ptr<CTesseraItem> NewBlankCard();
std::unique_ptr<CTesseraItem> NewBlankTemplate();

// The name cut to a field name's 63 units, without leaving half of a surrogate pair at the end.
std::u16string_view FitFieldName(std::u16string_view name);

// The text of field 0; empty for a record without fields.
std::u16string ItemName(const CTesseraItem& item);
// Sets the value of field 0, adding the name field to a record that has none.
void SetItemName(CTesseraItem& item, std::u16string_view name);

// These set `modified` to now when the value changes.
void ChangeIcon(CTesseraItem& item, uint32_t icon);
void ChangeCategory(CTesseraItem& item, uint32_t categoryId);

// A card saved on its own because the wallet locked while it was edited: " (Draft)" after its name,
// `draft` 1, `modified` now.
void MarkAsDraft(CTesseraItem& item);
