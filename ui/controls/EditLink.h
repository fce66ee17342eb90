#pragma once
// What a click on a field editor opens: a read-only URL or e-mail field opens its text.
#include <wx/string.h>

#include <optional>

struct EditLink {
    static constexpr int kUrl = 4;
    static constexpr int kEmail = 5;

    wxString target;
    wxString verb;

    // True when a field of this type, read-only, behaves as a link.
    static bool IsLinkField(int fieldType, bool editable);
    // The link a click opens, or nothing (editable, not a link type, or empty text).
    static std::optional<EditLink> For(int fieldType, bool editable, const wxString& text);
};
