#pragma once
// A phone kept in a folder, with or without the wallet application:
//
//   PHONE/fs/                 the phone's file system ("\")
//   PHONE/registry.json       its registry; the application's key holds InstallPath and Version
//   PHONE/state.json          whether the application is installed and running
//
// The install folder holds Options.dat and Templates.dat from the installation, and Tessera.dat once
// the wallet is initialised. The functions give kDone, or kFailed / kWrongPassword (PhoneSession.h)
// with `error` set.

#include <filesystem>
#include <string>
#include <string_view>

#include "store/SecureBytes.h"

inline constexpr std::string_view kAppKey = "HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera";
inline constexpr std::string_view kAppVersion = "1.0.1.519";
inline constexpr std::string_view kDefaultInstallPath = "\\Program Files\\Tessera";
inline constexpr std::u16string_view kDefaultBackupFolder = u"\\My Documents\\Tessera Backup";
inline constexpr std::u16string_view kWalletFile = u"Tessera.dat";
inline constexpr std::u16string_view kTemplatesFile = u"Templates.dat";
inline constexpr std::u16string_view kOptionsFile = u"Options.dat";

inline std::filesystem::path RegistryFilePath(const std::filesystem::path& phoneDir) {
    return phoneDir / "registry.json";
}

// kDone when the folder holds a phone (its file system folder), else kFailed with `error` set.
int CheckPhone(const std::filesystem::path& phoneDir, std::string& error);

// Makes a phone in a new or empty folder, with the application installed at `installPath` (a phone
// path) and, when `walletPassword` is given, the wallet initialised under it. A failed setup leaves
// nothing behind.
int InitPhone(const std::filesystem::path& phoneDir, std::string_view installPath,
              const SecureBytes* walletPassword, std::string& error);

// Installs the application, or changes the installed version: the registry key (keeping an existing
// install folder), the install folder with the files a fresh installation has, where they are missing,
// and the state installed and not running.
int InstallApp(const std::filesystem::path& phoneDir, std::string_view version, std::string& error);

// Removes the application's registry key and marks it not installed; the files on the phone stay.
int UninstallApp(const std::filesystem::path& phoneDir, std::string& error);

// Starts (refused when not installed) or closes the application.
int SetAppRunning(const std::filesystem::path& phoneDir, bool running, std::string& error);

// The phone path of a file in the installed application's folder, from the registry.
int InstalledFile(const std::filesystem::path& phoneDir, std::u16string_view name, std::u16string& path,
                  std::string& error);
