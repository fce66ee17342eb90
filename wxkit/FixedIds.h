#pragma once
// wx creates windows and menu items only with ids below 0x7FFF, while a few of the fixed ids the host
// and the plug-in share lie above (the host's exit and about commands, the main-view id). Those are
// given to the item or window right after it is created.
#include <wx/menu.h>
#include <wx/window.h>

constexpr int kWxIdLimit = 0x7FFF;

inline wxMenuItem* AppendMenuCommand(wxMenu* menu, int id, const wxString& text,
                                     wxItemKind kind = wxITEM_NORMAL) {
    if (id < kWxIdLimit) return menu->Append(id, text, wxEmptyString, kind);
    wxMenuItem* item = menu->Append(wxID_ANY, text, wxEmptyString, kind);
    wxWindow::UnreserveControlId(item->GetId());
    item->SetId(id);
    return item;
}

// Gives a window just created with wxID_ANY its fixed id.
inline void GiveFixedId(wxWindow* window, int id) {
    wxWindow::UnreserveControlId(window->GetId());
    window->SetId(id);
}
