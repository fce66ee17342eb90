#pragma once
// Field values a command line sets by field name.

#include <string>
#include <vector>

#include "store/TesseraItem.h"

// "Field=Value": the first field of that name takes the value, encoded by its type (a DATE or TIME
// value is a local "YYYY-MM-DD[ HH:MM[:SS]]"; an empty value empties the field); a name the card lacks
// becomes a new TEXT field. A value for a PASSWORD field (its name in any case) or for a name that reads
// as a secret's (password, passcode, PIN, secret) is refused: the command line is no place for it (every
// local user sees it), ApplySecret is. False with `error` set for input that does not fit.
bool ApplyAssignment(CTesseraItem& card, const std::string& assignment, std::string& error);
bool ApplyAssignments(CTesseraItem& card, const std::vector<std::string>& assignments, std::string& error);
// The value of the field named `name`, a secret read away from the command line: the first field of that
// name takes it; a name the card lacks becomes a new PASSWORD field, and a TEXT field becomes one.
bool ApplySecret(CTesseraItem& card, const std::string& name, std::u16string_view value, std::string& error);
