#pragma once
// The string table: every text the user interface shows, by its fixed identifier (Resource.h).
#include <wx/string.h>

// The text of string id; empty when the table has no such string.
wxString LoadResString(unsigned id);
