// CData's two stores: handed over by the session that opens them, and the templates read for a chooser.

#include "model/Data.h"

void CData::SetStores(std::unique_ptr<CTesseraEncryptedLinkList> wallet,
                      std::unique_ptr<CTesseraEncryptedLinkList> templates) {
    walletStore = std::move(wallet);
    templateStore = std::move(templates);
}

void CData::ForEachTemplate(const std::function<void(uint32_t, const CTesseraItem&)>& visit) const {
    if (!templateStore) return;
    for (auto* node = templateStore->records.head; node; node = node->next) {
        const item_entry_struct& entry = node->element;
        if (entry.deleted || entry.id == CTesseraEncryptedLinkList::kCategoryRecordId) continue;
        SecureBytes plain;
        CTesseraItem item;
        if (templateStore->GetRecordData(&entry, &plain) == 0 ||
            !item.Deserialize(plain.data(), plain.size()))
            continue;
        visit(entry.id, item);
    }
}
