#include "ui/rules/FieldEditCopy.h"

#include <utility>

#include "model/FieldType.h"
#include "model/NameRules.h"

FieldEditCopy::FieldEditCopy(const CTesseraItem& record, int kind)
    : kind(kind), valid(copy.CopyFrom(record)), added(Count(), false) {}

ItemField& FieldEditCopy::At(int i) {
    copy.fields.MoveTo(i);
    return copy.fields.GetCurrent();
}

const ItemField& FieldEditCopy::Field(int i) {
    return At(i);
}

bool FieldEditCopy::CanChangeType(int i) const {
    return CanRename(i) && (kind == kTemplate || added[i]);
}

std::optional<std::u16string> FieldEditCopy::RepeatedName() const {
    return RepeatedFieldName(copy);
}

bool FieldEditCopy::Rename(int i, std::u16string_view name) {
    if (!CanRename(i) || name.empty()) return false;
    At(i).SetName(name);
    modified = true;
    return true;
}

bool FieldEditCopy::SetType(int i, uint32_t type) {
    if (!CanChangeType(i) || type > kFieldTime) return false;
    ItemField& field = At(i);
    if (field.type == type) return false;
    field.type = type;
    field.value.clear();
    if (IsTimeField(type)) {
        field.value.resize(16);
        StoreTime(GetSystemTimeUtc(), field.value.data());
    }
    modified = true;
    return true;
}

int FieldEditCopy::Add(std::u16string_view name) {
    ItemField field;
    field.type = kFieldText;
    field.SetName(name);
    if (!copy.AddField(field)) return -1;
    added.push_back(true);
    modified = true;
    return Count() - 1;
}

int FieldEditCopy::Delete(int i) {
    if (!CanDelete(i) || !copy.RemoveField(&At(i))) return -1;
    added.erase(added.begin() + i);
    modified = true;
    return i < Count() ? i : i - 1;
}

int FieldEditCopy::MoveUp(int i) {
    return CanMoveUp(i) ? Swap(i, i - 1) : -1;
}

int FieldEditCopy::MoveDown(int i) {
    return CanMoveDown(i) ? Swap(i, i + 1) : -1;
}

int FieldEditCopy::Swap(int i, int j) {
    std::swap(At(i), At(j));
    std::vector<bool>::swap(added[i], added[j]);
    modified = true;
    return j;
}
