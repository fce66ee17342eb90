#include "ui/panes/BackupCommands.h"

#include "ui/panes/ListBar.h"

namespace {

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

bool RunBackupCommand(CListBar& bar, BackupActions* actions) {
    if (actions) actions->MakeBackup([&bar](const std::u16string&) { ShowNewBackup(bar); });
    return true;
}
