#pragma once
// The export of every card to a text file, the one way card contents reach the PC in the clear.
//
// For each live record of the wallet store, in store order: a line of its field names and a line of
// its values, UTF-16LE without a byte-order mark, each line ending in CR LF. Each name, and each value
// that is not empty, stands between double quotes, written as it is (quotes, commas and line breaks
// are not escaped); entries are separated by commas, so an empty value leaves two commas side by side.
// DATE and TIME values are written as stored, "MM_DD_YYYY hh:mm:ss"; one whose year is below 1900, or
// whose fields are out of range, as the start of 1970 UTC in local time. A record that cannot be read
// gives two empty lines.

#include <filesystem>
#include <functional>
#include <string>

class CData;
class CTesseraEncryptedLinkList;
class CTesseraItem;

// Writes every card to the file, readable and writable by its owner only, whole or not at all
// (WritePrivateFile). False with the reason in `error` when the file cannot be written or an existing
// one may not be replaced; the file is then as it was.
bool ExportCards(CTesseraEncryptedLinkList& walletStore, const std::filesystem::path& file,
                 std::string& error);

// The formats of the export: the text above, or CSV (CsvCards.h) and JSON (WalletJson.h), which other
// programs read back.
enum class ExportFormat { Text, Csv, Json };

struct ExportCount {
    size_t written = 0;     // cards (text: records, those that cannot be read written empty)
    size_t unreadable = 0;  // CSV, JSON: records that cannot be read, left out
};

// Writes the wallet's cards in that format, as ExportCards writes the text.
bool ExportWallet(CData& data, ExportFormat format, const std::filesystem::path& file, ExportCount& count,
                  std::string& error);

// Calls `visit` with each live card of the store that can be read, in store order; the number of live
// records that could not be read.
size_t ForEachCard(CTesseraEncryptedLinkList& store, const std::function<void(const CTesseraItem&)>& visit);

// The name of the category of that id; empty for none.
std::u16string CategoryName(const CData& data, int32_t id);
