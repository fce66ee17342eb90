#pragma once
// Where the wallet application keeps its files on the phone: the install folder from the phone's
// registry, and the wallet, templates and option files in it, with the count of wrong passwords.

#include <string>

#include "device/PhoneOptionRecord.h"

inline constexpr char16_t kTesseraRegistryKey[] = u"\\Software\\Quillmark Tessera";
inline constexpr char16_t kInstallPathValue[] = u"InstallPath";

class WalletLocation {
public:
    // Finds the install folder through the registry over this thread's connection and builds the
    // paths. False (and nothing known) when the key, the value or a path does not fit.
    bool Locate();
    bool InstallDirKnown() const { return installDirKnown; }

    const std::u16string& InstallDir() const { return installDir; }
    const std::u16string& WalletPath() const { return walletPath; }
    const std::u16string& TemplatesPath() const { return templatesPath; }
    const std::u16string& OptionsPath() const { return optionsPath; }
    const std::u16string& LoginCountPath() const { return loginCountPath; }

    // The backup folder: the one already known while it exists on the phone, else the one the
    // option record names (read into `options`); empty when neither is to be had.
    std::u16string BackupFolder(PhoneOptionRecord& options);

private:
    bool installDirKnown = false;
    std::u16string installDir, walletPath, templatesPath, optionsPath, loginCountPath, backupDir;
};
