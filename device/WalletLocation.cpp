#include "device/WalletLocation.h"

#include "device/DeviceFiles.h"
#include "platform/rapi/api/Rapi.h"

namespace {

constexpr DWORD kInstallPathBytes = 2 * MAX_PATH;

// The install folder as the registry holds it; empty on any failure.
std::u16string QueryInstallDir() {
    HKEY key = nullptr;
    if (CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, kTesseraRegistryKey, 0, 0, &key) != ERROR_SUCCESS) return {};
    char16_t buffer[MAX_PATH + 1] = {};  // one unit more, so an unterminated value still ends
    DWORD size = kInstallPathBytes;
    LONG result = CeRegQueryValueEx(key, kInstallPathValue, nullptr, nullptr, reinterpret_cast<uint8_t*>(buffer),
                                    &size);
    CeRegCloseKey(key);
    return result == ERROR_SUCCESS ? std::u16string(buffer) : std::u16string();
}

}  // namespace

bool WalletLocation::Locate() {
    installDirKnown = false;
    std::u16string dir = QueryInstallDir();
    // Each path must fit the phone's limit with its terminator.
    if (dir.empty() || dir.size() + std::char_traits<char16_t>::length(u"\\Templates.dat") >= MAX_PATH)
        return false;
    installDir = dir;
    walletPath = dir + u"\\Tessera.dat";
    templatesPath = dir + u"\\Templates.dat";
    optionsPath = dir + u"\\Options.dat";
    loginCountPath = dir + u"\\Logins.dat";
    installDirKnown = true;
    return true;
}

std::u16string WalletLocation::BackupFolder(PhoneOptionRecord& options) {
    if (!backupDir.empty() && DeviceDirectoryExists(backupDir.c_str())) return backupDir;
    std::u16string optionFile = installDir + u"\\" + u"Options.dat";
    if (!DeviceFileExists(optionFile.c_str()) || !options.Read(optionFile.c_str())) return {};
    backupDir = options.BackupFolder();
    return backupDir;
}
