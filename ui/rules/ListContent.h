#pragma once
// What the list pane shows, without the windows: the rows of the cards, templates, categories or
// backups in their order, the texts of their cells, the sort key and direction of each list, the
// category filter and the item a row stands for. The card rows are the model's own rows, arranged by
// the model; the list control only asks for the rows it draws.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/CardOrder.h"
#include "model/ListKind.h"
#include "model/ModelRecords.h"
#include "platform/SystemTime.h"

class CData;
class CTesseraBackup;

// The item a row stands for: a card, template or category by id, a backup by file name.
struct ListItem {
    ListKind kind = ListKind::None;
    int32_t id = 0;
    std::u16string name;
    bool operator==(const ListItem&) const = default;
};

class ListContent {
public:
    ListContent(CData& data, const CTesseraBackup* backups) : data(data), backups(backups) {}

    // Switches to a kind and builds its rows: the card list starts again from its stored key and
    // direction; the filter goes back to all cards.
    void Show(ListKind kind);
    // Rebuilds the rows of the shown kind with the current key, direction and filter.
    void Rebuild();
    // The header's direction click: lasts until the next Show.
    void FlipDirection();
    // An "Arranged by" command.
    void Arrange(CardSortKey key);
    void SetCategoryFilter(int32_t category);

    // A new card, template or category is listed before it is stored: its row stands until the record
    // is stored (Settle) or dropped (DropPending). It goes at the end, or among the templates or
    // categories by its own name. Its row.
    int AddPending(const card_info_struct& row, bool byName);
    // The pending row of id goes; its row, or -1.
    int DropPending(int32_t id);
    // The record of id of that kind was stored: its pending row becomes a stored one, and a stored
    // record the shown list lacks is appended. Its row, or -1.
    int Settle(ListKind page, int32_t id);
    // The model has deleted the item of a stored row (a backup: its file and its entry).
    void RowDeleted(int row);
    int FindRow(int32_t id) const;
    bool IsPending(int row) const { return pending && row == pending->position; }

    ListKind Kind() const { return kind; }
    int RowCount() const { return rowCount + (pending ? 1 : 0); }
    std::u16string Text(int row, int column) const;
    int Image(int row) const;
    ListItem Item(int row) const;
    CardSortKey Key() const { return key; }
    bool Ascending() const { return ascending; }
    int32_t CategoryFilter() const { return filter; }
    std::u16string CategoryName(int32_t id) const;

    // "dd_MM_yyyy", from the stored fields as they are.
    static std::u16string DateText(const SYSTEMTIME& time);

private:
    struct Pending {
        card_info_struct row;
        int position;
    };

    void OrderByName();
    const std::u16string& Name(int index) const;
    bool Before(const std::u16string& a, const std::u16string& b) const;
    // The index among the stored rows of a row that is not the pending one.
    int Stored(int row) const { return pending && row > pending->position ? row - 1 : row; }
    std::u16string CardText(const card_info_struct& card, int column) const;
    // Puts the model's row of id at stored position at; false when the model lacks it.
    bool Adopt(int32_t id, int at);

    CData& data;
    const CTesseraBackup* backups;
    ListKind kind = ListKind::None;
    CardSortKey keys[3] = {CardSortKey::Name, CardSortKey::Name, CardSortKey::Name};
    CardSortKey key = CardSortKey::Name;
    bool ascending = true;
    int32_t filter = -1;
    int rowCount = 0;
    std::vector<int> order;  // templates and categories: indices into the model's rows
    std::optional<Pending> pending;
};
