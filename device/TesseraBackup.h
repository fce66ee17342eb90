#pragma once
// The wallet's backups on the phone: whole copies of the wallet file in the backup folder that the
// phone application's option record names. The list is read on a worker thread with a connection
// of its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "platform/SystemTime.h"

struct backup_entry_struct {
    std::u16string name;  // inside the backup folder
    SYSTEMTIME time{};    // UTC: the backup store header's time, or when the backup was made
    uint32_t count = 0;   // its number of records
};

class CTesseraEncryptedLinkList;

// How the password of a backup was asked for: accepted, refused after the last wrong one, or the
// question cancelled.
enum class BackupLogin { Accepted, Refused, Cancelled };
// Asks for the backup's password and checks it against the backup's store.
using BackupPasswordCheck = std::function<BackupLogin(CTesseraEncryptedLinkList& backup)>;

// What a restore came to. Unreadable: the backup does not open as a wallet store, or a record of it does not
// decrypt. Cancelled: the password question was cancelled. Unfinished: an earlier restore's files lie beside
// the wallet, which `tessera repair` settles first. Only Restored changed the wallet.
enum class RestoreResult { Restored, Failed, Unreadable, Cancelled, Unfinished };

// A manual backup's target path stays below this many UTF-16 units.
inline constexpr size_t kBackupPathLimit = 210;

class CTesseraBackup {
public:
    // The worker's whole job: its own connection, the backup folder taken from the location (and the
    // option record), then the scan. The scan's result, or 0 without a connection. It works on copies:
    // the user-interface thread keeps using its own location and record meanwhile.
    int ReadList(WalletLocation location, PhoneOptionRecord options);
    // Lists "Backup*.*" in the folder and keeps each file that opens as a wallet store (no password is
    // needed to read a store's header and records). 1 when the listing found a file; 0, with nothing
    // changed, for an empty folder.
    int Scan();
    void Clear();

    // Copies the wallet file into the backup folder (made when missing) under the stamped name of the
    // time (UTC, named in local time), with "_1" appended while that name is taken (also when another
    // program's backup takes it during the copy, which never overwrites), and appends its entry (that
    // time, cardCount). The new file's name, or empty when no backup was made.
    std::u16string Make(const std::u16string& backupFolder, const std::u16string& walletPath,
                        const SYSTEMTIME& utcNow, uint32_t cardCount);
    // The backup's file on the phone, over the calling thread's connection; only reads the folder, so
    // a worker may call it while the user-interface thread reads the list. 1 when deleted.
    int DeleteFile(const std::u16string& name) const;
    // Removes the first entry of exactly that name.
    void RemoveEntry(const std::u16string& name);
    // Both: the file, then, when it went, its entry. The phone's result.
    int Delete(const std::u16string& name);
    // "Backup(Manual).YYYYMMDDhhmmss" of the time in local time.
    static std::u16string StampedName(const SYSTEMTIME& utc);

    std::u16string folder;
    std::vector<backup_entry_struct> entries;
};

// `path` followed by "_1" as often as needed for a name that does not exist on the phone; false when
// the name would grow past 258 units first.
bool FreeTempName(const std::u16string& path, std::u16string& free);
// A backup is a "Backup*" file inside its folder: a name that reaches out of it is none.
bool IsBackupName(const std::u16string& name);
