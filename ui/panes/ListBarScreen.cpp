// What the list pane's commands ask of its window: the selection marks, the questions and dialogs, the
// progress window; and the rules' enabling of the menus and tools.
#include <wx/aui/framemanager.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/textentry.h>
#include <wx/toolbar.h>

#include <utility>

#include "model/Data.h"
#include "ui/controls/UiThread.h"
#include "ui/controls/WxText.h"
#include "ui/dialogs/ProgressDlg.h"
#include "ui/dialogs/TemplateDlg.h"
#include "ui/dialogs/Tessera_DeleteCategoryDlg.h"
#include "ui/panes/BackupCommands.h"
#include "ui/panes/ExportCommand.h"
#include "ui/panes/ImportCommand.h"
#include "ui/panes/ListBar.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

void CListBar::ApplyRule(wxUpdateUIEvent& event) {
    std::optional<CommandStatus> rule = CommandRule(event.GetId(), State());
    if (!rule) return;
    event.Enable(rule->enabled);
    // Only the "Arranged by" items and the list pane's carry a check mark.
    if (ArrangeKeyOf(event.GetId()) || event.GetId() == ID_VIEW_LIST_PANE) event.Check(rule->checked);
}

// Ctrl+C and Ctrl+A are also the shortcuts of New Category and Select All. While a text box has the
// focus they copy or select its text, as they do everywhere else; from the menu or the toolbar the
// commands still run.
bool CListBar::TextShortcut(int id, const wxCommandEvent* event) {
    if (id != ID_NEW_CATEGORY && id != ID_SELECT_ALL) return false;
    const wxObject* source = event ? event->GetEventObject() : nullptr;
    if (wxDynamicCast(source, wxMenu) || wxDynamicCast(source, wxToolBar)) return false;
    auto* entry = dynamic_cast<wxTextEntry*>(wxWindow::FindFocus());
    if (!entry) return false;
    if (id == ID_NEW_CATEGORY) {
        entry->Copy();
    } else {
        entry->SelectAll();
    }
    return true;
}

std::vector<int> CListBar::SelectedRows() const {
    std::vector<int> rows;
    for (long row = List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = List()->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(row));
    return rows;
}

int CListBar::FocusedRow() const {
    return static_cast<int>(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED));
}

void CListBar::Select(const std::vector<int>& rows, int focus) {
    const bool told = std::exchange(notify, false);
    List()->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (int row : rows) List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (focus >= 0) {
        List()->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
        List()->EnsureVisible(focus);
    }
    notify = told;
}

void CListBar::RowsChanged() {
    RefillRows();
    UpdateTitle();
}

void CListBar::RowDeleted(int row) {
    List()->DeleteItem(row);
}

std::u16string CListBar::Text(unsigned id) const {
    return FromWx(LoadResString(id));
}

bool CListBar::Ask(unsigned text, unsigned caption) {
    return wxMessageBox(LoadResString(text), LoadResString(caption), wxYES_NO | wxICON_QUESTION,
                        wxGetTopLevelParent(this)) == wxYES;
}

void CListBar::Tell(unsigned text) {
    wxMessageBox(LoadResString(text), LoadResString(IDS_APP_CAPTION), wxOK, wxGetTopLevelParent(this));
}

std::optional<bool> CListBar::AskDeleteCategory() {
    Tessera_DeleteCategoryDlg dialog(wxGetTopLevelParent(this));
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.deleteCards != 0;
}

// The lock ends the dialog as no choice.
std::optional<int32_t> CListBar::ChooseTemplate() {
    CTemplateDlg dialog(wxGetTopLevelParent(this), &commands.Data(), links.icons);
    endOwnDialog = [&dialog] { dialog.EndAsNoChoice(); };
    const int result = dialog.ShowModal();
    endOwnDialog = nullptr;
    if (result != wxID_OK) return std::nullopt;
    return dialog.TemplateId();
}

void CListBar::EndOwnDialog() {
    if (endOwnDialog) endOwnDialog();
}

// The frame takes no input and the rows' selection events go unheard until the work has ended.
void CListBar::RunWithProgress(const std::function<void()>& work) {
    wxWindow* top = wxGetTopLevelParent(this);
    top->Disable();
    notify = false;
    List()->Freeze();
    ::RunWithProgress(top, LoadResString(IDS_DELETE_TITLE), LoadResString(IDS_DELETING), work);
    List()->Thaw();
    notify = true;
    top->Enable();
    LayoutList();
}

void CListBar::OnScreenThread(const std::function<void()>& work) {
    RunOnUiThread(work);
}

void CListBar::ClearFindBox() {
    if (wxComboBox* box = FindBox()) box->ChangeValue(wxEmptyString);
}

// The box and its tool are enabled at once (the rules' enabling follows on idle): the toolkit gives no
// focus to a disabled box, and keys typed then would reach no control. Escape in the box turns Find off.
void CListBar::FocusFindBox() {
    wxComboBox* box = FindBox();
    if (!box) return;
    if (!std::exchange(findBoxBound, true)) box->Bind(wxEVT_CHAR_HOOK, &CListBar::OnFindBoxKey, this);
    if (auto* bar = wxDynamicCast(box->GetParent(), wxToolBar)) bar->EnableTool(ID_FIND_BOX, true);
    box->Enable();
    box->SetFocus();
}

void CListBar::OnFindBoxKey(wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_ESCAPE || !commands.FindMode()) return event.Skip();
    commands.Run(ID_FIND);
    List()->SetFocus();
}

void CListBar::Backup() {
    RunBackupCommand(*this, links.backupActions);
}

void CListBar::Export() {
    RunExportCommand(this, commands.Data(), links.commands.walletOpen && links.commands.walletOpen());
}

void CListBar::Import() {
    RunImportCommand(this, commands.Data(), links.commands.gate,
                     links.commands.walletOpen && links.commands.walletOpen());
}

void CListBar::ShowPane(bool show) {
    wxAuiManager* manager = wxAuiManager::GetManager(this);
    if (!manager || !manager->GetPane(this).IsOk()) return;
    manager->GetPane(this).Show(show);
    manager->Update();
}

void CListBar::OnListKey(wxListEvent& event) {
    if (event.GetKeyCode() == WXK_DELETE || event.GetKeyCode() == WXK_NUMPAD_DELETE) {
        OnCommand(ID_DELETE, plugin::kCodeCommand, nullptr);
    } else {
        event.Skip();
    }
}
