#pragma once
// Restoring a backup over the wallet W so that a cut at any step leaves the old wallet or the restored one,
// and settling what a cut restore left beside W. The restore copies the backup to W.restore (never over a
// file), checks that the copy opens with the backup's password and that every record decrypts, moves W
// aside to W_1, moves W.restore to W and deletes W_1. Each step leaves a state that the names tell apart:
//   W and W.restore             the copy never replaced the wallet: W stays, the copy goes
//   W.restore and W_1, no W     the checked copy is whole: it becomes W
//   W and W_1                   the restore had finished: W_1 goes
// Earlier versions copied W to W.bak first and copied the backup straight over W; those names count too.

#include <string>
#include <vector>

#include "device/TesseraBackup.h"

// Replaces the wallet with the backup of that name in the folder, once the backup's own password is
// accepted (asked against the copy about to replace the wallet). Unfinished, with nothing changed, while an
// earlier restore's files lie beside the wallet.
RestoreResult RestoreBackup(const std::u16string& folder, const std::u16string& name,
                            const std::u16string& walletPath, const BackupPasswordCheck& askPassword);

// What an unfinished restore left beside the wallet, found by listing its folder.
struct RestoreLeftovers {
    bool wallet = false;                 // W itself is there
    bool copy = false;                   // W.restore
    bool safety = false;                 // W.bak
    std::vector<std::u16string> asides;  // W_1, W_1_1, ...: the latest (longest) first

    bool Unfinished() const { return copy || safety || !asides.empty(); }
};
RestoreLeftovers FindRestoreLeftovers(const std::u16string& walletPath);

enum class RestoreSettlement { Nothing, Settled, Refused };
// Ends an unfinished restore: keeps W when it is whole or the copy never replaced it, else the whole restored
// copy (finishing), else the latest whole wallet moved aside or W.bak (rolling back); then deletes the rest.
// "Whole" is a store that opens: its checksum covers everything after the header, so a cut copy is not.
// With checkOnly nothing changes. `report` says what was found and what is (or would be) kept.
RestoreSettlement SettleRestore(const std::u16string& walletPath, bool checkOnly, std::string& report);
