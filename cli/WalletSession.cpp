#include "cli/WalletSession.h"

#include <ostream>

#include "cli/SaveMessages.h"
#include "store/PasswordBytes.h"

WalletSession::~WalletSession() {
    data.Reset();
}

int WalletSession::Open(std::istream& in, std::ostream& err, bool forChange) {
    if (int status = phone.Connect(err)) return status;
    if (forChange) {
        if (int status = phone.RefuseWhileAppRuns(err)) return status;
    }
    if (int status = phone.CheckLockout(err)) return status;
    if (int status = OpenStores(in, err)) return status;
    if (!data.LoadCards() || !data.LoadTemplatesAndCategories()) {
        err << "tessera: Read Tessera data failed!\n";
        return kExitFailed;
    }
    return kExitOk;
}

int WalletSession::OpenStores(std::istream& in, std::ostream& err) {
    const WalletLocation& location = phone.Location();
    data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(location.WalletPath(), kWalletFileType),
                   std::make_unique<CTesseraEncryptedLinkList>(location.TemplatesPath(), kTemplatesFileType));
    int walletCode = data.WalletStore()->Open();
    int templatesCode = data.TemplateStore()->Open();
    for (const auto& store : {data.WalletStore(), data.TemplateStore()}) {
        if (store->OpenError() == ERROR_SHARING_VIOLATION) {
            err << "tessera: " << kWalletInUseLine << "\n";
            return kExitFailed;
        }
    }
    if (walletCode != 0 || templatesCode != 0) {
        err << "tessera: Read Tessera data failed! (wallet " << walletCode << ", templates " << templatesCode
            << ")\n";
        return kExitFailed;
    }
    SecureBytes password;
    if (!phone.ReadPassword(in, password, err)) return kExitFailed;
    PasswordCheck check = [&] {
        return data.WalletStore()->CheckPassword(password.data(), password.size()) ? Guess::kRight
                                                                                   : Guess::kWrong;
    };
    if (int status = phone.CheckPassword(password.empty(), check, err)) return status;
    SecureBytes builtIn = PasswordBytes(kTemplatesPassword);
    if (!data.TemplateStore()->CheckPassword(builtIn.data(), builtIn.size())) {
        err << "tessera: the templates file does not open with its built-in password\n";
        return kExitFailed;
    }
    return kExitOk;
}

int RunOnWallet(const PhoneOptions& options, std::istream& in, std::ostream& err, bool forChange,
                const std::function<int(CData&)>& command) {
    WalletSession session(options);
    if (int status = session.Open(in, err, forChange)) return status;
    // Another program may change the wallet between this command's read and its write; the change is
    // then refused, and the command runs again on the wallet as it now is.
    constexpr int kAttempts = 5;
    for (int attempt = 1;; ++attempt) {
        int status = command(session.Data());
        if (status == kExitOk || session.Data().LastChange() != CTesseraEncryptedLinkList::kChangeStale)
            return status;
        if (attempt == kAttempts || !session.Data().Reload()) {
            err << "tessera: " << kWalletChangedLine << "\n";
            return kExitFailed;
        }
    }
}
