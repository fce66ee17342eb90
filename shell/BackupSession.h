#pragma once
// The backups as the plug-in's commands use them: a backup of the open wallet made on the phone, and a
// backup restored over the wallet, with what the user is told. A plain class over the session; the
// windows drive it.
#include <functional>
#include <string>

#include "device/TesseraBackup.h"

class CData;
class PluginSession;

class BackupSession {
public:
    BackupSession(PluginSession& session, CData& data) : session(session), data(data) {}

    // With the wallet open and logged in, and a backup folder named on the phone: the wallet copied
    // there, the entry appended to the list, and the user told. The new backup's name, or empty.
    std::u16string Make(const std::function<void(const std::u16string&)>& listed = {});
    // The named backup restored over the wallet after its own password is accepted (a wrong one counts
    // for no lockout); the user told, and on success the host told to exit. 1 when restored.
    int Restore(const std::u16string& name, const BackupPasswordCheck& askPassword);
    // The list the backup page shows; a deletion changes it.
    CTesseraBackup& List();
    bool WalletOpen() const;

private:
    void Message(unsigned text, const std::u16string& name = {});

    PluginSession& session;
    CData& data;
};
