#pragma once
// "Edit Field": edits the fields of one card or template on a copy. Run it with ShowModal(); when it
// returns wxID_OK and Modified() holds, the caller copies WorkingCopy() back into its record. Cancel, Esc
// (a second one while a name is edited) or the title bar return wxID_CANCEL and drop the copy. OK is
// refused while two fields share a name.
#include <wx/dialog.h>

#include "ui/rules/FieldEditCopy.h"

class CPropertyGridCtrl;

class CFieldEditDialog : public wxDialog {
public:
    // kind: FieldEditCopy::kCard (0) or FieldEditCopy::kTemplate (1).
    CFieldEditDialog(const CTesseraItem& record, wxWindow* parent, int kind);
    ~CFieldEditDialog() override;

    bool Modified() const { return fields.Modified(); }
    const CTesseraItem& WorkingCopy() const { return fields.Item(); }
    CPropertyGridCtrl* Grid() const { return grid; }

private:
    void OnOk(wxCommandEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnUp(wxCommandEvent& event);
    void OnDown(wxCommandEvent& event);
    void OnUpdateButton(wxUpdateUIEvent& event);
    void OnClickOff(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);
    // Ends any name edit, runs the change on the selected row and shows the row it returns.
    void Change(int (FieldEditCopy::*change)(int));

    FieldEditCopy fields;
    CPropertyGridCtrl* grid;
};
