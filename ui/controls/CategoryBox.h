#pragma once
// The main view's category box: an unsorted drop-down list whose first entry is empty (data 0) and
// whose other entries are the categories, each with its id as data.
#include <wx/choice.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/ModelRecords.h"

class CategoryBox : public wxChoice {
public:
    CategoryBox(wxWindow* parent, wxWindowID id);

    void Fill(const std::vector<category_struct>& categories);
    void AddEntry(int32_t id, const std::u16string& name);
    // Deletes the first entry with that id; an id not in the box changes nothing.
    void RemoveEntry(int32_t id);
    // The first entry with that id takes the name, in the same place.
    void RenameEntry(int32_t id, const std::u16string& name);
    // Selects the entry of that id, or the empty one when no entry has it.
    void SelectId(int32_t id);
    int32_t IdAt(int index) const;

private:
    int Find(int32_t id) const;
};
