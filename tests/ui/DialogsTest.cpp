// The dialogs in their windows: the field editor's grid and buttons, the choosers' lists.
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/propgrid/propgrid.h>
#include <wx/testing.h>

#include "FrameFixture.h"
#include "model/Data.h"
#include "model/FieldType.h"
#include "store/StoreFixture.h"
#include "ui/controls/IconGroupView.h"
#include "ui/controls/MyIconList.h"
#include "ui/controls/PropertyGridCtrl.h"
#include "ui/controls/ViewList.h"
#include "ui/controls/WxText.h"
#include "ui/dialogs/FieldEditDialog.h"
#include "ui/dialogs/ProgressDlg.h"
#include "ui/dialogs/TemplateDlg.h"
#include "ui/dialogs/Tessera_IconSelectDlg.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

void Press(wxDialog& dialog, int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog.FindWindow(id));
    dialog.ProcessWindowEvent(click);
}

using DialogsTest = FrameFixture;

// OK is refused while two fields share a name; Esc drops a name edit, then presses Cancel (no title bar).
TEST_F(DialogsTest, FieldEditorRenamesAndRetypesOnlyWhatTheCardAllows) {
    CTesseraItem card;
    for (const char16_t* name : {u"Bank", u"User"}) card.fields.AddTail(TextField(kFieldText, name, u""));
    CFieldEditDialog dialog(card, frame, 0);
    dialog.Show();
    wxPropertyGrid* grid = dialog.Grid()->GetGrid();
    ASSERT_EQ(grid->GetRoot()->GetChildCount(), 2u);
    EXPECT_TRUE(grid->GetRoot()->Item(1)->HasFlag(wxPG_PROP_READONLY)) << "a card's own field keeps its type";
    EXPECT_EQ(grid->GetRoot()->Item(1)->GetHelpString(), LoadResString(IDS_FIELD_TYPE_KEPT));
    EXPECT_FALSE(dialog.Grid()->BeginNameEdit(0)) << "the name field is never renamed";

    Press(dialog, IDC_FIELD_ADD);
    ASSERT_TRUE(dialog.Grid()->IsEditingName());
    EXPECT_EQ(dialog.Grid()->NameEditor()->GetValue(), "New Field");
    const wxString opened = "Opened" + wxString(wxUniChar('W'), 12);
    dialog.Grid()->NameEditor()->ChangeValue(opened);
    EXPECT_FALSE(grid->GetRoot()->Item(2)->HasFlag(wxPG_PROP_READONLY));
    Press(dialog, IDC_FIELD_UP);  // ends the edit first
    EXPECT_EQ(dialog.Grid()->SelectedRow(), 1);
    grid->ChangePropertyValue(grid->GetRoot()->Item(1), static_cast<long>(kFieldDate));
    PumpEvents();
    EXPECT_GE(grid->GetSplitterPosition(), grid->GetTextExtent(opened).x);

    Press(dialog, IDC_FIELD_ADD);
    dialog.Grid()->NameEditor()->ChangeValue("User ");
    wxTEST_DIALOG(Press(dialog, IDC_FIELD_OK), wxExpectModal<wxMessageDialog>(wxID_OK));
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    ASSERT_TRUE(dialog.Grid()->BeginNameEdit(3));
    dialog.ProcessWindowEvent(escape);
    EXPECT_TRUE(dialog.IsShown() && !dialog.Grid()->IsEditingName());
    Press(dialog, IDC_FIELD_DELETE);
    Press(dialog, IDC_FIELD_OK);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    ASSERT_TRUE(dialog.Modified());
    const ItemField& field = dialog.WorkingCopy().fields.head->next->element;
    EXPECT_EQ(field.Name(), FromWx(opened));
    EXPECT_EQ(field.type, kFieldDate);
    dialog.CallAfter([&] { dialog.ProcessWindowEvent(escape); });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
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
    EXPECT_EQ(view->Selected(), 75);
    const int top = view->CalcUnscrolledPosition(wxPoint(0, 0)).y;
    EXPECT_LE(view->Groups().IconRect(75).GetBottom(), top + view->GetClientSize().y) << "scrolled into view";
    EXPECT_EQ(dialog.SelectedIndex(), 75) << "what the strip shows";
    view->Scroll(0, 0);
    wxMouseEvent doubleClick(wxEVT_LEFT_DCLICK);
    doubleClick.SetPosition(view->Groups().IconRect(2).GetPosition() + wxPoint(5, 5));
    view->ProcessWindowEvent(doubleClick);
    EXPECT_EQ(dialog.SelectedIndex(), 2);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
}

using TemplateDlgTest = StoreFixture;

TEST_F(TemplateDlgTest, ListsOtherFieldNamesAndEndsWithOrWithoutAChoice) {
    OpenStore();
    auto add = [&](uint32_t id, uint32_t icon, std::vector<std::u16string_view> names) {
        CTesseraItem item;
        item.icon = icon;
        for (auto name : names) item.fields.AddTail(TextField(kFieldText, name, name));
        ASSERT_TRUE(store->AddRecord(item, id));
    };
    add(CTesseraEncryptedLinkList::kCategoryRecordId, 0, {u"Categories", u"Work"});
    add(7, 3, {u"Login", u"User", u"Password"});
    add(9, 500, {u"Note"});
    CMyIconList icons;
    ASSERT_TRUE(icons.Create());

    CData data;  // the store holds the templates; the wallet is not read
    data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", kWalletFileType),
                   std::move(store));
    CTemplateDlg dialog(nullptr, &data, &icons);
    dialog.Show();
    CViewList* list = dialog.List();
    ASSERT_EQ(list->GetItemCount(), 2) << "the category record is no template";
    EXPECT_EQ(list->GetItemText(0, 0), "Login");
    EXPECT_EQ(list->GetItemText(0, 1), "User,Password");
    EXPECT_EQ(dialog.TemplateId(), 7) << "the first row starts selected";
    list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_EQ(dialog.TemplateId(), 9);

    Press(dialog, IDC_EMPTY_CARD);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog.TemplateId(), -1);
    dialog.EndAsNoChoice();
    EXPECT_EQ(dialog.GetReturnCode(), IDLOCKED);
}

// The plug-in may be unloaded while a phone operation runs: its progress window goes with its parent,
// and the wait still lasts until the work has ended.
TEST_F(DialogsTest, ProgressWaitsForItsWorkWhenItsWindowGoesWithItsParent) {
    auto* parent = new wxPanel(frame);
    std::atomic<bool> parentGone = false;
    bool workEnded = false;
    wxTheApp->CallAfter([&] {
        delete parent;
        parentGone = true;
    });
    RunWithProgress(parent, "Read", "Reading...", [&] {
        while (!parentGone) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        workEnded = true;
    });
    EXPECT_TRUE(workEnded);
}

}  // namespace
