#pragma once
// Our own JSON form of a wallet's cards and categories (docs/wallet-json.md), which an import into
// another wallet gives back exactly: names, values, types, icons, categories, times and drafts.

#include <string>
#include <string_view>

#include "model/CardImport.h"
#include "store/SecureBytes.h"

class CData;

inline constexpr int kWalletJsonVersion = 1;

// The document, UTF-8. Cards that cannot be read are counted in `unreadable` and left out.
SecureBytes WalletToJson(CData& data, size_t& written, size_t& unreadable);

// The cards of a document. A card that does not fit the form is skipped and reported by its number;
// false with `error` set when the text is not such a document at all.
bool JsonImportPlan(std::string_view text, ImportPlan& plan, std::string& error);
