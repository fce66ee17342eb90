// The dialogs in their windows: the field editor's grid and buttons, the choosers' lists.
#include <wx/button.h>
#include <wx/propgrid/propgrid.h>

#include "FrameFixture.h"
#include "model/FieldType.h"
#include "ui/FieldEditDialog.h"
#include "ui/PropertyGridCtrl.h"
#include "ui/Resource.h"

namespace {

class DialogsTest : public FrameFixture {
protected:
    static void Press(wxDialog& dialog, int id) {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(dialog.FindWindow(id));
        dialog.ProcessWindowEvent(click);
    }
};

TEST_F(DialogsTest, FieldEditorRenamesAndRetypesOnlyWhatTheCardAllows) {
    CTesseraItem card;
    for (const char16_t* name : {u"Bank", u"User"}) {
        ItemField field;
        field.SetName(name);
        card.fields.AddTail(std::move(field));
    }
    CFieldEditDialog dialog(card, frame, 0);
    dialog.Show();
    wxPropertyGrid* grid = dialog.Grid()->GetGrid();
    ASSERT_EQ(grid->GetRoot()->GetChildCount(), 2u);
    EXPECT_TRUE(grid->GetRoot()->Item(1)->HasFlag(wxPG_PROP_READONLY)) << "a card's own field keeps its type";
    EXPECT_FALSE(dialog.Grid()->BeginNameEdit(0)) << "the name field is never renamed";

    Press(dialog, IDC_FIELD_ADD);
    ASSERT_TRUE(dialog.Grid()->IsEditingName());
    EXPECT_EQ(dialog.Grid()->NameEditor()->GetValue(), "New Field");
    dialog.Grid()->NameEditor()->ChangeValue("Opened");
    wxPGProperty* added = grid->GetRoot()->Item(2);
    EXPECT_FALSE(added->HasFlag(wxPG_PROP_READONLY));
    Press(dialog, IDC_FIELD_UP);  // ends the edit first
    EXPECT_FALSE(dialog.Grid()->IsEditingName());
    EXPECT_EQ(dialog.Grid()->SelectedRow(), 1);
    grid->ChangePropertyValue(grid->GetRoot()->Item(1), static_cast<long>(kFieldDate));

    Press(dialog, IDC_FIELD_OK);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    ASSERT_TRUE(dialog.Modified());
    auto& fields = const_cast<CTesseraItem&>(dialog.WorkingCopy()).fields;
    fields.MoveTo(1);
    EXPECT_EQ(fields.GetCurrent().Name(), u"Opened");
    EXPECT_EQ(fields.GetCurrent().type, kFieldDate);
    EXPECT_EQ(fields.GetCurrent().length(), 16u);
    EXPECT_EQ(grid->GetRoot()->Item(1)->GetLabel(), "Opened");
}

}  // namespace
