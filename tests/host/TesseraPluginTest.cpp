// The host with the real plug-in library: its exports, switching, the phone, the login and exit.
#include <gtest/gtest.h>
#include <signal.h>
#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/html/htmlwin.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <cstring>
#include <set>
#include <sstream>

#include "../rapi/AgentProcess.h"
#include "GuiTest.h"
#include "LoginExpectations.h"
#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/MainFrame.h"
#include "platform/rapi/RapiTransport.h"
#include "ui/Resource.h"

namespace {

const std::filesystem::path kPlugin = TESSERA_PLUGIN;

TEST(TesseraPluginLibrary, ExportsTheTwelveEntryPointsAndNothingElse) {
    ShellResult listed = RunShell("nm -D --defined-only " + kPlugin.string());
    ASSERT_EQ(listed.status, 0) << listed.text;
    std::set<std::string> exported;
    std::istringstream lines(listed.text);
    std::string address, type, name;
    while (lines >> address >> type >> name) exported.insert(name);
    EXPECT_EQ(exported,
              (std::set<std::string>{"CPU", "CreateOptionsDialog", "GetPluginInfo", "HidePlugin",
                                     "InitPlugin", "OnOptionsChanged", "OnSetUpChange", "OnStateChange",
                                     "PluginProc", "SetSleepTickCount", "ShowPlugin", "UnInitPlugin"}));
}

class TesseraInHost : public testing::Test {
protected:
    void SetUp() override {
        // The plug-in keeps its idle minutes in the host's options file: here, one of the test's own.
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(kPlugin, folder / kPlugin.filename());
        std::filesystem::copy(kPlugin.parent_path() / "tessera-pages", folder / "tessera-pages");
        UsePhone("unix:" + (dir / "nobody.sock").string());
    }
    void TearDown() override {
        if (frame) frame->Close(true);
        EXPECT_TRUE(PumpUntil([this] { return !frame; }));
        RapiSetTransport(nullptr);
    }
    // The host's link, and the plug-in's own copy of the link code, which finds the phone by the variable.
    void UsePhone(const std::string& setting) {
        RapiSetTransport(RapiTransportFromSetting(setting.c_str()));
        setenv("POCKETDECK_PHONE", setting.c_str(), 1);
    }
    void Start() {
        frame = new MainFrame(folder, dir / "config" / "options.dat");
        frame->Show();
        PumpEvents();
    }
    wxBookCtrlBase* Book() { return frame->Windows().book; }
    wxString FirstMenu() { return frame->GetMenuBar()->GetMenuLabel(0); }
    wxTreeCtrl* Tree() { return wxDynamicCast(frame->FindWindow(IDC_NAV_TREE), wxTreeCtrl); }

    TempDir dir;
    std::filesystem::path folder = dir / "plugins";
    wxWeakRef<MainFrame> frame;
};

TEST_F(TesseraInHost, LoadsSwitchesAndUnloads) {
    Start();
    ASSERT_EQ(Book()->GetPageCount(), 2u);
    EXPECT_EQ(Book()->GetPageText(1), "Tessera");
    EXPECT_EQ(Book()->GetSelection(), 1);
    ASSERT_NE(Tree(), nullptr);
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Pocketdeck");
    EXPECT_NE(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);
    EXPECT_NE(frame->GetMenuBar()->FindItem(ID_VISIT_WEBSITE), nullptr);

    Book()->SetSelection(0);
    PumpEvents();
    EXPECT_EQ(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);
    EXPECT_EQ(frame->GetMenuBar()->FindItem(ID_VISIT_WEBSITE), nullptr);
    EXPECT_TRUE(frame->Windows().webView->IsShown());
    Book()->SetSelection(1);
    PumpEvents();
    EXPECT_NE(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);

    wxCommandEvent exit(wxEVT_MENU, ID_APP_EXIT);
    exit.SetEventObject(frame);
    frame->ProcessWindowEvent(exit);
    EXPECT_TRUE(PumpUntil([this] { return !frame; }));
}

class TesseraWalletInHost : public TesseraInHost {
protected:
    void SetUp() override {
        TesseraInHost::SetUp();
        ASSERT_TRUE(MakePhone(dir / "phone"));
        ASSERT_TRUE(AddCards(dir / "phone", 30));
        agent = std::make_unique<AgentProcess>(dir / "phone", dir / "link" / "phone.sock");
        ASSERT_TRUE(agent->Serving());
        UsePhone("unix:" + (dir / "link" / "phone.sock").string());
        Start();
        ASSERT_TRUE(
            PumpUntil([&] { return frame->GetStatusBar()->GetStatusText() == "Phone connected"; }, 8000));
        PumpEvents();
    }
    wxTreeItemId Item(const wxString& text) {
        wxTreeItemIdValue cookie;
        wxTreeItemId product = Tree()->GetFirstChild(Tree()->GetRootItem(), cookie);
        for (wxTreeItemId item = Tree()->GetFirstChild(product, cookie); item.IsOk();
             item = Tree()->GetNextChild(product, cookie)) {
            if (Tree()->GetItemText(item) == text) return item;
        }
        return {};
    }
    wxListCtrl* List() { return wxDynamicCast(frame->FindWindow(IDC_CARD_LIST), wxListCtrl); }
    int32_t LockoutOnPhone() {
        std::vector<uint8_t> options =
            ReadBytes(dir / "phone" / "fs" / "Program Files" / "Tessera" / "Options.dat");
        int32_t remaining = 0;
        std::memcpy(&remaining, options.data() + 0x14, sizeof remaining);
        return remaining;
    }

