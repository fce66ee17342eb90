#include "ui/panes/BackupCommands.h"

#include "device/TesseraBackup.h"
#include "ui/panes/ListBar.h"

namespace {

BackupActions* given = nullptr;

// The backup list, when shown, takes the new backup as its last row, selected.
void ShowNewBackup(CListBar& bar) {
    if (bar.Content().Kind() != ListKind::Backups) return;
    bar.ShowList(ListKind::Backups);
    wxListCtrl* list = bar.List();
    long last = list->GetItemCount() - 1;
    if (last < 1) return;  // the one row is selected already
    list->SetItemState(0, 0, wxLIST_STATE_SELECTED);
    list->SetItemState(last, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(last);
}

}  // namespace

void SetBackupActions(BackupActions* actions) {
    given = actions;
}

BackupActions* GetBackupActions() {
    return given;
}

bool RunBackupCommand(CListBar& bar) {
    if (!given) return true;
    given->MakeBackup([&bar](const std::u16string&) { ShowNewBackup(bar); });
    return true;
}

int DeleteBackupFile(const std::u16string& name) {
    return given ? given->Backups().DeleteFile(name) : 0;
}

void ForgetBackup(const std::u16string& name) {
    if (given) given->Backups().RemoveEntry(name);
}
