#include "device/TesseraBackup.h"

#include <algorithm>

#include "device/DeviceFiles.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "store/TesseraEncryptedLinkList.h"

int CTesseraBackup::ReadList(WalletLocation location, PhoneOptionRecord options) {
    RapiConnection connection;
    if (!connection.Ok()) return 0;
    folder = location.BackupFolder(options);
    return Scan();
}

int CTesseraBackup::Scan() {
    if (folder.empty()) return 0;
    entries.clear();
    DynamicList<CE_FIND_DATA> found;
    std::u16string pattern = folder + u"\\Backup*.*";
    if (!DeviceListEntries(pattern.c_str(), found) || found.count == 0) return 0;
    for (auto* node = found.head; node; node = node->next) {
        const char16_t* units = node->element.cFileName;
        std::u16string name(units, std::find(units, units + MAX_PATH, u'\0'));
        CTesseraEncryptedLinkList store(folder + u"\\" + name, kWalletFileType);
        if (store.Open() != CTesseraEncryptedLinkList::kOpened) continue;
        entries.push_back({name, store.ModifiedTime(), static_cast<uint32_t>(store.records.count)});
    }
    return 1;
}

void CTesseraBackup::Clear() {
    folder.clear();
    entries.clear();
}

namespace {

constexpr size_t kTempNameLimit = 258;
constexpr char16_t kTaken[] = u"_1";

bool Exists(const std::u16string& path) {
    return DeviceFileExists(path.c_str()) != 0;
}

std::u16string InFolder(const std::u16string& folder, const std::u16string& name) {
    return folder + u"\\" + name;
}

}  // namespace

std::u16string CTesseraBackup::StampedName(const SYSTEMTIME& utc) {
    return u"Backup(Manual)." + Utf8ToUtf16Lossy(FormatLocal(utc, "%Y%m%d%H%M%S"));
}

std::u16string CTesseraBackup::Make(const std::u16string& backupFolder, const std::u16string& walletPath,
                                    const SYSTEMTIME& utcNow, uint32_t cardCount) {
    if (backupFolder.empty() || walletPath.empty()) return {};
    if (!DeviceCreateDirectoryPath(backupFolder.c_str())) return {};
    std::u16string name = StampedName(utcNow);
    for (;; name += kTaken) {
        std::u16string target = InFolder(backupFolder, name);
        if (target.size() >= kBackupPathLimit) return {};
        if (Exists(target)) continue;
        if (DeviceCopyFile(walletPath.c_str(), target.c_str(), true)) break;
        if (CeGetLastError() != ERROR_FILE_EXISTS) return {};
    }
    if (folder != backupFolder) {
        // The option record names another folder now: the list follows it.
        folder = backupFolder;
        entries.clear();
    }
    entries.push_back({name, utcNow, cardCount});
    return name;
}

int CTesseraBackup::DeleteFile(const std::u16string& name) const {
    if (folder.empty() || !IsBackupName(name)) return 0;
    return DeviceDeleteFile(InFolder(folder, name).c_str());
}

void CTesseraBackup::RemoveEntry(const std::u16string& name) {
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const backup_entry_struct& entry) { return entry.name == name; });
    if (found != entries.end()) entries.erase(found);
}

int CTesseraBackup::Delete(const std::u16string& name) {
    int deleted = DeleteFile(name);
    if (deleted) RemoveEntry(name);
    return deleted;
}

bool IsBackupName(const std::u16string& name) {
    return name.starts_with(u"Backup") && name.find_first_of(u"\\/") == std::u16string::npos;
}

bool FreeTempName(const std::u16string& path, std::u16string& free) {
    if (path.empty()) return false;
    std::u16string candidate = path;
    while (candidate.size() + 2 <= kTempNameLimit) {
        candidate += kTaken;
        if (!Exists(candidate)) {
            free = candidate;
            return true;
        }
    }
    return false;
}
