#include "ui/panes/OutLookBarPage.h"

#include <wx/dcclient.h>
#include <wx/html/htmlwin.h>

#include "ui/panes/NavPageLayout.h"
#include "ui/panes/StartPages.h"
#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/ListKinds.h"

namespace {

struct NavItemEntry {
    ListKind list;  // the wallet list the item shows; None for a start page
    int image;
    int parent;  // index of the parent item, -1 for the root
    unsigned text = TraitsOf(list).caption;
};

const NavItemEntry kItems[] = {
    {ListKind::None, 0, -1},
    {ListKind::None, 1, 0, IDS_TREE_PRODUCT},
    {ListKind::Cards, 2, 1},
    {ListKind::Templates, 3, 1},
    {ListKind::Categories, 4, 1},
    {ListKind::Backups, 5, 1},
    {ListKind::None, 6, 1, IDS_TREE_HELP},
};

constexpr int kTreeImageSize = 16;
constexpr int kLockoutTickMs = 60000;
const wxColour kFrameGrey(0xC0, 0xC0, 0xC0);

}  // namespace

COutLookBarPage::COutLookBarPage(wxWindow* parent, const Links& links)
    : wxPanel(parent, IDW_NAV_PAGE),
      links(links),
      images(kTreeImageSize, kTreeImageSize, true, 10),
      lockoutTimer(this, IDT_LOCKOUT) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    tree = new wxTreeCtrl(this, IDC_NAV_TREE, wxDefaultPosition, wxDefaultSize,
                          wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_NONE);
    images.Add(LoadIconRes(IDI_TREE_ROOT));
    images.Add(LoadBitmapRes(IDB_TREE_IMAGES));
    tree->SetImageList(&images);
    Bind(wxEVT_SIZE, &COutLookBarPage::OnSize, this);
    Bind(wxEVT_PAINT, &COutLookBarPage::OnPaint, this);
    Bind(wxEVT_CONTEXT_MENU, &COutLookBarPage::OnContextMenu, this);
    tree->Bind(wxEVT_TREE_SEL_CHANGED, &COutLookBarPage::OnSelectionChanged, this);
    Bind(
        wxEVT_TIMER,
        [this](wxTimerEvent&) {
            if (this->links.pages) this->links.pages->LockoutTick();
        },
        IDT_LOCKOUT);
    BuildTree();
}

COutLookBarPage::~COutLookBarPage() {
    if (links.pages) links.pages->PageClosing();
    lockoutTimer.Stop();
    tree->SetImageList(nullptr);
}

void COutLookBarPage::BuildTree() {
    silent = true;
    tree->Freeze();
    tree->DeleteAllItems();
    for (size_t i = 0; i < std::size(kItems); ++i) {
        const NavItemEntry& entry = kItems[i];
        wxString text = LoadResString(entry.text);
        items[i] = entry.parent < 0 ? tree->AddRoot(text, entry.image)
                                    : tree->AppendItem(items[entry.parent], text, entry.image);
    }
    tree->Expand(items[0]);
    tree->Expand(items[1]);
    tree->Thaw();
    silent = false;
    SelectRoot();
}

void COutLookBarPage::SelectRoot() {
    SelectItem(NavItem::Root);
}

void COutLookBarPage::SelectRootItem() {
    if (SelectedItem() != NavItem::Root || !tree->GetSelection().IsOk()) SelectItem(NavItem::Root);
}

bool COutLookBarPage::StartLockoutTimer() {
    return lockoutTimer.Start(kLockoutTickMs);
}

bool COutLookBarPage::StopLockoutTimer() {
    lockoutTimer.Stop();
    return true;
}

void COutLookBarPage::SelectItem(NavItem item) {
    wxTreeItemId id = items[static_cast<int>(item)];
    if (tree->GetSelection() == id) {
        RunPage(item);
    } else {
        tree->SelectItem(id);  // the selection event runs the page
    }
}

NavItem COutLookBarPage::ItemOf(ListKind list) {
    for (size_t i = 0; i < std::size(kItems); ++i) {
        if (kItems[i].list == list) return static_cast<NavItem>(i);
    }
    return NavItem::Root;
}

