#pragma once
// The one in-memory wallet model. It owns the wallet store (the cards) and the templates store (the
// templates and the category record) and keeps one summary row per card, template and category for
// the lists; a whole record is read from its store only when it is shown or edited. Every change is
// written to its store at once, and the rows change only after the store accepted the write.
//
// One thread uses the model, and it holds a phone session (RapiConnection) while it changes a store.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/CardOrder.h"
#include "model/ModelListener.h"
#include "model/ModelRecords.h"
#include "store/TesseraEncryptedLinkList.h"

class CData {
public:
    // FindRecordEntry's choice of store; a negative value chooses none.
    static constexpr int kWalletStore = 0;
    static constexpr int kTemplateStore = 1;

    CData() = default;
    CData(const CData&) = delete;
    CData& operator=(const CData&) = delete;

    // Fill the rows, in record order. A record whose payload cannot be read is skipped; one that does not
    // parse is listed with what was read. False, with the rows empty, only when out of memory.
    bool LoadCards();
    // Also asks the screens to refill their category boxes.
    bool LoadTemplatesAndCategories();

    // The live entry with that id in the wallet store (0) or the templates store (above 0), or null.
    item_entry_struct* FindRecordEntry(int which, uint32_t id);
    // A record as stored, owned by the caller; null when it is missing or its payload does not parse.
    std::unique_ptr<CTesseraItem> ReadCardRecord(uint32_t id);
    std::unique_ptr<CTesseraItem> ReadTemplateRecord(uint32_t id);
    std::unique_ptr<CTesseraItem> ReadCategoryRecord();
    // A card with the template's icon, category, draft flag and fields, both times now; a blank card when
    // the template cannot be read (the id 0xFFFFFFFF stands for no template).
    std::unique_ptr<CTesseraItem> NewCardFromTemplate(uint32_t templateId);

    // The store's lastId + 1, which becomes its lastId at once, saved or not; 0 when there is no store or
    // no id is left below the category record's.
    uint32_t TakeCardId();
    uint32_t TakeTemplateId();
    // maxCategoryId + 1, raised at once, saved or not; 0 when every 16-bit id is taken.
    int32_t TakeCategoryId();

    // Adds and updates ask for a row refresh. The category record's id, and for an add an id that a live
    // record already has, are refused.
    bool AddCard(const CTesseraItem& item, uint32_t id);
    // Adds the cards in one save (CTesseraEncryptedLinkList::AddRecords), each id checked as AddCard's and
    // none given twice: all of them, or none of their rows when the save fails.
    bool AddCards(std::span<const NewRecord> batch);
    bool AddTemplate(const CTesseraItem& item, uint32_t id);
    bool UpdateCard(const CTesseraItem& item, uint32_t id);
    bool UpdateTemplate(const CTesseraItem& item, uint32_t id);
    bool DeleteCard(uint32_t id);
    // A card made from the template keeps its fields.
    bool DeleteTemplate(uint32_t id);
    // A new template from the card: its field names and types, icon, category, draft flag and both times,
    // with every value emptied but the name's.
    bool SaveCardAsTemplate(uint32_t cardId);

    // packed = PackCategory(id, icon), id 1..65535. The name is cut to the 63 units of a field name.
    bool AddCategory(std::u16string_view name, uint32_t packed);
    // Renames the category of that id and gives it the icon of `packed`.
    bool UpdateCategory(std::u16string_view name, uint32_t packed);
    // Removes the category from the record (rewritten even when it lacks that id) and from the rows.
    bool DeleteCategory(int32_t id);
    // Run after DeleteCategory: every card of the category loses its category (modified now) or, with
    // deleteCards, is deleted. Category 0 (no category) is refused. False when some card could not be
    // rewritten or deleted; its row then stays as it was.
    bool ReleaseCategoryCards(int32_t categoryId, bool deleteCards);

    // Whether the card row passes the category filter (an id, or kAllCategories) and, while the find is
    // active, holds the find text in any case.
    bool MatchesFilter(int row, int32_t categoryFilter) const;
    // Moves the matching rows to the front, exchanging pairs from both ends; their number.
    int PartitionCards(int32_t categoryFilter);
    // The card list after a change of filter or order: the matching rows first, sorted; their number.
    int ArrangeCards(int32_t categoryFilter, CardSortKey key, bool ascending);

