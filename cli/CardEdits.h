#pragma once
// Changes a command line asks of one card: field values by field name, its name, icon, category.

#include <string>
#include <vector>

#include "store/TesseraItem.h"

// "Field=Value": the first field of that name takes the value, encoded by its type (a DATE or TIME
// value is a local "YYYY-MM-DD[ HH:MM[:SS]]"; an empty value empties the field); a name the card lacks
// becomes a new TEXT field. False with `error` set for input that does not fit.
bool ApplyAssignment(CTesseraItem& card, const std::string& assignment, std::string& error);
bool ApplyAssignments(CTesseraItem& card, const std::vector<std::string>& assignments, std::string& error);
// Sets the name field (field 0), adding it to a card without fields.
void SetCardName(CTesseraItem& card, const std::string& name);
