#include "phone/PhoneSetup.h"

#include "device/PhoneOptionRecord.h"
#include "phone/NewStoreFile.h"
#include "phone/PhoneSession.h"
#include "phone/StarterTemplates.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/HostFile.h"
#include "platform/rapi/phone/PhonePath.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/phone/PhoneState.h"
#include "store/PasswordBytes.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPhoneEntries[] = {"fs", "registry.json", "state.json"};

std::string Text(std::u16string_view text) {
    return Utf16ToUtf8Lossy(text);
}

PhoneRegistry Registry(const fs::path& phoneDir) {
    return PhoneRegistry(RegistryFilePath(phoneDir));
}

int Fail(std::string& error, std::string message) {
    error = std::move(message);
    return kFailed;
}

// The host folder of a phone path; false when the path is not one.
bool HostPath(const fs::path& phoneDir, std::u16string_view phonePath, fs::path& host, std::string& error) {
    PhonePath parsed;
    if (ParsePhonePath(phonePath, false, &parsed) != ERROR_SUCCESS) {
        error = "not a usable phone path: " + Text(phonePath);
        return false;
    }
    host = phoneDir / "fs";
    for (const std::u16string& part : parsed.parts) host /= Text(part);
    return true;
}

// The host folder of the install folder. Every file path built from it must be a valid phone path,
// which also refuses the root and a trailing backslash.
bool InstallFolder(const fs::path& phoneDir, std::u16string_view installPath, fs::path& host,
                   std::string& error) {
    std::u16string longest = std::u16string(installPath) + u"\\" + std::u16string(kTemplatesFile);
    PhonePath parsed;
    if (ParsePhonePath(longest, false, &parsed) != ERROR_SUCCESS) {
        error = "not a usable install folder: " + Text(installPath);
        return false;
    }
    return HostPath(phoneDir, installPath, host, error);
}

bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) error = folder.string() + ": " + ec.message();
    return !ec;
}

bool WriteOptions(const fs::path& file, std::string& error) {
    PhoneOptionRecord record = PhoneOptionRecord::Fresh(kDefaultBackupFolder);
    if (WriteNewFile(file, record.Bytes(), PhoneOptionRecord::kSize, error)) return true;
    error = file.string() + ": " + error;
    return false;
}

int WriteTemplates(const fs::path& phoneDir, const fs::path& file, std::u16string_view installPath,
                   std::string& error) {
    SecureBytes password = PasswordBytes(kTemplatesPassword);
    if (!CreateStoreFile(file, StoreKind::Templates, password.data(), password.size(), error))
        return Fail(error, file.string() + ": " + error);
    PhoneSession session(phoneDir);
    CTesseraEncryptedLinkList templates(std::u16string(installPath) + u"\\" + std::u16string(kTemplatesFile),
                                        kTemplatesFileType);
    if (int code = UnlockStore(templates, password, error)) return code;
    return AddStarterTemplates(templates) ? kDone : Fail(error, "cannot write the starter templates");
}

// The install folder with the files of a fresh installation, where they are missing.
int InstallFiles(const fs::path& phoneDir, std::u16string_view installPath, std::string& error) {
    fs::path folder, backups;
    if (!InstallFolder(phoneDir, installPath, folder, error) ||
        !HostPath(phoneDir, kDefaultBackupFolder, backups, error) || !MakeFolder(folder, error) ||
        !MakeFolder(backups, error))
        return kFailed;
    std::error_code ec;
    fs::path options = folder / Text(kOptionsFile), templates = folder / Text(kTemplatesFile);
    if (!fs::exists(options, ec) && !WriteOptions(options, error)) return kFailed;
    if (fs::exists(templates, ec)) return kDone;
    return WriteTemplates(phoneDir, templates, installPath, error);
}

int SaveState(const fs::path& phoneDir, PhoneAppState state, std::string& error) {
    return PhoneState::InFolder(phoneDir).Save(state, error) ? kDone : kFailed;
}

