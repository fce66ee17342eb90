#include "device/WalletRestore.h"

#include <algorithm>

#include "device/DeviceFiles.h"
#include "diag/STLogFile.h"
#include "platform/Utf16.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

// The restore's failures are logged under these source positions, which the log has always named.
constexpr char kLogSource[] = "TesseraBackup";
constexpr int kTempNameLine = 86, kMoveLine = 92, kCopyLine = 99;
constexpr char16_t kCopySuffix[] = u".restore";
constexpr char16_t kSafetySuffix[] = u".bak";
constexpr char16_t kTaken[] = u"_1";

bool Exists(const std::u16string& path) {
    return DeviceFileExists(path.c_str()) != 0;
}

bool Whole(const std::u16string& path) {
    CTesseraEncryptedLinkList store(path, kWalletFileType);
    return store.Open() == CTesseraEncryptedLinkList::kOpened;
}

// Every record of the unlocked store decrypts and parses.
bool RecordsDecrypt(CTesseraEncryptedLinkList& store) {
    for (auto* node = store.records.head; node; node = node->next) {
        SecureBytes plain;
        CTesseraItem item;
        if (!store.GetRecordData(&node->element, &plain) || !item.Deserialize(plain.data(), plain.size()))
            return false;
    }
    return true;
}

// The copy, once checked, replaces the wallet: the wallet moves aside, the copy moves in, the aside goes.
// A failed move-in puts the wallet back; should that fail too, the whole copy is left for repair to move in.
RestoreResult Replace(const std::u16string& copy, const std::u16string& walletPath) {
    std::u16string aside;
    if (!FreeTempName(walletPath, aside)) {
        CSTLogFile::Instance().Write(kLogSource, kTempNameLine, "AutoGetTempFileName() failed!");
        return RestoreResult::Failed;
    }
    if (!DeviceMoveFile(walletPath.c_str(), aside.c_str())) {
        CSTLogFile::Instance().Write(kLogSource, kMoveLine,
                                     "CTMoveFile(lpszDataFile, szTempFileName) failed!");
        return RestoreResult::Failed;
    }
    if (!DeviceMoveFile(copy.c_str(), walletPath.c_str())) {
        ST_LOG("Restore: the checked copy could not replace the wallet");
        DeviceMoveFile(aside.c_str(), walletPath.c_str());
        return RestoreResult::Failed;
    }
    // When this fails the wallet is restored all the same; check reports the aside copy, repair deletes it.
    if (!DeviceDeleteFile(aside.c_str())) ST_LOG("Restore: the old wallet stays beside the restored one");
    return RestoreResult::Restored;
}

// The copy is asked the backup's password and checked whole before anything else changes.
RestoreResult CheckAndReplace(const std::u16string& copy, const std::u16string& walletPath,
                              const BackupPasswordCheck& askPassword) {
    CTesseraEncryptedLinkList restored(copy, kWalletFileType);
    if (restored.Open() != CTesseraEncryptedLinkList::kOpened) return RestoreResult::Unreadable;
    BackupLogin login = askPassword(restored);
    if (login != BackupLogin::Accepted)
        return login == BackupLogin::Cancelled ? RestoreResult::Cancelled : RestoreResult::Failed;
    if (!RecordsDecrypt(restored)) {
        ST_LOG("Restore refused: a record of the backup does not decrypt");
        return RestoreResult::Unreadable;
    }
    return Replace(copy, walletPath);
}

// A name W_1, W_1_1, ... of the wallet named `wallet`.
bool AsideName(const std::u16string& name, const std::u16string& wallet) {
    if (name.size() <= wallet.size() || (name.size() - wallet.size()) % 2 || !name.starts_with(wallet))
        return false;
    for (size_t at = wallet.size(); at < name.size(); at += 2)
        if (name.compare(at, 2, kTaken) != 0) return false;
    return true;
}

std::string Names(const RestoreLeftovers& found, const std::u16string& walletPath) {
    std::string names;
    auto add = [&](const std::u16string& path) {
        names += (names.empty() ? "" : ", ") + Utf16ToUtf8Lossy(path.substr(path.rfind(u'\\') + 1));
    };
    if (found.copy) add(walletPath + kCopySuffix);
    for (const std::u16string& aside : found.asides) add(aside);
    if (found.safety) add(walletPath + kSafetySuffix);
    return names;
}

