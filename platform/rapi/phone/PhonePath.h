#pragma once
// Phone names and paths: which are valid, how they compare and match. The phone's file system ignores
// case; folding covers Latin-1, Greek and Cyrillic letters besides ASCII.

#include <string>
#include <string_view>
#include <vector>

#include "platform/rapi/api/Rapi.h"

struct PhonePath {
    std::vector<std::u16string> parts;  // empty for the root
};

// Checks an absolute phone path and splits it at its backslashes. Refuses (ERROR_INVALID_NAME) paths of
// MAX_PATH units or more, paths without a leading backslash, empty, "." and ".." parts, and characters
// the phone does not allow in names; a find pattern may hold * and ? in its last part. One trailing
// backslash is ignored.
DWORD ParsePhonePath(std::u16string_view text, bool isPattern, PhonePath* out);

bool IsValidPhoneName(std::u16string_view name, bool isPattern);
bool SameName(std::u16string_view a, std::u16string_view b);
std::u16string FoldedName(std::u16string_view name);
// Case-insensitive order; names that differ only in case are ordered by their exact spelling.
bool NameLess(std::u16string_view a, std::u16string_view b);
// * matches any run of characters, ? any one character, case-insensitively. A trailing ".*" also
// matches names without an extension, so "*.*" matches every name.
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name);