int InitWallet(const fs::path& phoneDir, std::string_view installPath, const SecureBytes& password,
               std::string& error) {
    fs::path folder;
    if (!InstallFolder(phoneDir, Utf8ToUtf16Lossy(installPath), folder, error)) return kFailed;
    fs::path wallet = folder / Text(kWalletFile);
    if (CreateStoreFile(wallet, StoreKind::Wallet, password.data(), password.size(), error)) return kDone;
    return Fail(error, wallet.string() + ": " + error);
}

int MakePhone(const fs::path& phoneDir, std::string_view installPath, const SecureBytes* walletPassword,
              std::string& error) {
    PhoneRegistry registry = Registry(phoneDir);
    registry.SetString(kAppKey, "InstallPath", installPath);
    if (!MakeFolder(phoneDir / "fs", error) || !registry.Save(error)) return kFailed;
    if (int code = InstallApp(phoneDir, kAppVersion, error)) return code;
    return walletPassword ? InitWallet(phoneDir, installPath, *walletPassword, error) : kDone;
}

}  // namespace

int CheckPhone(const fs::path& phoneDir, std::string& error) {
    std::error_code ec;
    return fs::is_directory(phoneDir / "fs", ec) ? kDone : Fail(error, phoneDir.string() + " is not a phone");
}

int InitPhone(const fs::path& phoneDir, std::string_view installPath, const SecureBytes* walletPassword,
              std::string& error) {
    std::optional<std::u16string> path = Utf8ToUtf16(installPath);
    fs::path folder;
    if (!path || !InstallFolder(phoneDir, *path, folder, error))
        return Fail(error, "not a usable install folder: " + std::string(installPath));
    std::error_code ec;
    for (const char* entry : kPhoneEntries) {
        if (fs::exists(phoneDir / entry, ec))
            return Fail(error, phoneDir.string() + " already holds a phone");
    }
    int code = MakePhone(phoneDir, installPath, walletPassword, error);
    if (code != kDone) {
        for (const char* entry : kPhoneEntries) fs::remove_all(phoneDir / entry, ec);
    }
    return code;
}

int InstallApp(const fs::path& phoneDir, std::string_view version, std::string& error) {
    if (int code = CheckPhone(phoneDir, error)) return code;
    PhoneRegistry registry = Registry(phoneDir);
    if (!registry.Load(error)) return kFailed;
    std::string installPath =
        registry.GetString(kAppKey, "InstallPath").value_or(std::string(kDefaultInstallPath));
    if (int code = InstallFiles(phoneDir, Utf8ToUtf16Lossy(installPath), error)) return code;
    registry.SetString(kAppKey, "InstallPath", installPath);
    registry.SetString(kAppKey, "Version", version);
    if (!registry.Save(error)) return kFailed;
    return SaveState(phoneDir, {.installed = true, .running = false}, error);
}

int UninstallApp(const fs::path& phoneDir, std::string& error) {
    PhoneAppState state;
    if (int code = CheckPhone(phoneDir, error)) return code;
    if (!PhoneState::InFolder(phoneDir).Load(state, error)) return kFailed;
    if (!state.installed) return Fail(error, "the wallet application is not installed");
    PhoneRegistry registry = Registry(phoneDir);
    if (!registry.Load(error)) return kFailed;
    registry.RemoveKey(kAppKey);
    if (!registry.Save(error)) return kFailed;
    return SaveState(phoneDir, {.installed = false, .running = false}, error);
}

int SetAppRunning(const fs::path& phoneDir, bool running, std::string& error) {
    PhoneAppState state;
    if (int code = CheckPhone(phoneDir, error)) return code;
    if (!PhoneState::InFolder(phoneDir).Load(state, error)) return kFailed;
    if (running && !state.installed) return Fail(error, "the wallet application is not installed");
    state.running = running;
    return SaveState(phoneDir, state, error);
}

int InstalledFile(const fs::path& phoneDir, std::u16string_view name, std::u16string& path,
                  std::string& error) {
    if (int code = CheckPhone(phoneDir, error)) return code;
    PhoneRegistry registry = Registry(phoneDir);
    if (!registry.Load(error)) return kFailed;
    std::optional<std::string> folder = registry.GetString(kAppKey, "InstallPath");
    if (!folder) return Fail(error, "the wallet application is not installed");
    path = Utf8ToUtf16Lossy(*folder) + u"\\" + std::u16string(name);
    return kDone;
}