void COutLookBarPage::SelectWithoutPage(NavItem item) {
    silent = true;
    tree->SelectItem(items[static_cast<int>(item)]);
    silent = false;
}

NavItem COutLookBarPage::SelectedItem() const {
    wxTreeItemId selected = tree->GetSelection();
    for (int i = 0; i < static_cast<int>(NavItem::Count); ++i) {
        if (items[i] == selected) return static_cast<NavItem>(i);
    }
    return NavItem::Root;
}

void COutLookBarPage::RepresentSelection() {
    RunPage(SelectedItem());
}

void COutLookBarPage::OnSelectionChanged(wxTreeEvent& event) {
    if (!silent && event.GetItem().IsOk()) RunPage(SelectedItem());
}

// The page handler. The host's main window stays disabled while a page runs (a wallet page may wait
// for the host, a worker or the login) and is enabled again on every way out.
void COutLookBarPage::RunPage(NavItem item) {
    // A page run from inside another (the root page after the phone went away) leaves the enabling to
    // the outer one.
    struct FrameDisabled {
        wxWindow* frame;
        explicit FrameDisabled(wxWindow* top) : frame(top && top->IsEnabled() ? top : nullptr) {
            if (frame) frame->Disable();
        }
        ~FrameDisabled() {
            if (frame) frame->Enable();
        }
    } disabled(wxGetTopLevelParent(this));
    const ListKind list = kItems[static_cast<int>(item)].list;
    if (list == ListKind::None) return ShowStartPage(item);
    if (links.pages) links.pages->OpenWalletPage(list);
}

void COutLookBarPage::ShowStartPage(NavItem item) {
    StartPage page = item == NavItem::Product ? StartPage::Product
                     : item == NavItem::Help  ? StartPage::Help
                                              : StartPage::Index;
    wxString address = StartPageAddress(page);
    if (links.webView && links.webView->GetOpenedPage() != address) links.webView->LoadPage(address);
    ReturnMainViewId();
    if (links.mainView) links.mainView->Hide();
    if (links.showListPane) links.showListPane(false);
    if (links.webView) links.webView->Show();
    RelayoutFrame();
}

void COutLookBarPage::ReturnMainViewId() {
    if (!links.mainView || !links.webView || links.mainView->GetId() != AFX_IDW_PANE_FIRST) return;
    links.mainView->SetId(links.webView->GetId());
    links.webView->SetId(AFX_IDW_PANE_FIRST);
}

void COutLookBarPage::ShowMainView() {
    if (!links.mainView || !links.webView) return;
    if (links.webView->GetId() == AFX_IDW_PANE_FIRST) {
        links.webView->SetId(links.mainView->GetId());
        links.mainView->SetId(AFX_IDW_PANE_FIRST);
    }
    links.webView->Hide();
    links.mainView->Show();
}

void COutLookBarPage::RelayoutFrame() {
    if (wxWindow* frame = wxGetTopLevelParent(this)) frame->Layout();
}

void COutLookBarPage::TakeStrip(wxWindow* window) {
    strip = window;
    if (strip->GetParent() != this) strip->Reparent(this);
    strip->Show();
    PostSizeEvent();
}

void COutLookBarPage::GiveBackStrip(wxWindow* newParent) {
    if (strip && strip->GetParent() == this) {
        strip->Hide();
        strip->Reparent(newParent);
    }
    strip = nullptr;
}

bool COutLookBarPage::OnCommand(int, int, void*) {
    return false;
}

void COutLookBarPage::OnSize(wxSizeEvent& event) {
    NavPageLayout layout = NavPageLayout::For(GetClientSize());
    tree->SetSize(layout.tree);
    if (strip && strip->GetParent() == this) strip->SetSize(layout.strip);
    Refresh();
    event.Skip();
}

void COutLookBarPage::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize client = GetClientSize();
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetPen(wxPen(kFrameGrey));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxRect(client));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kFrameGrey));
    dc.DrawRectangle(0, NavPageLayout::For(client).lineY, client.x, 3);
}
