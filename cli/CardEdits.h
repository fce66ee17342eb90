#pragma once
// Field values a command line sets by field name.

#include <string>
#include <vector>

#include "store/TesseraItem.h"

// "Field=Value": the first field of that name takes the value, encoded by its type (a DATE or TIME
// value is a local "YYYY-MM-DD[ HH:MM[:SS]]"; an empty value empties the field); a name the card lacks
// becomes a new TEXT field. False with `error` set for input that does not fit.
bool ApplyAssignment(CTesseraItem& card, const std::string& assignment, std::string& error);
bool ApplyAssignments(CTesseraItem& card, const std::vector<std::string>& assignments, std::string& error);
