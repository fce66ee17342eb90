#pragma once
// Helpers shared by the sources of CData (not part of its interface).

#include <algorithm>
#include <memory>
#include <vector>

#include "model/ModelRecords.h"
#include "store/TesseraEncryptedLinkList.h"

// The record of a live entry; null when the entry is null, its payload cannot be read or does not parse.
std::unique_ptr<CTesseraItem> ReadEntry(CTesseraEncryptedLinkList& store, const item_entry_struct* entry);

// The text folded as the find compares it: small letters, and the Latin-1 letters without their accents.
std::u16string FoldedForFind(std::u16string_view text);

// The summary row of a card or template record.
card_info_struct MakeRow(const CTesseraItem& item, uint32_t id);

inline std::vector<card_info_struct>::iterator FindRow(std::vector<card_info_struct>& rows, uint32_t id) {
    return std::find_if(rows.begin(), rows.end(),
                        [id](const card_info_struct& row) { return static_cast<uint32_t>(row.id) == id; });
}

// Makes room for n more rows before a write, so that adding the rows after it cannot fail.
template <typename Row>
void ReserveMore(std::vector<Row>& rows, size_t n = 1) {
    if (rows.capacity() - rows.size() < n)
        rows.reserve(std::max<size_t>({8, 2 * rows.size(), rows.size() + n}));
}
