#include "phone/PhoneWallet.h"

#include "phone/PhoneSetup.h"
#include "store/PasswordBytes.h"

int PhoneWallet::Open(const std::filesystem::path& phoneDir, const SecureBytes& password,
                      std::string& error) {
    std::u16string walletPath, templatesPath;
    if (int code = InstalledFile(phoneDir, kWalletFile, walletPath, error)) return code;
    if (int code = InstalledFile(phoneDir, kTemplatesFile, templatesPath, error)) return code;
    session = std::make_unique<PhoneSession>(phoneDir);
    wallet = std::make_unique<CTesseraEncryptedLinkList>(walletPath, kWalletFileType);
    if (int code = UnlockStore(*wallet, password, error)) return code;
    CTesseraEncryptedLinkList templates(templatesPath, kTemplatesFileType);
    std::string ignored;
    if (UnlockStore(templates, PasswordBytes(kTemplatesPassword), ignored) == kDone)
        categories = CategoryRecord::Read(templates);
    return kDone;
}
