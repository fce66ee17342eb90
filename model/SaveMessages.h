#pragma once
// The texts shown when the wallet cannot be read or a change cannot be saved because of another
// program, by the store's result. The plug-in and the command line show the same causes in their words.

#include <string_view>

#include "store/TesseraEncryptedLinkList.h"

// The plug-in's words.
constexpr std::u16string_view kWalletInUseText =
    u"The wallet is in use by another program on this computer; try again.";
constexpr std::u16string_view kWalletChangedText =
    u"The wallet was changed by another program. It will be read again.";
// Added to the message of a wallet that fails to open with a checksum mismatch.
constexpr std::u16string_view kRunRepairText = u"Run 'tessera repair' to check and repair it.";

// The command line's words.
constexpr std::string_view kWalletInUseLine =
    "The wallet is in use by another program on this computer; try again.";
constexpr std::string_view kWalletChangedLine =
    "The wallet changed on the phone since it was read; run the command again.";

// The plug-in's text for a change result, empty for a result with no text of its own.
inline std::u16string_view ChangeFailureText(int changeCode) {
    if (changeCode == CTesseraEncryptedLinkList::kChangeInUse) return kWalletInUseText;
    if (changeCode == CTesseraEncryptedLinkList::kChangeStale) return kWalletChangedText;
    return {};
}