    std::unique_ptr<AgentProcess> agent;
    std::vector<wxString> told;
};

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

TEST_F(TesseraWalletInHost, FromTheCardsItemThroughTheLoginToTheListedCards) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"}));
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->GetItemCount(), 30);
    EXPECT_TRUE(List()->IsShownOnScreen());
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_EQ(List()->GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    {
        // The second page of the session asks nothing: any dialog would fail the test.
        wxTestingModalHook noDialog(__FILE__, __LINE__, __WXFUNCTION__);
        Tree()->SelectItem(Item(" Templates"));
    }
    EXPECT_GT(List()->GetItemCount(), 0);
    wxListItem header;
    header.SetMask(wxLIST_MASK_TEXT);
    List()->GetColumn(0, header);
    EXPECT_EQ(header.GetText(), " Templates");
}

TEST_F(TesseraWalletInHost, ACardEditedWithTheFieldEditorIsSavedWhenThePluginIsHidden) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"}));
    auto click = [&](int id) {
        wxCommandEvent press(wxEVT_BUTTON, id);
        frame->FindWindow(id)->ProcessWindowEvent(press);
    };
    click(IDC_EDIT_BUTTON);
    wxTEST_DIALOG(click(IDC_EDIT_FIELDS_BUTTON), wxExpectDismissableModal<wxDialog>(wxID_CANCEL));
    wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl)->ChangeValue("Renamed");
    wxTEST_DIALOG(Book()->SetSelection(0), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_NE(List()->FindItem(-1, "Renamed"), -1);
}

TEST_F(TesseraWalletInHost, ThreeWrongPasswordsLockTheLoginOnThePhone) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"", "one", "two", "three"}), Told(told),
                  Told(told), Told(told), Told(told));
    ASSERT_EQ(told.size(), 4u) << "three wrong passwords told, then the lockout";
    EXPECT_TRUE(told[3].Contains("retry in 5 minutes"));
    EXPECT_EQ(LockoutOnPhone(), 300000);
    EXPECT_TRUE(frame->IsEnabled());
    told.clear();
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Categories")), Told(told));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].Contains("retry in 5 minutes"));
}

TEST_F(TesseraWalletInHost, ACancelledLoginStaysAndThePhoneGoingAwayReturnsToTheRoot) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), wxExpectDismissableModal<wxDialog>(wxID_CANCEL));
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards");
    EXPECT_TRUE(frame->IsEnabled());
    agent->Signal(SIGKILL);
    ASSERT_TRUE(agent->WaitForEnd());
    ASSERT_TRUE(
        PumpUntil([&] { return frame->GetStatusBar()->GetStatusText() == "No phone connected"; }, 5000));
    EXPECT_EQ(Tree()->GetSelection(), Tree()->GetRootItem());
}

TEST_F(TesseraWalletInHost, ThePhoneGoingAwayLeavesNoCardShown) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"}));
    auto* name = wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->GetValue(), List()->GetItemText(0));
    agent->Signal(SIGKILL);
    ASSERT_TRUE(agent->WaitForEnd());
    ASSERT_TRUE(
        PumpUntil([&] { return frame->GetStatusBar()->GetStatusText() == "No phone connected"; }, 5000));
    EXPECT_EQ(name->GetValue(), "");
}

}  // namespace
