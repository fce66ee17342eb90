#pragma once
// The names a record must have before it is saved: a card, a template and a category each have a name
// that is not blank, no two fields of one record share a name, and no two categories do. Names are
// compared without the white space around them; case counts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ModelRecords.h"
#include "store/TesseraItem.h"

enum class NameProblem { None, Blank, RepeatedField, TakenCategory };

// Empty or only white space.
bool IsBlankName(std::u16string_view name);
// The first field name that an earlier field of the record has already; none when all differ.
std::optional<std::u16string> RepeatedFieldName(const CTesseraItem& record);
// A blank name (the value of field 0), else a repeated field name.
NameProblem CheckRecordNames(const CTesseraItem& record);
// The name of the category `id` against the other categories.
NameProblem CheckCategoryName(const std::vector<category_struct>& categories, int32_t id,
                              std::u16string_view name);
