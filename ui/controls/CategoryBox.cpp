#include "ui/controls/CategoryBox.h"

#include "ui/controls/FieldChanges.h"

namespace {

void* AsData(int32_t id) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(id));
}

}  // namespace

CategoryBox::CategoryBox(wxWindow* parent, wxWindowID id) : wxChoice(parent, id) {
    Fill({});
}

void CategoryBox::Fill(const std::vector<category_struct>& categories) {
    Clear();
    Append(wxString(), AsData(0));
    for (const category_struct& category : categories) AddEntry(category.id, category.name);
}

void CategoryBox::AddEntry(int32_t id, const std::u16string& name) {
    Append(FromU16(name), AsData(id));
}

void CategoryBox::RemoveEntry(int32_t id) {
    if (int index = Find(id); index != wxNOT_FOUND) Delete(index);
}

void CategoryBox::RenameEntry(int32_t id, const std::u16string& name) {
    const int index = Find(id);
    if (index == wxNOT_FOUND) return;
    const bool selected = GetSelection() == index;
    Delete(index);
    Insert(FromU16(name), index, AsData(id));
    if (selected) SetSelection(index);
}

void CategoryBox::SelectId(int32_t id) {
    const int index = Find(id);
    SetSelection(index == wxNOT_FOUND ? 0 : index);
}

int32_t CategoryBox::IdAt(int index) const {
    if (index < 0 || index >= static_cast<int>(GetCount())) return 0;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(GetClientData(index)));
}

int CategoryBox::Find(int32_t id) const {
    for (unsigned i = 0; i < GetCount(); ++i) {
        if (IdAt(static_cast<int>(i)) == id) return static_cast<int>(i);
    }
    return wxNOT_FOUND;
}
