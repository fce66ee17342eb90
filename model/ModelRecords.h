#pragma once
// The summary rows that the lists show, sort and filter, and the packed form of a category in the
// category record.

#include <cstdint>
#include <string>

#include "model/WipedText.h"
#include "platform/SystemTime.h"

// One card or one template, as listed. findable: the values the find box looks in besides the name (the
// text, web address and e-mail fields, never a password), folded for the find.
struct card_info_struct {
    int32_t id = 0;
    int32_t category = 0;
    int32_t icon = 0;
    std::u16string name;
    SYSTEMTIME created{};
    SYSTEMTIME modified{};
    WipedText findable;
};

// One category.
struct category_struct {
    int32_t icon = 0;
    int32_t id = 0;
    std::u16string name;
};

// The category filter that lets every card through (0xFFFFFFFF).
inline constexpr int32_t kAllCategories = -1;
inline constexpr int32_t kMaxCategoryId = 0xFFFF;

// A category is stored as one field whose type holds the id in its high and the icon in its low 16 bits.
constexpr uint32_t PackCategory(uint32_t id, uint32_t icon) {
    return (id << 16) | (icon & 0xFFFF);
}
constexpr int32_t PackedCategoryId(uint32_t packed) {
    return static_cast<int32_t>(packed >> 16);
}
constexpr int32_t PackedCategoryIcon(uint32_t packed) {
    return static_cast<int32_t>(packed & 0xFFFF);
}
