// The list pane's commands in the host, over a phone served by a real agent.
#include <wx/aui/framemanager.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "WalletInHost.h"

namespace {

class ListCommandsInHost : public TesseraWalletInHost {
protected:
    void FromMenu(int id) { frame->GetMenuBar()->FindItem(id)->GetMenu()->SendEvent(id); }
    void Keys(int key, int modifiers) {
        wxUIActionSimulator().Char(key, modifiers);
        PumpEvents();
    }
    void Select(std::initializer_list<long> rows, long focus) {
        List()->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
        for (long row : rows) List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        List()->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
        List()->SetFocus();
    }
    // The card list, its first row selected and focused, nothing edited, nothing told.
    void Reset() {
        Click(IDC_CANCEL_BUTTON);
        Tree()->SelectItem(Item(" Cards"));
        Select({0}, 0);
        told.clear();
    }
    // What the pane and the view show: page, rows, selection, the name edited, find mode, last dialog.
    wxString Seen() {
        frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        wxString seen = wxString::Format(
            "%s, %d rows, %d selected: %s", Tree()->GetItemText(Tree()->GetSelection()),
            List()->GetItemCount(), List()->GetSelectedItemCount(),
            List()->GetItemText(List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)));
        if (frame->FindWindow(IDC_SAVE_BUTTON)->IsShown())
            seen += " edited as " + wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl)->GetValue();
        if (frame->GetToolBar()->FindControl(ID_FIND_BOX)->IsEnabled()) seen += " finding";
        return seen + "; " + (told.empty() ? "" : told.back());
    }
};

TEST_F(ListCommandsInHost, SaveAsTemplateAndShortcutsInATextBox) {
    ASSERT_EQ(
        RunShell("echo 'pass word' | " TESSERA_PHONE_EXE " add-samples " + (dir / "phone").string()).status,
        0);
    Open();
    long dentist = List()->FindItem(-1, "Dentist");  // a name and four fields
    Select({dentist}, dentist);
    wxTEST_DIALOG(Keys('S', wxMOD_CONTROL | wxMOD_SHIFT), Told(told));
    EXPECT_EQ(told, std::vector<wxString>{"Template saved!"});
    const int rows = List()->GetItemCount();
    Keys('F', wxMOD_CONTROL | wxMOD_SHIFT);  // find mode: what is typed next goes to the find box
    wxUIActionSimulator().Text("Login");
    PumpEvents();
    auto* box = wxDynamicCast(frame->GetToolBar()->FindControl(ID_FIND_BOX), wxComboBox);
    ASSERT_TRUE(box && box->IsEnabled());
    EXPECT_EQ(box->GetValue(), "Login");
    const int found = List()->GetItemCount(), selected = List()->GetSelectedItemCount();
    EXPECT_LT(found, rows);
    Keys('A', wxMOD_CONTROL);
    EXPECT_EQ(List()->GetSelectedItemCount(), selected) << "Select All reached the list";
    Keys('C', wxMOD_CONTROL);
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards") << "no new category";
    wxTextDataObject copied;
    ASSERT_TRUE(wxTheClipboard->Open() && wxTheClipboard->GetData(copied));
    wxTheClipboard->Close();
    EXPECT_EQ(copied.GetText(), "Login");
    {
        wxTestingModalHook noDialog(__FILE__, __LINE__, __WXFUNCTION__);  // no deletion asked about
        Keys(WXK_DELETE, 0);
    }
    EXPECT_EQ(box->GetValue(), "") << "the box's text went";
    EXPECT_EQ(List()->GetItemCount(), rows) << "and no card";
    Tree()->SelectItem(Item(" Templates"));
    EXPECT_GE(List()->FindItem(-1, "Dentist"), 0);
}

