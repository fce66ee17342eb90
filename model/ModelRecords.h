#pragma once
// The summary rows that the lists show, sort and filter. A category's packed form is the category
// record's (store/CategoryRecord.h).

#include <cstdint>
#include <string>

#include "model/WipedText.h"
#include "platform/SystemTime.h"
#include "store/CategoryRecord.h"

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
