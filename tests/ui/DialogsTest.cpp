// The dialogs in their windows: the field editor's grid and buttons, the choosers' lists.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/propgrid/propgrid.h>

#include "FrameFixture.h"
#include "model/FieldType.h"
#include "store/StoreFixture.h"
#include "ui/FieldEditDialog.h"
#include "ui/IconGroupView.h"
#include "ui/MyIconList.h"
#include "ui/PropertyGridCtrl.h"
#include "ui/Resource.h"
#include "ui/TemplateDlg.h"
#include "ui/Tessera_DeleteCategoryDlg.h"
#include "ui/Tessera_IconSelectDlg.h"
#include "ui/ViewList.h"

namespace {

void Press(wxDialog& dialog, int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog.FindWindow(id));
    dialog.ProcessWindowEvent(click);
}

using DialogsTest = FrameFixture;

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
    // Going with a name still in the editor writes nothing into the copy it is freeing (ASan).
    EXPECT_TRUE(dialog.Grid()->BeginNameEdit(2));
}

TEST_F(DialogsTest, IconChooserStartsAtTheGivenIconAndADoubleClickChoosesAnother) {
    CMyIconList icons;
    ASSERT_TRUE(icons.Create());
    CTessera_IconSelectDlg dialog(frame, icons, 75);
    dialog.Show();
    PumpEvents();
    CIconGroupView* view = dialog.View();
    ASSERT_EQ(view->Groups().IconCount(), icons.IconCount());
    EXPECT_EQ(view->Selected(), 75);
    const wxRect shown = view->Groups().IconRect(75);
    const int top = view->CalcUnscrolledPosition(wxPoint(0, 0)).y;
    EXPECT_GE(shown.y, top) << "the starting icon is scrolled into view";
    EXPECT_LE(shown.GetBottom(), top + view->GetClientSize().y);
    // The strip shows that icon before anything is clicked.
    wxBitmap strip(dialog.Strip()->GetClientSize());
    {
        wxMemoryDC dc(strip);
        dialog.DrawStrip(dc);
    }
    const wxImage drawn = strip.ConvertToImage().GetSubImage(wxRect(6, (strip.GetHeight() - 32) / 2, 32, 32));
    const wxImage icon = icons.Large()->GetBitmap(75).ConvertToImage();
    int same = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            same += !icon.IsTransparent(x, y) && drawn.GetRed(x, y) == icon.GetRed(x, y) &&
                    drawn.GetGreen(x, y) == icon.GetGreen(x, y) && drawn.GetBlue(x, y) == icon.GetBlue(x, y);
    EXPECT_GT(same, 100);

    view->Scroll(0, 0);
    wxMouseEvent doubleClick(wxEVT_LEFT_DCLICK);
    doubleClick.SetPosition(view->Groups().IconRect(2).GetPosition() + wxPoint(5, 5));
    view->ProcessWindowEvent(doubleClick);
    EXPECT_EQ(dialog.SelectedIndex(), 2);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog.InitialIndex(), 75);
}

TEST_F(DialogsTest, DeleteCategoryQuestionKeepsTheCheckBoxState) {
    for (int preset : {0, 1}) {
        Tessera_DeleteCategoryDlg dialog(frame);
        dialog.deleteCards = preset;
        dialog.TransferDataToWindow();
        auto* box = wxDynamicCast(dialog.FindWindow(IDC_DELETE_CARDS), wxCheckBox);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetValue(), preset == 1);
        box->SetValue(preset == 0);
        dialog.TransferDataFromWindow();
        EXPECT_EQ(dialog.deleteCards, 1 - preset);
    }
}

class TemplateDlgTest : public StoreFixture {
protected:
    void AddTemplate(uint32_t id, uint32_t icon, std::vector<std::u16string_view> names) {
        CTesseraItem item;
        item.icon = icon;
        for (auto name : names) item.fields.AddTail(TextField(kFieldText, name, name));
        ASSERT_TRUE(store->AddRecord(item, id));
    }
};

TEST_F(TemplateDlgTest, ListsTemplatesWithTheirOtherFieldsAndEndsWithOrWithoutAChoice) {
    OpenStore();
    AddTemplate(CTesseraEncryptedLinkList::kCategoryRecordId, 0, {u"Categories", u"Work"});
    AddTemplate(7, 3, {u"Login", u"User", u"Password"});
    AddTemplate(9, 500, {u"Note"});
    CMyIconList icons;
    ASSERT_TRUE(icons.Create());

    CTemplateDlg dialog(nullptr, store.get(), &icons);
    dialog.Show();
    CViewList* list = dialog.List();
    ASSERT_EQ(list->GetItemCount(), 2) << "the category record is no template";
    EXPECT_EQ(list->GetItemText(0, 0), "Login");
    EXPECT_EQ(list->GetItemText(0, 1), "User,Password");
    EXPECT_EQ(list->GetItemText(1, 1), "");
    EXPECT_EQ(dialog.TemplateId(), 7) << "the first row starts selected";
    list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_EQ(dialog.TemplateId(), 9);

    Press(dialog, IDC_EMPTY_CARD);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog.TemplateId(), -1);
    dialog.EndAsNoChoice();
    EXPECT_EQ(dialog.GetReturnCode(), IDLOCKED);
}

}  // namespace
