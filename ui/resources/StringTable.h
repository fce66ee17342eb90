#pragma once
// The string table: every text the user interface shows, by its fixed identifier (Resource.h).
#include <wx/string.h>

// The maker's web site, named at the end of the "version not supported" message.
inline constexpr char kMakerWebsite[] = "https://www.quillmark.example/tessera";

// The text of string id; empty when the table has no such string.
wxString LoadResString(unsigned id);
