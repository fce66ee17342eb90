#include "ui/controls/EditLink.h"

bool EditLink::IsLinkField(int fieldType, bool editable) {
    return !editable && (fieldType == kUrl || fieldType == kEmail);
}

std::optional<EditLink> EditLink::For(int fieldType, bool editable, const wxString& text) {
    if (!IsLinkField(fieldType, editable) || text.empty()) return std::nullopt;
    if (fieldType == kUrl) return EditLink{text, "OPEN"};
    return EditLink{"mailto:" + text, "open"};
}
