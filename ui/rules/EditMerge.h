#pragma once
// A record another program changed while the user edited it: the user's changes (what differs between
// the record as read and as edited) are carried onto the record as it is now stored, and what the other
// program changed stays. Where both changed the same thing, keepMine(what) decides; what is a field's
// name, or empty for the record's icon, category and draft mark.
#include <functional>
#include <memory>
#include <string>

#include "store/TesseraItem.h"

using KeepMine = std::function<bool(const std::u16string& what)>;

// One value: the user's when only they changed it, the stored one when only the other program did, and
// keepMine's choice when both did, differently.
template <typename T>
T ChooseValue(const T& read, const T& edited, const T& stored, const KeepMine& keepMine,
              const std::u16string& what = {}) {
    if (edited == read || stored == edited) return stored;
    if (stored == read) return edited;
    return keepMine(what) ? edited : stored;
}

// Fields are matched by name and by their place among fields of the same name. Nullptr when out of memory.
std::unique_ptr<CTesseraItem> CarryEdits(const CTesseraItem& read, const CTesseraItem& edited,
                                         const CTesseraItem& stored, const KeepMine& keepMine);
