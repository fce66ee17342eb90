#pragma once
// The plug-in's main view: a child of the host frame that takes the web view's place as the frame's
// main view while a wallet page is shown.
#include <wx/panel.h>

class CMyView : public wxPanel {
public:
    explicit CMyView(wxWindow* parent);

    // The initial update that follows creation.
    void InitialUpdate();
    bool OnCommand(int id, int code, void* extra);
};
