#pragma once
// The Backup command of the list pane, and what the list pane and the main view's backup pane ask of
// the plug-in's backups. The shell gives the actions to each window when it makes it.
#include <functional>
#include <string>

class CListBar;
class CTesseraBackup;

class BackupActions {
public:
    virtual ~BackupActions() = default;
    // The wallet is open and logged in.
    virtual bool WalletOpen() const = 0;
    // Opens the backup page, then makes a backup of the wallet on the phone and tells the user; the new
    // backup's name, or empty.
    virtual std::u16string MakeBackup(const std::function<void(const std::u16string&)>& listed) = 0;
    // Asks for the backup's password and restores it over the wallet, telling the user.
    virtual void RestoreBackup(const std::u16string& name) = 0;
    virtual CTesseraBackup& Backups() = 0;
};

// Command 32003: a backup made; when the pane shows the backup list, the new backup's row is added and
// selected. Always handled; nothing is done without actions.
bool RunBackupCommand(CListBar& bar, BackupActions* actions);
