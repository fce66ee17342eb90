#include "device/TesseraBackup.h"

#include <algorithm>

#include "device/DeviceFiles.h"
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
