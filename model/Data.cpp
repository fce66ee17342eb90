#include "model/Data.h"

#include <algorithm>
#include <new>
#include <utility>

#include "model/DataRows.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"

namespace {

void LoadRows(CTesseraEncryptedLinkList* store, std::vector<card_info_struct>& rows) {
    rows.clear();
    if (!store) return;
    rows.reserve(static_cast<size_t>(store->records.count));
    for (auto* node = store->records.head; node; node = node->next) {
        const item_entry_struct& entry = node->element;
        if (entry.deleted || entry.id == kCategoryRecordId) continue;
        SecureBytes payload;
        if (store->GetRecordData(&entry, &payload) == 0) continue;
        CTesseraItem item;
        item.Deserialize(payload.data(), payload.size());
        rows.push_back(MakeRow(item, entry.id));
    }
}

bool LoadRowsOrEmpty(CTesseraEncryptedLinkList* store, std::vector<card_info_struct>& rows) {
    try {
        LoadRows(store, rows);
    } catch (const std::bad_alloc&) {
        rows = {};
        return false;
    }
    return true;
}

// Ids that no live record has, the category record's aside, each given once.
bool FreshIds(CTesseraEncryptedLinkList& store, std::span<const NewRecord> batch) {
    std::vector<uint32_t> ids;
    ids.reserve(batch.size());
    for (const NewRecord& added : batch) {
        if (added.id == kCategoryRecordId || store.FindRecord(added.id)) return false;
        ids.push_back(added.id);
    }
    std::sort(ids.begin(), ids.end());
    return std::adjacent_find(ids.begin(), ids.end()) == ids.end();
}

uint32_t TakeId(CTesseraEncryptedLinkList* store) {
    if (!store || store->lastId >= kCategoryRecordId - 1) return 0;
    return ++store->lastId;
}

}  // namespace

std::unique_ptr<CTesseraItem> ReadEntry(CTesseraEncryptedLinkList& store, const item_entry_struct* entry) {
    SecureBytes payload;
    if (!entry || store.GetRecordData(entry, &payload) == 0) return nullptr;
    auto item = std::make_unique<CTesseraItem>();
    if (!item->Deserialize(payload.data(), payload.size())) return nullptr;
    return item;
}

// The values of the text, web address and e-mail fields after the name, one per line, folded.
WipedText FindableText(const CTesseraItem& item) {
    std::u16string text;
    bool name = true;
    for (auto* node = item.fields.head; node; node = node->next) {
        const ItemField& field = node->element;
        if (std::exchange(name, false)) continue;
        if (field.type != kFieldText && field.type != kFieldUrl && field.type != kFieldEmail) continue;
        std::u16string value = FieldText(field);
        text += FoldedForFind(value);
        text += u'\n';
        SecureZero(value.data(), value.size() * sizeof(char16_t));
    }
    return WipedText(std::move(text));
}

card_info_struct MakeRow(const CTesseraItem& item, uint32_t id) {
    return {static_cast<int32_t>(id),
            static_cast<int32_t>(item.categoryId),
            static_cast<int32_t>(item.icon),
            ItemName(item),
            item.created,
            item.modified,
            FindableText(item)};
}

bool CData::LoadCards() {
    return LoadRowsOrEmpty(walletStore.get(), cards);
}

bool CData::LoadTemplatesAndCategories() {
    bool templatesLoaded = LoadRowsOrEmpty(templateStore.get(), templates);
    bool categoriesLoaded = LoadCategories();
    Notify([](ModelListener& listener) { listener.CategoriesReloaded(); });
    return templatesLoaded && categoriesLoaded;
}

item_entry_struct* CData::FindRecordEntry(int which, uint32_t id) {
    CTesseraEncryptedLinkList* store = which < 0    ? nullptr
                                       : which == 0 ? walletStore.get()
                                                    : templateStore.get();
    return store ? store->FindRecord(id) : nullptr;
}

std::unique_ptr<CTesseraItem> CData::ReadCardRecord(uint32_t id) {
    return walletStore ? ReadEntry(*walletStore, walletStore->FindRecord(id)) : nullptr;
}

std::unique_ptr<CTesseraItem> CData::ReadTemplateRecord(uint32_t id) {
    if (!templateStore || id == kCategoryRecordId) return nullptr;
    return ReadEntry(*templateStore, templateStore->FindRecord(id));
}

std::unique_ptr<CTesseraItem> CData::ReadCategoryRecord() {
    return templateStore ? ReadEntry(*templateStore, templateStore->FindRecord(kCategoryRecordId)) : nullptr;
}

