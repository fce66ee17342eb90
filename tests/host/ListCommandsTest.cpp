// The list pane's commands in the host, on a served phone: from the menu, the toolbar and the keys.
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "LoginExpectations.h"
#include "WalletInHost.h"

namespace {

// A message box answered with answer; its caption and text are kept.
class Answer : public wxModalExpectation {
public:
    Answer(int answer, std::vector<wxString>& told) : answer(answer), told(told) {}
    int Invoke(wxDialog* dialog) const override {
        auto* message = dynamic_cast<wxMessageDialog*>(dialog);
        if (!message) return wxID_NONE;
        told.push_back(message->GetTitle() + "|" + message->GetMessage());
        return answer;
    }

protected:
    wxString GetDefaultDescription() const override { return "a message box"; }

private:
    int answer;
    std::vector<wxString>& told;
};

class ListCommands : public TesseraWalletInHost {
protected:
    void Open(const wxString& item) {
        wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"}));
        if (item != " Cards") Tree()->SelectItem(Item(item));
        PumpEvents();
    }
    void FromMenu(int id) { frame->GetMenuBar()->FindItem(id)->GetMenu()->SendEvent(id); }
    void FromToolbar(int id) { frame->GetToolBar()->OnLeftClick(id, false); }
    void Keys(int key, int modifiers) {
        wxUIActionSimulator keys;
        keys.Char(key, modifiers);
        PumpEvents();
    }
    bool ToolEnabled(int id) {
        frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        return frame->GetToolBar()->GetToolEnabled(id);
    }
    void Select(std::initializer_list<long> rows, long focus) {
        List()->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
        for (long row : rows) List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        List()->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    }
    std::vector<wxString> told;
};

TEST_F(ListCommands, DeletingThreeCardsGoesFromTheBottomUpAndTheFocusKeepsItsPlace) {
    EXPECT_FALSE(ToolEnabled(ID_DELETE)) << "no wallet open";
    Open(" Cards");
    ASSERT_TRUE(ToolEnabled(ID_DELETE));
    wxString standsAtThree = List()->GetItemText(6);
    Select({2, 3, 4}, 3);
    wxTEST_DIALOG(FromToolbar(ID_DELETE), Answer(wxID_NO, told));
    EXPECT_EQ(List()->GetItemCount(), 30);
    wxTEST_DIALOG(FromMenu(ID_DELETE), Answer(wxID_YES, told));
    ASSERT_EQ(told, (std::vector<wxString>(
                        2, "Pocketdeck|Are you sure that you want to delete the selected card?")));
    EXPECT_EQ(List()->GetItemCount(), 27);
    EXPECT_EQ(List()->GetSelectedItemCount(), 1);
    EXPECT_EQ(List()->GetItemText(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED)),
              standsAtThree);
    EXPECT_TRUE(frame->IsEnabled());

    // The Delete key in the list, on the last row: the focus goes to row 0.
    List()->SetFocus();
    Select({26}, 26);
    wxTEST_DIALOG(Keys(WXK_DELETE, 0), Answer(wxID_YES, told));
    EXPECT_EQ(List()->GetItemCount(), 26);
    EXPECT_EQ(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 0);
}

TEST_F(ListCommands, ShortcutsInATextBoxActOnItsText) {
    Open(" Cards");
    Keys('F', wxMOD_CONTROL | wxMOD_SHIFT);  // find mode: the find box takes text
    auto* box = wxDynamicCast(frame->GetToolBar()->FindControl(ID_FIND_BOX), wxComboBox);
    ASSERT_TRUE(box && box->IsEnabled());
    box->SetFocus();
    box->ChangeValue("Login");
    Keys('A', wxMOD_CONTROL);
    EXPECT_EQ(List()->GetSelectedItemCount(), 1) << "Select All did not reach the list";
    Keys('C', wxMOD_CONTROL);
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards") << "no new category";
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->GetData(copied);
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), "Login");
}

}  // namespace
