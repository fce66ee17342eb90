#pragma once
// The plug-in's page in the host's navigation bar: the tree of the plug-in's pages above a strip in
// which the host shows one of its own windows. Choosing an item shows its page; the wallet items run
// through the wallet session.
#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/timer.h>
#include <wx/treectrl.h>

#include <functional>

#include "model/ListKind.h"
#include "ui/rules/WalletPageHandler.h"

class wxHtmlWindow;

// The tree's items, in table order. The root is given image 0 like every item without one of its own.
enum class NavItem { Root, Product, Cards, Templates, Categories, Backups, Help, Count };

class COutLookBarPage : public wxPanel {
public:
    // The windows the page shows and hides around the frame's main view, and who runs its wallet pages.
    struct Links {
        wxHtmlWindow* webView = nullptr;
        wxWindow* mainView = nullptr;
        wxWindow* listPane = nullptr;
        std::function<void(bool)> showListPane;  // docks or hides the list pane in the host frame
        WalletPageHandler* pages = nullptr;      // runs the wallet's pages (the session's windows)
    };

    COutLookBarPage(wxWindow* parent, const Links& links);
    ~COutLookBarPage() override;

    // Rebuilds the tree and selects the root item, which shows its page.
    void BuildTree();
    void SelectRoot();
    // Selects the root item unless it is the selected one already.
    void SelectRootItem();
    // Runs the selected item's page again (the root's when nothing is selected).
    void RepresentSelection();
    NavItem SelectedItem() const;
    void SelectItem(NavItem item);
    void SelectList(ListKind list) { SelectItem(ItemOf(list)); }
    // The item of a wallet list.
    static NavItem ItemOf(ListKind list);
    // Moves the selection back to an item whose page is still shown, without running it again.
    void SelectWithoutPage(NavItem item);
    wxTreeCtrl* Tree() const { return tree; }

    // The host's strip window: taken in while the plug-in is shown, given back at unload.
    void TakeStrip(wxWindow* window);
    void GiveBackStrip(wxWindow* newParent);

    // Makes the host's web view the frame's main view again and shows the item's start page.
    void ShowStartPage(NavItem item);
    // Gives the main-view id back to the host's web view when the plug-in's main view holds it.
    void ReturnMainViewId();
    // The plug-in's main view takes the web view's place (and its id) as the frame's main view.
    void ShowMainView();

    // The lockout countdown (timer 9527, one tick a minute); false when it does not start or stop.
    bool StartLockoutTimer();
    bool StopLockoutTimer();
    wxTimer& LockoutTimer() { return lockoutTimer; }
    bool OnCommand(int id, int code, void* extra);

private:
    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnSelectionChanged(wxTreeEvent& event);
    void OnContextMenu(wxContextMenuEvent&) {}
    void RunPage(NavItem item);
    void RelayoutFrame();

    Links links;
    wxTreeCtrl* tree = nullptr;
    wxImageList images;
    wxTreeItemId items[static_cast<int>(NavItem::Count)];
    wxWindow* strip = nullptr;
    bool silent = false;  // tree changes that run no page
    wxTimer lockoutTimer;
};
