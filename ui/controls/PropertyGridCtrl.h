#pragma once
// The field editor's grid: one row per field, its name and its type, under the headers "Field Name" and
// "Field Type". A type is chosen from a list of the eight type names where the working copy allows it;
// a name is edited in place (63 characters at most) over its name cell. A type that may not change says
// why in its tooltip.
#include <wx/propgrid/manager.h>

class FieldEditCopy;

class CPropertyGridCtrl : public wxPropertyGridManager {
public:
    CPropertyGridCtrl(wxWindow* parent, wxWindowID id, FieldEditCopy& fields);
    ~CPropertyGridCtrl() override;

    // Shows the working copy again and selects row `select` (none when out of range).
    void Fill(int select);
    // The selected row, or -1.
    int SelectedRow() const;
    // Opens the name editor on the row; false for the first row or no row.
    bool BeginNameEdit(int row);
    // Writes the editor's text (when not empty) into the field and closes the editor.
    void EndNameEdit();
    // Closes the editor without writing its text.
    void CancelNameEdit();
    bool IsEditingName() const;
    wxTextCtrl* NameEditor() const;

private:
    void OnDoubleClick(wxPropertyGridEvent& event);
    void OnLabelEditBegin(wxPropertyGridEvent& event);
    void OnLabelEditEnding(wxPropertyGridEvent& event);
    void OnChanged(wxPropertyGridEvent& event);
    void CommitName(wxPGProperty* row);
    // The name column as wide as its widest name or its title, leaving the type column a third at least.
    void FitNames();

    FieldEditCopy& fields;
};
