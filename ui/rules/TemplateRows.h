#pragma once
// What the template chooser lists: one row per live template of the templates store, in store order.
#include <cstdint>
#include <string>
#include <vector>

#include "model/Data.h"

struct TemplateRow {
    uint32_t id;
    uint32_t icon;
    std::u16string name;    // the first field's value
    std::u16string fields;  // the other fields' names, joined by ","
};

// The names of every field but the first, in order, joined by "," without spaces.
std::u16string OtherFieldNames(const CTesseraItem& item);

// Appends the rows of the model's templates, skipping the category record and records that do not
// decrypt; false when memory ran out (the rows read so far are kept).
bool ReadTemplateRows(const CData& data, std::vector<TemplateRow>& rows);
