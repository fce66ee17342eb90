#pragma once
// The wallet's backups on the phone: whole copies of the wallet file in the backup folder that the
// phone application's option record names. The list is read on a worker thread with a connection
// of its own.

#include <cstdint>
#include <string>
#include <vector>

#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "platform/SystemTime.h"

struct backup_entry_struct {
    std::u16string name;  // inside the backup folder
    SYSTEMTIME time{};    // the backup store header's time (UTC)
    uint32_t count = 0;   // its number of records
};

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

    std::u16string folder;
    std::vector<backup_entry_struct> entries;
};
