#include "ui/rules/EditMerge.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

// A field's place: its name, and how many fields of that name come before it.
struct Keyed {
    std::u16string name;
    int occurrence;
    ItemField* field;
};

std::vector<Keyed> KeyFields(const CTesseraItem& item) {
    std::vector<Keyed> keyed;
    for (auto* node = item.fields.head; node; node = node->next) {
        std::u16string name = node->element.Name();
        int occurrence = 0;
        for (const Keyed& before : keyed) occurrence += before.name == name;
        keyed.push_back({std::move(name), occurrence, &node->element});
    }
    return keyed;
}

ItemField* Find(const std::vector<Keyed>& fields, const Keyed& key) {
    for (const Keyed& k : fields) {
        if (k.name == key.name && k.occurrence == key.occurrence) return k.field;
    }
    return nullptr;
}

bool Same(const ItemField& a, const ItemField& b) {
    return a.type == b.type && a.value == b.value;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The fields the user changed or added, onto the merged record.
void CarryFields(const CTesseraItem& read, const CTesseraItem& edited, CTesseraItem& merged,
                 const KeepMine& keepMine) {
    const std::vector<Keyed> was = KeyFields(read);
    for (const Keyed& mine : KeyFields(edited)) {
        const ItemField* before = Find(was, mine);
        if (before && Same(*before, *mine.field)) continue;
        ItemField* now = Find(KeyFields(merged), mine);
        if (!now) {
            merged.AddField(*mine.field);
        } else if ((before && Same(*now, *before)) || keepMine(mine.name)) {
            now->type = mine.field->type;
            now->value = mine.field->value;
        }
    }
    // A field the user removed goes, unless the other program changed it meanwhile.
    const std::vector<Keyed> kept = KeyFields(edited);
    for (const Keyed& old : was) {
        if (Find(kept, old)) continue;
        ItemField* now = Find(KeyFields(merged), old);
        if (now && Same(*now, *old.field)) merged.RemoveField(now);
    }
}

}  // namespace

std::unique_ptr<CTesseraItem> CarryEdits(const CTesseraItem& read, const CTesseraItem& edited,
                                         const CTesseraItem& stored, const KeepMine& keepMine) {
    std::unique_ptr<CTesseraItem> merged(new (std::nothrow) CTesseraItem);
    if (!merged || !merged->CopyFrom(stored)) return nullptr;
    try {
        merged->icon = ChooseValue(read.icon, edited.icon, stored.icon, keepMine);
        merged->categoryId = ChooseValue(read.categoryId, edited.categoryId, stored.categoryId, keepMine);
        merged->draft = ChooseValue(read.draft, edited.draft, stored.draft, keepMine);
        CarryFields(read, edited, *merged, keepMine);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // The time of the user's change when it set one (a new icon or field), else the stored record's.
    merged->modified = SameTime(edited.modified, read.modified) ? stored.modified : edited.modified;
    return merged;
}