    // Why the last failed change failed: the ChangeCode of its store (kChangeStale: another program
    // changed the wallet since it was read; kChangeInUse: another program held it too long).
    int LastChange() const;
    // After kChangeStale: reads both stores and every row again; the login stays. False when a store
    // does not open or its password changed (the user must log in again).
    bool Reload();

    // Destroys both stores and every row; maxCategoryId and the find filter stay.
    void Reset();

    // The stores of the wallet being read, made by the session that opens them and checks their
    // passwords (through WalletStore and TemplateStore); the rows are loaded from them afterwards.
    void SetStores(std::unique_ptr<CTesseraEncryptedLinkList> wallet,
                   std::unique_ptr<CTesseraEncryptedLinkList> templates);
    CTesseraEncryptedLinkList* WalletStore() const { return walletStore.get(); }
    CTesseraEncryptedLinkList* TemplateStore() const { return templateStore.get(); }
    // Whether the stores are there: set, and not reset since.
    bool HasStores() const { return walletStore != nullptr; }
    // Whether the templates store holds any record at all (there may be a template to choose).
    bool HasTemplateRecords() const { return templateStore && templateStore->records.count > 0; }
    // Calls visit with the id and record of each live template that can be read, in store order; the
    // category record is no template.
    void ForEachTemplate(const std::function<void(uint32_t, const CTesseraItem&)>& visit) const;

    // The find filter: while active, only the cards holding the text in any case match.
    void SetFind(bool active, std::u16string text = {}) {
        findActive = active;
        findText = std::move(text);
    }
    void SetFindText(std::u16string text) { findText = std::move(text); }
    bool FindActive() const { return findActive; }
    const std::u16string& FindText() const { return findText; }

    void AddListener(ModelListener* listener);
    void RemoveListener(ModelListener* listener);
    // Set by the user interface: dispatches one pending window message, if there is one, so that the
    // windows stay responsive during a long walk. It must not change the model.
    void SetDispatchHook(std::function<void()> hook) { dispatchHook = std::move(hook); }
    // Set by a worker thread that changes the model: the listeners are told through the gate (on the
    // user-interface thread), which returns once they have been told. Empty: told at once.
    void SetNotifyGate(std::function<void(const std::function<void()>&)> gate) {
        notifyGate = std::move(gate);
    }

    int32_t cardCount() const { return static_cast<int32_t>(cards.size()); }
    int32_t templateCount() const { return static_cast<int32_t>(templates.size()); }
    int32_t categoryCount() const { return static_cast<int32_t>(categories.size()); }

    std::vector<card_info_struct> cards;
    std::vector<card_info_struct> templates;
    // The highest category id loaded or handed out; never lowered.
    int32_t maxCategoryId = 0;
    std::vector<category_struct> categories;

private:
    std::unique_ptr<CTesseraEncryptedLinkList> walletStore;
    std::unique_ptr<CTesseraEncryptedLinkList> templateStore;
    std::u16string findText;
    bool findActive = false;

    // The store and the rows of cards, or of templates.
    struct RecordRows {
        CTesseraEncryptedLinkList* store;
        std::vector<card_info_struct>& rows;
        ListKind kind;
    };
    RecordRows Cards() { return {walletStore.get(), cards, ListKind::Cards}; }
    RecordRows Templates() { return {templateStore.get(), templates, ListKind::Templates}; }

    bool AddRows(RecordRows list, std::span<const NewRecord> batch);
    bool UpdateRow(RecordRows list, const CTesseraItem& item, uint32_t id);
    bool DeleteRow(RecordRows list, uint32_t id);
    bool LoadCategories();
    bool WriteNewCategory(const ItemField& field);
    bool ReleaseCard(item_entry_struct& entry, CTesseraItem& card, bool deleteCards);
    std::vector<category_struct>::iterator FindCategoryRow(int32_t id);
    void Notify(const std::function<void(ModelListener&)>& event);

    std::vector<ModelListener*> listeners;
    std::function<void()> dispatchHook;
    std::function<void(const std::function<void()>&)> notifyGate;
};
