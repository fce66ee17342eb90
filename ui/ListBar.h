#pragma once
// The list pane: a dockable pane of the host frame that shows the wallet's cards, templates,
// categories or backups, and handles most of the plug-in's commands.
#include <wx/panel.h>

#include <functional>

class CListBar : public wxPanel {
public:
    // lock runs the wallet lock the Lock Wallet command asks for.
    CListBar(wxWindow* parent, std::function<void()> lock);

    // Offered every command the host routes to the plug-in; true when handled.
    bool OnCommand(int id, int code, void* extra);
    // True while the pane runs a long operation of its own (the wallet lock waits for it).
    bool IsBusy() const { return busy; }

private:
    std::function<void()> lock;
    bool busy = false;
};
