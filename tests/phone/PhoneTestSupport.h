#pragma once
// Reading a phone folder back as the desktop does: its stores through the folder transport and the
// store code.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/TesseraEncryptedLinkList.h"

struct StoredRecord {
    uint32_t id;
    std::unique_ptr<CTesseraItem> item;
};

struct StoreContent {
    int openCode = 0;
    bool unlocked = false;
    uint32_t lastId = 0;
    std::vector<StoredRecord> records;  // every live record, in file order
};

// Opens the store at a phone path and, with the right password, decrypts and parses every record
// (a record that does not is a test failure).
StoreContent ReadStore(const std::filesystem::path& phoneDir, const std::u16string& path, uint32_t type,
                       std::u16string_view password);

inline const std::u16string kWalletPath = u"\\Program Files\\Tessera\\Tessera.dat";
inline const std::u16string kTemplatesPath = u"\\Program Files\\Tessera\\Templates.dat";

// A text field's value without its NUL, which must be there.
std::u16string TextValue(const ItemField& field);
// The record's fields in order.
std::vector<const ItemField*> Fields(const CTesseraItem& item);
