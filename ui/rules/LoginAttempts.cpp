#include "ui/rules/LoginAttempts.h"

#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

LoginAttempts::Answer LoginAttempts::Submit(std::u16string& password) {
    if (password.empty()) return Answer::Empty;
    SecureBytes bytes = PasswordBytes(password);
    SecureZero(password.data(), password.size() * sizeof(char16_t));
    password.clear();
    PasswordCheck check = [&] {
        return store && store->CheckPassword(bytes.data(), bytes.size()) ? Guess::kRight : Guess::kWrong;
    };
    verdict = counted ? counted(check) : LoginVerdict::Of(check());
    ok = verdict.kind == LoginVerdict::Kind::kRight ? 1 : 0;
    if (templates) {
        SecureBytes builtIn = PasswordBytes(kTemplatesPassword);
        if (!templates->CheckPassword(builtIn.data(), builtIn.size())) {
            // Not a templates file this wallet can use: the open is given up, no attempt of the dialog's.
            templatesLocked = true;
            ok = 0;
            return Answer::Close;
        }
    }
    ++attempts;
    return verdict.kind == LoginVerdict::Kind::kWrong && attempts < kMaxAttempts ? Answer::Wrong
                                                                                 : Answer::Close;
}