std::unique_ptr<CTesseraItem> CData::NewCardFromTemplate(uint32_t templateId) {
    std::unique_ptr<CTesseraItem> source = ReadTemplateRecord(templateId);
    auto card = std::make_unique<CTesseraItem>();
    if (source && card->CopyAsNew(*source)) return card;
    return NewBlankCard();
}

uint32_t CData::TakeCardId() {
    return TakeId(walletStore.get());
}

uint32_t CData::TakeTemplateId() {
    return TakeId(templateStore.get());
}

int32_t CData::TakeCategoryId() {
    if (maxCategoryId >= kMaxCategoryId) return 0;
    return ++maxCategoryId;
}

bool CData::AddCard(const CTesseraItem& item, uint32_t id) {
    const NewRecord one{&item, id};
    return AddRows(Cards(), {&one, 1});
}

bool CData::AddCards(std::span<const NewRecord> batch) {
    return AddRows(Cards(), batch);
}

bool CData::AddTemplate(const CTesseraItem& item, uint32_t id) {
    const NewRecord one{&item, id};
    return AddRows(Templates(), {&one, 1});
}

bool CData::UpdateCard(const CTesseraItem& item, uint32_t id) {
    return UpdateRow(Cards(), item, id);
}

bool CData::UpdateTemplate(const CTesseraItem& item, uint32_t id) {
    return UpdateRow(Templates(), item, id);
}

bool CData::DeleteCard(uint32_t id) {
    return DeleteRow(Cards(), id);
}

bool CData::DeleteTemplate(uint32_t id) {
    return DeleteRow(Templates(), id);
}

bool CData::AddRows(RecordRows list, std::span<const NewRecord> batch) {
    if (!list.store || batch.empty() || !FreshIds(*list.store, batch)) return false;
    std::vector<card_info_struct> made;
    made.reserve(batch.size());
    for (const NewRecord& added : batch) made.push_back(MakeRow(*added.item, added.id));
    ReserveMore(list.rows, batch.size());
    if (!list.store->AddRecords(batch)) return false;
    for (card_info_struct& row : made) {
        int32_t id = row.id;
        list.rows.push_back(std::move(row));
        Notify([&](ModelListener& listener) { listener.RowChanged(list.kind, id); });
    }
    return true;
}

bool CData::UpdateRow(RecordRows list, const CTesseraItem& item, uint32_t id) {
    if (!list.store || id == kCategoryRecordId) return false;
    item_entry_struct* entry = list.store->FindRecord(id);
    if (!entry) return false;
    card_info_struct row = MakeRow(item, id);
    if (!list.store->UpdateRecord(item, entry)) return false;
    if (auto it = FindRow(list.rows, id); it != list.rows.end()) *it = std::move(row);
    Notify([&](ModelListener& listener) { listener.RowChanged(list.kind, static_cast<int32_t>(id)); });
    return true;
}

bool CData::DeleteRow(RecordRows list, uint32_t id) {
    if (!list.store || id == kCategoryRecordId) return false;
    if (!list.store->DeleteRecord(list.store->FindRecord(id))) return false;
    if (auto it = FindRow(list.rows, id); it != list.rows.end()) list.rows.erase(it);
    return true;
}

bool CData::SaveCardAsTemplate(uint32_t cardId) {
    std::unique_ptr<CTesseraItem> item = ReadCardRecord(cardId);
    if (!item || !templateStore) return false;
    for (auto* node = item->fields.head ? item->fields.head->next : nullptr; node; node = node->next)
        node->element.value.clear();
    uint32_t id = TakeTemplateId();
    return id != 0 && AddTemplate(*item, id);
}

int CData::LastChange() const {
    for (const auto* store : {walletStore.get(), templateStore.get()}) {
        if (store && store->LastChange() != CTesseraEncryptedLinkList::kChangeDone)
            return store->LastChange();
    }
    return CTesseraEncryptedLinkList::kChangeDone;
}

bool CData::Reload() {
    if (!walletStore || !templateStore || !walletStore->Reload() || !templateStore->Reload()) return false;
    bool cardsLoaded = LoadCards();
    return LoadTemplatesAndCategories() && cardsLoaded;
}

void CData::Reset() {
    walletStore.reset();
    templateStore.reset();
    cards.clear();
    templates.clear();
    categories.clear();
}

void CData::AddListener(ModelListener* listener) {
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void CData::RemoveListener(ModelListener* listener) {
    std::erase(listeners, listener);
}

void CData::Notify(const std::function<void(ModelListener&)>& event) {
    auto tell = [&] {
        // A copy, so that a listener may add or remove listeners while it is told.
        std::vector<ModelListener*> told = listeners;
        for (ModelListener* listener : told) event(*listener);
    };
    if (notifyGate) {
        notifyGate(tell);
    } else {
        tell();
    }
}
