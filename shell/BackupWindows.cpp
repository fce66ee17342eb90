#include "shell/BackupWindows.h"

#include <wx/frame.h>

#include "shell/TesseraApp.h"
#include "ui/dialogs/PasswordCheckDlg.h"
#include "ui/panes/OutLookBarPage.h"

std::u16string BackupWindows::MakeBackup(const std::function<void(const std::u16string&)>& listed) {
    // The page runs the wallet's flow first: the login, the list read.
    if (COutLookBarPage* page = TheApp().navPage) page->SelectList(ListKind::Backups);
    return session.Backup().Make(listed);
}

void BackupWindows::RestoreBackup(const std::u16string& name) {
    session.Backup().Restore(name, [this](CTesseraEncryptedLinkList& backup) {
        session.loginDialogOpen = true;
        CPasswordCheckDlg dialog(Module().host.frame, &backup, nullptr);
        dialog.ShowModal();
        session.loginDialogOpen = false;
        if (dialog.ok()) return BackupLogin::Accepted;
        return dialog.Attempts() >= LoginAttempts::kMaxAttempts ? BackupLogin::Refused
                                                                : BackupLogin::Cancelled;
    });
}
