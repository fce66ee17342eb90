#pragma once
// The templates store's category record (id 0xFFFFFFFF): a record whose head holds icon 0, category 0,
// draft 0 and its two times, and one field per category, in order, with no value. A field's type packs
// the category: its id in the high 16 bits, its icon in the low 16 bits; the field's label is the
// category's name. The model and the phone's own tools both read and write the record here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/TesseraEncryptedLinkList.h"
#include "store/TesseraItem.h"

constexpr uint32_t PackCategory(uint32_t id, uint32_t icon) {
    return (id << 16) | (icon & 0xFFFF);
}
constexpr int32_t PackedCategoryId(uint32_t packed) {
    return static_cast<int32_t>(packed >> 16);
}
constexpr int32_t PackedCategoryIcon(uint32_t packed) {
    return static_cast<int32_t>(packed & 0xFFFF);
}

struct Category {
    uint16_t id = 0;  // 1..65535
    uint16_t icon = 0;
    std::u16string name;  // at most 63 units
    bool operator==(const Category&) const = default;
};

class CategoryRecord {
public:
    // The categories of the record's fields, in order.
    static std::vector<Category> Read(const CTesseraItem& record);
    // The categories of the store's category record; none when it is missing or unreadable.
    static std::vector<Category> Read(CTesseraEncryptedLinkList& templates);
    // Appends one field per category to the record.
    static void Write(const std::vector<Category>& categories, CTesseraItem& record);

    // The field of one category; the name is cut to 63 units.
    static ItemField Field(std::u16string_view name, uint32_t packed);
    // The first field that holds the category id, or null.
    static ItemField* Find(CTesseraItem& record, int32_t id);
};
