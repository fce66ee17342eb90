#pragma once
// The field editor's working copy of a card or a template, and the rules of what may change in it. The
// first field holds the record's name: it is never renamed, retyped, moved or deleted. Fields are
// addressed by their position; every change sets the modified flag.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/TesseraItem.h"

class FieldEditCopy {
public:
    enum Kind { kCard = 0, kTemplate = 1 };

    // Copies the record (its fields deep); Valid() is false when out of memory.
    FieldEditCopy(const CTesseraItem& record, int kind);

    bool Valid() const { return valid; }
    bool Modified() const { return modified; }
    const CTesseraItem& Item() const { return copy; }
    int Count() const { return copy.fields.count; }
    const ItemField& Field(int i);

    bool CanRename(int i) const { return i > 0 && i < Count(); }
    // A template's fields but the first take any type; a card's only those added here.
    bool CanChangeType(int i) const;
    bool CanDelete(int i) const { return CanRename(i); }
    bool CanMoveUp(int i) const { return i >= 2 && i < Count(); }
    bool CanMoveDown(int i) const { return i >= 1 && i < Count() - 1; }
    // A name two fields share, which OK refuses; none when every name differs.
    std::optional<std::u16string> RepeatedName() const;

    // Sets the name, cut to 63 units; an empty text keeps the old name. False when nothing changed.
    bool Rename(int i, std::u16string_view name);
    // DATE and TIME take the current time in UTC, other types an empty value. False when refused.
    bool SetType(int i, uint32_t type);
    // Appends a TEXT field with an empty value; its position, or -1 when out of memory.
    int Add(std::u16string_view name);
    // Removes the field; the position to select next (the following field, else the preceding one),
    // or -1 when refused.
    int Delete(int i);
    // Swaps the field with its neighbour; the field's new position, or -1 when refused.
    int MoveUp(int i);
    int MoveDown(int i);

private:
    ItemField& At(int i);
    int Swap(int i, int j);

    CTesseraItem copy;
    int kind;
    bool valid;
    bool modified = false;
    std::vector<bool> added;  // per field: added in this dialog
};
