#pragma once
// The rules of the plug-in's backups, without windows: the list the backup page shows, a backup of the
// open wallet made on the phone, a backup deleted, and a backup restored over the wallet, each with
// what the user is to be told (a BackupNotice; the words are the string table's). The wallet session
// owns the rules; the windows are given them and drive them.
#include <cstdint>
#include <functional>
#include <string>

#include "device/PhoneOptionRecord.h"
#include "device/TesseraBackup.h"
#include "device/WalletLocation.h"

// Made names the new backup; Unreadable is told before RestoreFailed.
enum class BackupNotice { Made, MakeFailed, Restored, Unreadable, RestoreFailed, RestoreUnfinished };

class BackupRules {
public:
    // What the rules use of the wallet session: where the wallet is, the option record that names the
    // backup folder, whether the wallet is open and logged in, and its number of cards.
    struct Wallet {
        WalletLocation& location;
        PhoneOptionRecord& options;
        std::function<bool()> open;
        std::function<uint32_t()> cardCount;
    };
    using Tell = std::function<void(BackupNotice notice, const std::u16string& name)>;

    BackupRules(Wallet wallet, Tell tell) : wallet(std::move(wallet)), tell(std::move(tell)) {}

    bool WalletOpen() const { return wallet.open(); }
    // With the wallet open and a backup folder named on the phone: the wallet copied there, its entry
    // appended to the list (which `listed` shows), then Made told. The new backup's name, or empty
    // (MakeFailed told when the copy failed).
    std::u16string Make(const std::function<void(const std::u16string&)>& listed = {});
    // The named backup restored over the wallet once its own password is accepted (a wrong one counts for
    // no lockout); what came of it told, nothing when the question was cancelled. True when restored.
    bool Restore(const std::u16string& name, const BackupPasswordCheck& askPassword);
    // The backup's file, over the calling thread's connection (a worker may call it); 1 when deleted.
    int DeleteFile(const std::u16string& name) const { return list.DeleteFile(name); }
    // Then, on the thread that owns the list, its entry leaves the list.
    void Forget(const std::u16string& name) { list.RemoveEntry(name); }

    // The list the backup page shows; it is read once per connection (ListRead), or made known by a backup.
    CTesseraBackup& List() { return list; }
    const CTesseraBackup& List() const { return list; }
    bool ListRead() const { return listRead; }
    void SetListRead(bool read) { listRead = read; }
    // The phone went away: no list.
    void Clear();

private:
    Wallet wallet;
    Tell tell;
    CTesseraBackup list;
    bool listRead = false;
};
