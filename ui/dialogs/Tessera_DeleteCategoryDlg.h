#pragma once
// "Delete Category": asks whether the category goes, and whether its cards go with it. Set deleteCards
// to preset the check box; after ShowModal() returns wxID_OK it holds the box's state (0 or 1).
#include <wx/dialog.h>

#include <cstdint>

class wxCheckBox;

class Tessera_DeleteCategoryDlg : public wxDialog {
public:
    explicit Tessera_DeleteCategoryDlg(wxWindow* parent);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    // The wallet lock ends the question with IDLOCKED: nothing is deleted.
    void EndAsNoChoice();

    int32_t deleteCards = 0;

private:
    wxCheckBox* check;
};
