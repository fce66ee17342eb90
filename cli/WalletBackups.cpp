#include "cli/WalletBackups.h"

#include <algorithm>
#include <functional>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/PasswordPrompt.h"
#include "cli/WalletSession.h"
#include "device/BackupMessages.h"
#include "device/TesseraBackup.h"
#include "device/WalletRestore.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

using BackupCommand = std::function<int(WalletSession&, CTesseraBackup&)>;

// Logs in, then runs the command on the backup list of the folder the phone's option record names.
int RunOnBackups(const WalletCommandOptions& options, std::istream& in, std::ostream& err, bool forChange,
                 const BackupCommand& command) {
    WalletSession session(options.phone);
    if (int status = session.Open(in, err, forChange)) return status;
    WalletLocation location = session.Location();
    PhoneOptionRecord record;
    CTesseraBackup backups;
    backups.folder = location.BackupFolder(record);
    if (backups.folder.empty()) {
        err << "tessera: the phone names no backup folder\n";
        return kExitFailed;
    }
    return command(session, backups);
}

std::u16string Name(const WalletCommandOptions& options) {
    return Utf8ToUtf16Lossy(options.backupName);
}

}  // namespace

int ListBackups(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunOnBackups(options, in, err, false, [&](WalletSession&, CTesseraBackup& backups) {
        backups.Scan();
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const backup_entry_struct& entry : backups.entries) {
            std::string name = Utf16ToUtf8Lossy(entry.name);
            if (options.json)
                list.push_back(
                    {{"name", name}, {"time", FormatLocalDateTime(entry.time)}, {"cards", entry.count}});
            else
                out << std::left << std::setw(40) << name << std::setw(21) << FormatLocalDateTime(entry.time)
                    << std::right << entry.count << "\n";
        }
        if (options.json) out << list.dump(2) << "\n";
        return kExitOk;
    });
}

int MakeBackup(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunOnBackups(options, in, err, false, [&](WalletSession& session, CTesseraBackup& backups) {
        std::u16string made =
            backups.Make(backups.folder, session.Location().WalletPath(), GetSystemTimeUtc(),
                         static_cast<uint32_t>(session.Data().cardCount()));
        if (made.empty()) {
            err << "tessera: " << kBackupFailedText << "\n";
            return kExitFailed;
        }
        std::string done = kBackupDoneText;
        out << done.replace(done.find("%s"), 2, Utf16ToUtf8Lossy(made)) << "\n";
        return kExitOk;
    });
}

int RemoveBackup(const WalletCommandOptions& options, std::istream& in, std::ostream&, std::ostream& err) {
    return RunOnBackups(options, in, err, false, [&](WalletSession&, CTesseraBackup& backups) {
        // Only what `backup list` shows: any other file in the folder may be a store the user keeps there.
        backups.Scan();
        std::u16string name = Name(options);
        if (std::none_of(backups.entries.begin(), backups.entries.end(),
                         [&](const backup_entry_struct& entry) { return entry.name == name; })) {
            err << "tessera: no backup named " << options.backupName << " (tessera backup list shows them)\n";
            return kExitFailed;
        }
        if (backups.Delete(name)) return kExitOk;
        err << "tessera: cannot delete the backup " << options.backupName << "\n";
        return kExitFailed;
    });
}

int RestoreWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    return RunOnBackups(options, in, err, true, [&](WalletSession& session, CTesseraBackup& backups) {
        bool wrongPassword = false;
        RestoreResult result = RestoreBackup(
            backups.folder, Name(options), session.Location().WalletPath(),
            [&](CTesseraEncryptedLinkList& backup) {
                SecureBytes password;
                if (!ReadSecret("Backup password: ", options.phone.passwordStdin, in, password, err))
                    return BackupLogin::Cancelled;
                wrongPassword = !backup.CheckPassword(password.data(), password.size());
                return wrongPassword ? BackupLogin::Refused : BackupLogin::Accepted;
            });
        if (result == RestoreResult::Restored) {
            out << kRestoreDoneText << "\n";
            return kExitOk;
        }
        if (result == RestoreResult::Unreadable) err << "tessera: " << kReadBackupFailedText << "\n";
        if (result == RestoreResult::Unfinished)
            err << "tessera: " << kRestoreUnfinishedText << "\n";
        else if (result != RestoreResult::Cancelled)
            err << "tessera: " << kRestoreFailedText << "\n";
        return wrongPassword ? kExitWrongPassword : kExitFailed;
    });
}
