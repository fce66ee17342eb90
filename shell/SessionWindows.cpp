#include "shell/SessionWindows.h"

#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "shell/HostRequest.h"
#include "shell/TesseraApp.h"
#include "ui/controls/WxText.h"
#include "ui/dialogs/PasswordCheckDlg.h"
#include "ui/dialogs/ProgressDlg.h"
#include "ui/panes/ListBar.h"
#include "ui/panes/MyView.h"
#include "ui/panes/OutLookBarPage.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

long IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return wxICON_INFORMATION;
        case MessageIcon::Error:
            return wxICON_ERROR;
        case MessageIcon::Stop:
            return wxICON_STOP;
        case MessageIcon::None:
            break;
    }
    return 0;
}

wxString MessageText(const SessionMessage& message) {
    wxString text = LoadResString(message.text);
    if (text.Contains("%d")) return wxString::Format(text, message.number);
    if (text.Contains("%s")) return wxString::Format(text, ToWx(message.name));
    return text;
}

wxWindow* Parent() {
    return Module().host.frame;
}

}  // namespace

void SessionWindows::Message(const SessionMessage& message) {
    wxMessageBox(MessageText(message), LoadResString(IDS_APP_CAPTION), wxOK | IconStyle(message.icon),
                 Parent());
}

void SessionWindows::PostHostExit() {
    if (wxWindow* frame = Parent()) wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, ID_APP_EXIT));
}

void SessionWindows::AskHost(uint32_t request, const std::function<bool()>& keepWaiting) {
    wxBusyCursor wait;
    ::AskHost(app.hostRequest, request, keepWaiting);
}

void SessionWindows::ReadWithProgress(unsigned title, unsigned text, const std::function<void()>& work) {
    wxWindow* parent = app.navPage ? static_cast<wxWindow*>(app.navPage) : Parent();
    RunWithProgress(parent, LoadResString(title), LoadResString(text), work);
}

LoginResult SessionWindows::Login(CTesseraEncryptedLinkList& store, CTesseraEncryptedLinkList& templates,
                                  const CountedCheck& counted) {
    CPasswordCheckDlg dialog(Parent(), &store, &templates, counted);
    dialog.ShowModal();
    return {dialog.ok(), dialog.Verdict(), dialog.TemplatesLocked()};
}

bool SessionWindows::StartLockoutTimer() {
    return app.navPage && app.navPage->StartLockoutTimer();
}

bool SessionWindows::StopLockoutTimer() {
    return app.navPage && app.navPage->StopLockoutTimer();
}

void SessionWindows::ShowList(ListKind kind) {
    if (!app.listBar) return;
    const ListKind shown = app.listBar->Content().Kind();
    if (!app.listBar->ShowList(kind)) {
        // The view kept an edit the phone refused: the tree goes back to the list still shown.
        if (app.navPage && shown != ListKind::None)
            app.navPage->SelectWithoutPage(COutLookBarPage::ItemOf(shown));
        return;
    }
    if (wxAuiManager* manager = wxAuiManager::GetManager(Parent())) {
        wxAuiPaneInfo& pane = manager->GetPane(app.listBar);
        if (pane.IsOk() && !pane.IsShown()) {
            pane.Show();
            manager->Update();
        }
    }
    if (app.navPage) app.navPage->ShowMainView();
    if (Parent()) Parent()->Layout();
}

void SessionWindows::ShowStartPage() {
    if (app.shown && app.navPage) app.navPage->ShowStartPage(NavItem::Root);
}

void SessionWindows::SelectRootItem() {
    if (app.navPage) app.navPage->SelectRootItem();
}

void SessionWindows::CloseOpenItems() {
    if (app.view) app.view->LockEditing();
    if (app.listBar) app.listBar->EndOwnDialog();
}

void SessionWindows::EnableEditing(bool enable) {
    CMyView* view = app.view;
    if (!view) return;
    // Editing ends only when the session resets.
    if (!enable) view->ForgetRecord();
    view->Enable(enable);
}

bool SessionWindows::ListBusy() {
    return app.listBar && app.listBar->IsBusy();
}
