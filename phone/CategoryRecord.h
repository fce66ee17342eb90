#pragma once
// The templates store's category record (id 0xFFFFFFFF): a record whose head holds icon 0, category 0,
// draft 0 and its two times, and one field per category, in order, with no value. A field's type packs
// the category: its id in the high 16 bits, its icon in the low 16 bits; the field's label is the
// category's name.

#include <cstdint>
#include <string>
#include <vector>

#include "model/ModelRecords.h"
#include "store/TesseraEncryptedLinkList.h"

struct Category {
    uint16_t id = 0;  // 1..65535
    uint16_t icon = 0;
    std::u16string name;  // at most 63 units
};

// Fills an empty item with the categories, one field each.
void FillCategoryRecord(const std::vector<Category>& categories, CTesseraItem& record);

// The categories of the store's category record, in order; none when the record is missing or unreadable.
std::vector<Category> ReadCategories(CTesseraEncryptedLinkList& templates);

// The id of the category with that name, or 0 (no category) when there is none.
uint32_t CategoryId(const std::vector<Category>& categories, std::u16string_view name);
