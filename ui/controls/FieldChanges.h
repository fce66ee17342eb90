#pragma once
// Text between the toolkit's strings and the wallet's UTF-16, and the wiping of copies that may hold a
// password.
#include <wx/string.h>

#include <string>
#include <string_view>

#include "ui/rules/FieldCollect.h"

// The text as UTF-16 without any intermediate copy left behind (it may be a password).
std::u16string ToU16(const wxString& text);
wxString FromU16(std::u16string_view text);
// Overwrites the text's units before it is freed.
void Wipe(std::u16string& text);

// Overwrites the string's characters in place before it is freed.
void Wipe(wxString& text);