TEST_F(ListCommandsInHost, TheLockEndsTheTemplateChoiceAndACategoryGoesWithOrWithoutItsCards) {
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

TEST_F(ListCommandsInHost, EachCommandFromTheMenuItsToolAndItsShortcut) {
    Open();
    struct Command {
        int id, tool, key;  // tool, key (with Ctrl): 0 without one, or where another test presses it
        const char* shows;  // what Seen() matches once the command ran from the card list; not as before
    };
    const Command commands[] = {
        {ID_NEW_CARD, ID_NEW_DROPDOWN, 'N', " Cards, 31 *: * edited as *; Select Template"},
        {ID_NEW_TEMPLATE, 0, 'T', " Templates, *: New Template edited as New Template; "},
        {ID_NEW_CATEGORY, 0, 'C', " Categories, *: New Category edited as New Category; "},
        {ID_SAVE_AS_TEMPLATE, 0, 0, " Cards, 30 rows, 1 selected: *; Template saved!"},
        {ID_SELECT_ALL, 0, 0, " Cards, 30 rows, 30 selected: *; "},
        {ID_FIND, ID_FIND, 0, " Cards, 30 rows, 1 selected: *; "},  // the find mode on, then off again
        {ID_BACKUP, ID_BACKUP, 0, " Backup, * rows, 1 selected: Backup(Manual).*; Backup to * complete!"},
    };
    auto note = [this](wxDialog* dialog) {
        auto* message = dynamic_cast<wxMessageDialog*>(dialog);
        told.push_back(message ? message->GetMessage() : dialog->GetTitle());
        return wxID_OK;
    };
    for (const Command& command : commands) {
        const std::function<void()> ways[] = {[&] { FromMenu(command.id); },
                                              [&] { frame->GetToolBar()->OnLeftClick(command.tool, false); },
                                              [&] { Keys(command.key, wxMOD_CONTROL); }};
        for (int way : {0, 1, 2}) {
            if ((way == 1 && !command.tool) || (way == 2 && !command.key)) continue;
            Reset();
            wxString before = Seen();
            wxTEST_DIALOG(ways[way](), Answer(note, true));
            EXPECT_TRUE(Seen() != before && Seen().Matches(command.shows))
                << command.id << "/" << way << ": " << Seen();
        }
    }
}

// File > Import Cards...: what the file would add is shown first, and Cancel writes nothing; OK adds the
// cards, which the list then shows.
TEST_F(ListCommandsInHost, ImportCardsShowsWhatItWouldAddThenAddsThem) {
    Open();
    const std::string csv = "title,password,folder\nImported A,1,New\nImported B,2,\n\xFF\n";
    WriteBytes(dir / "in.csv", std::vector<uint8_t>(csv.begin(), csv.end()));
    const wxString path = (dir / "in.csv").string();
    Answer choose([&](wxDialog* dialog) {
        static_cast<wxFileDialog*>(dialog)->SetPath(path);
        return PumpUntil([&] { return static_cast<wxFileDialog*>(dialog)->GetPath() == path; }) ? wxID_OK : 0;
    });
    wxTEST_DIALOG(FromMenu(ID_IMPORT_CARDS), choose, Told(told, wxID_CANCEL));
    EXPECT_EQ(told.back(), "Cards to add: 2. New categories: 1. Lines skipped: 1.");
    EXPECT_EQ(List()->GetItemCount(), 30);
    wxTEST_DIALOG(FromMenu(ID_IMPORT_CARDS), choose, Told(told));
    EXPECT_EQ(List()->GetItemCount(), 32);
    EXPECT_NE(List()->FindItem(-1, "Imported B"), -1);
    EXPECT_TRUE(frame->IsEnabled());
}

// The enabling of eight commands with no wallet, the card list open, in a deletion's loop (the Delete
// key's), and editing.
TEST_F(ListCommandsInHost, EachStateEnablesWhatTheRulesAllow) {
    const int ids[] = {ID_NEW_DROPDOWN, ID_DELETE,     ID_BACKUP,           ID_FIND,
                       ID_LOCK_WALLET,  ID_SELECT_ALL, ID_SAVE_AS_TEMPLATE, ID_ARRANGE_CATEGORY};
    auto enabled = [&] {
        frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        std::string on;  // the tool's enabling, or else the menu item's
        for (int id : ids)
            on += "01"[frame->GetToolBar()->FindById(id) ? frame->GetToolBar()->GetToolEnabled(id)
                                                         : frame->GetMenuBar()->IsEnabled(id)];
        return on;
    };
    EXPECT_EQ(enabled(), "00000000") << "no wallet open";
    Open();
    EXPECT_EQ(enabled(), "11111111") << "open";
    wxAuiManager::GetManager(List())->GetPane(frame->FindWindow(IDW_LIST_BAR)).Hide();  // its close button
    wxAuiManager::GetManager(List())->Update();
    EXPECT_EQ(enabled(), "00001000") << "the pane closed";
    FromMenu(ID_VIEW_LIST_PANE);
    EXPECT_EQ(enabled(), "11111111") << "View > List Pane brings it back";
    Select({0, 1, 2, 3, 4}, 0);
    std::string busy;
    frame->CallAfter([&] { busy = enabled(); });
    wxTEST_DIALOG(FromMenu(ID_DELETE), Told(told, wxID_YES));
    EXPECT_EQ(busy, "00000000") << "busy";
    Select({0}, 0);
    wxTEST_DIALOG(Keys(WXK_DELETE, 0), Told(told, wxID_YES));
    EXPECT_EQ(List()->GetItemCount(), 24);
    Click(IDC_EDIT_BUTTON);
    EXPECT_EQ(enabled(), "00101011") << "editing";
}

// The context menu by keys: Save as Template on the card list; Delete of a backup, its file too.
TEST_F(ListCommandsInHost, TheContextMenuSavesACardAsTemplateAndDeletesABackup) {
    Open();
    wxString items;
    std::vector<int> choice = {WXK_UP, WXK_RETURN};
    frame->FindWindow(IDW_LIST_BAR)->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        for (wxMenuItem* item : event.GetMenu()->GetMenuItems())
            items += (item->IsEnabled() ? "" : "-") + item->GetItemLabelText() + "|";
        for (int key : choice) wxUIActionSimulator().Char(key);
    });
    List()->SetFocus();
    wxTEST_DIALOG(Keys(WXK_F10, wxMOD_SHIFT), Told(told));
    wxTEST_DIALOG(FromMenu(ID_BACKUP), Told(told));  // the backup list shows the new one alone
    const wxString made = List()->GetItemText(0);
    const auto file = dir / "phone" / "fs" / "My Documents" / "Tessera Backup" / made.utf8_string();
    ASSERT_TRUE(std::filesystem::exists(file));
    choice = {WXK_DOWN, WXK_RETURN};
    List()->SetFocus();
    wxTEST_DIALOG(Keys(WXK_F10, wxMOD_SHIFT), Told(told, wxID_YES));
    EXPECT_EQ(items, "New|Delete||Select All|Invert||Save as Template|-New|Delete||Select All|Invert|");
    EXPECT_EQ(told, (std::vector<wxString>{"Template saved!", "Backup to " + made + " complete!",
                                           "Are you sure that you want to delete the selected backup?"}));
    EXPECT_FALSE(std::filesystem::exists(file));
    Tree()->SelectItem(Item(" Cards"));
    Tree()->SelectItem(Item(" Backup"));
    EXPECT_EQ(List()->GetItemCount(), 0) << "the row went, its entry too";
}

}  // namespace
