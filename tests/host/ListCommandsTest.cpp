// The list pane's commands in the host, over a phone served by a real agent.
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "WalletInHost.h"

namespace {

class ListCommands : public TesseraWalletInHost {
protected:
    void Open() { wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"})); }
    void FromMenu(int id) { frame->GetMenuBar()->FindItem(id)->GetMenu()->SendEvent(id); }
    void Keys(int key, int modifiers) {
        wxUIActionSimulator().Char(key, modifiers);
        PumpEvents();
    }
    void Select(std::initializer_list<long> rows, long focus) {
        List()->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
        for (long row : rows) List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        List()->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    }
};

TEST_F(ListCommands, ThreeCardsGoFromTheBottomUpAndTheFocusKeepsItsPlace) {
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(frame->GetToolBar()->GetToolEnabled(ID_DELETE)) << "no wallet open";
    Open();
    wxString standsAtThree = List()->GetItemText(6);
    Select({2, 3, 4}, 3);
    wxTEST_DIALOG(frame->GetToolBar()->OnLeftClick(ID_DELETE, false), Told(told, wxID_NO));
    EXPECT_EQ(List()->GetItemCount(), 30);
    wxTEST_DIALOG(FromMenu(ID_DELETE), Told(told, wxID_YES));
    EXPECT_EQ(told, std::vector<wxString>(2, "Are you sure that you want to delete the selected card?"));
    EXPECT_EQ(List()->GetItemCount(), 27);
    EXPECT_EQ(List()->GetSelectedItemCount(), 1);
    EXPECT_EQ(List()->GetItemText(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED)),
              standsAtThree);
    EXPECT_TRUE(frame->IsEnabled());
    List()->SetFocus();
    Select({26}, 26);
    wxTEST_DIALOG(Keys(WXK_DELETE, 0), Told(told, wxID_YES));
    EXPECT_EQ(List()->GetItemCount(), 26);
    EXPECT_EQ(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 0) << "the last row went";
    Keys('A', wxMOD_CONTROL);
    wxCommandEvent invert(wxEVT_MENU, ID_INVERT_SELECTION);
    frame->ProcessWindowEvent(invert);
    EXPECT_EQ(List()->GetSelectedItemCount(), 0) << "a fully selected list inverts to none";
}

TEST_F(ListCommands, SaveAsTemplateAndShortcutsInATextBox) {
    ASSERT_EQ(
        RunShell("echo 'pass word' | " TESSERA_PHONE_EXE " add-samples " + (dir / "phone").string()).status,
        0);
    Open();
    long dentist = List()->FindItem(-1, "Dentist");  // a name and four fields
    Select({dentist}, dentist);
    wxTEST_DIALOG(Keys('S', wxMOD_CONTROL | wxMOD_SHIFT), Told(told));
    EXPECT_EQ(told, std::vector<wxString>{"Template saved!"});
    Keys('F', wxMOD_CONTROL | wxMOD_SHIFT);  // find mode: the find box takes text
    auto* box = wxDynamicCast(frame->GetToolBar()->FindControl(ID_FIND_BOX), wxComboBox);
    ASSERT_TRUE(box && box->IsEnabled());
    box->SetFocus();
    box->ChangeValue("Login");
    Keys('A', wxMOD_CONTROL);
    EXPECT_EQ(List()->GetSelectedItemCount(), 1) << "Select All reached the list";
    Keys('C', wxMOD_CONTROL);
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards") << "no new category";
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open() && wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), "Login");
    Tree()->SelectItem(Item(" Templates"));
    EXPECT_GE(List()->FindItem(-1, "Dentist"), 0);
}

TEST_F(ListCommands, TheLockEndsTheTemplateChoiceAndACategoryGoesWithOrWithoutItsCards) {
    Open();
    wxTEST_DIALOG(FromMenu(ID_NEW_CARD), Answer([this](wxDialog* dialog) {
                      frame->GetToolBar()->OnLeftClick(ID_LOCK_WALLET, false);
                      EXPECT_EQ(dialog->GetReturnCode(), IDLOCKED) << "the lock ends the choice";
                      return wxID_OK;  // a choice made after the lock makes no card
                  }));
    EXPECT_EQ(List()->GetItemCount(), 30) << "no new card";
    Open();
    for (auto [name, withCards, left] : {std::tuple{"Travel", false, 30}, {"Work", true, 25}}) {
        Tree()->SelectItem(Item(" Categories"));
        long row = List()->FindItem(-1, name);
        Select({row}, row);
        wxTEST_DIALOG(
            Keys('D', wxMOD_CONTROL), Answer([withCards](wxDialog* dialog) {
                wxDynamicCast(dialog->FindWindow(IDC_DELETE_CARDS), wxCheckBox)->SetValue(withCards);
                PressOk(dialog);
                return wxID_OK;
            }));
        EXPECT_EQ(List()->FindItem(-1, name), -1);
        Tree()->SelectItem(Item(" Cards"));
        EXPECT_EQ(List()->GetItemCount(), left) << name;
    }
}

}  // namespace