// The file to keep as the wallet, or empty when none is whole.
std::u16string Keeper(const RestoreLeftovers& found, const std::u16string& walletPath) {
    // With the copy still beside it, the wallet was never moved aside: it stays, whole or cut by a save.
    if (found.wallet && (found.copy || Whole(walletPath))) return walletPath;
    std::u16string copy = walletPath + kCopySuffix;
    if (!found.wallet && found.copy && Whole(copy)) return copy;
    for (const std::u16string& aside : found.asides)
        if (Whole(aside)) return aside;
    std::u16string safety = walletPath + kSafetySuffix;
    return found.safety && Whole(safety) ? safety : std::u16string();
}

// Puts `keeper` in the wallet's place (a cut wallet first takes the copy's name, so that every step leaves a
// state settled the same way), then deletes the other leftovers.
bool Settle(const RestoreLeftovers& found, const std::u16string& keeper, const std::u16string& walletPath) {
    std::u16string copy = walletPath + kCopySuffix;
    if (keeper != walletPath) {
        if (found.wallet && !DeviceMoveFile(walletPath.c_str(), copy.c_str())) return false;
        if (!DeviceMoveFile(keeper.c_str(), walletPath.c_str())) return false;
    }
    bool deleted = true;
    auto drop = [&](const std::u16string& path) {
        if (path != keeper && Exists(path)) deleted = DeviceDeleteFile(path.c_str()) && deleted;
    };
    drop(copy);
    for (const std::u16string& aside : found.asides) drop(aside);
    drop(walletPath + kSafetySuffix);
    return deleted;
}

std::string KeptText(const std::u16string& keeper, const std::u16string& walletPath) {
    if (keeper == walletPath) return "the wallet as it is";
    if (keeper == walletPath + kCopySuffix) return "the restored copy (the restore is finished)";
    return Utf16ToUtf8Lossy(keeper.substr(keeper.rfind(u'\\') + 1)) + ", the wallet from before the restore";
}

}  // namespace

RestoreResult RestoreBackup(const std::u16string& folder, const std::u16string& name,
                            const std::u16string& walletPath, const BackupPasswordCheck& askPassword) {
    if (folder.empty() || walletPath.empty() || name.empty()) return RestoreResult::Cancelled;
    std::u16string path = folder + u"\\" + name;
    if (!IsBackupName(name) || !Exists(path)) return RestoreResult::Failed;
    if (FindRestoreLeftovers(walletPath).Unfinished()) return RestoreResult::Unfinished;
    std::u16string copy = walletPath + kCopySuffix;
    if (!DeviceCopyFile(path.c_str(), copy.c_str(), true)) {
        CSTLogFile::Instance().Write(kLogSource, kCopyLine,
                                     "CTCopyFile(lpszBakFullFileName,lpszDataFile,FALSE) failed!");
        return RestoreResult::Failed;
    }
    RestoreResult result = CheckAndReplace(copy, walletPath, askPassword);
    // Unless it moved in, the copy goes: the wallet is in its place or moved aside.
    if (result != RestoreResult::Restored) DeviceDeleteFile(copy.c_str());
    return result;
}

RestoreLeftovers FindRestoreLeftovers(const std::u16string& walletPath) {
    RestoreLeftovers found;
    size_t slash = walletPath.rfind(u'\\');
    if (slash == std::u16string::npos) return found;
    std::u16string folder = walletPath.substr(0, slash + 1), wallet = walletPath.substr(slash + 1);
    DynamicList<CE_FIND_DATA> entries;
    DeviceListEntries((walletPath + u"*").c_str(), entries);
    for (auto* node = entries.head; node; node = node->next) {
        const char16_t* units = node->element.cFileName;
        std::u16string name(units, std::find(units, units + MAX_PATH, u'\0'));
        found.wallet |= name == wallet;
        found.copy |= name == wallet + kCopySuffix;
        found.safety |= name == wallet + kSafetySuffix;
        if (AsideName(name, wallet)) found.asides.push_back(folder + name);
    }
    std::sort(found.asides.begin(), found.asides.end(),
              [](const std::u16string& a, const std::u16string& b) { return a.size() > b.size(); });
    return found;
}

RestoreSettlement SettleRestore(const std::u16string& walletPath, bool checkOnly, std::string& report) {
    RestoreLeftovers found = FindRestoreLeftovers(walletPath);
    if (!found.Unfinished()) return RestoreSettlement::Nothing;
    report = "an unfinished restore left " + Names(found, walletPath);
    std::u16string keeper = Keeper(found, walletPath);
    if (keeper.empty()) {
        report += "; none of them is a whole wallet, so they are left alone";
        return RestoreSettlement::Refused;
    }
    report += (checkOnly ? "; repair keeps " : "; kept ") + KeptText(keeper, walletPath);
    if (checkOnly || Settle(found, keeper, walletPath)) return RestoreSettlement::Settled;
    report += ", but a move or delete on the phone failed: run it again";
    return RestoreSettlement::Refused;
}
