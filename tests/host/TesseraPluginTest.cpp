// The host with the real plug-in library: its exports, switching, the phone, the login and exit.
#include <signal.h>
#include <wx/html/htmlwin.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <set>
#include <sstream>

#include "WalletInHost.h"

namespace {

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

TEST_F(TesseraWalletInHost, FromTheCardsItemThroughTheLoginToTheListedCards) {
    // The refused text leaves the box, so the retyped password is all it holds.
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"wrong", "pass word"}), Told(told));
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

// What the editor does on Yes, No and the lock is proven on its own; here, the host's hide asks it.
TEST_F(TesseraWalletInHost, EditsAreSavedOnHideWithTheIconChosenInTheView) {
    Open();
    auto name = [&] { return wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl); };
    Click(IDC_EDIT_BUTTON);
    wxTEST_DIALOG(Click(IDC_EDIT_FIELDS_BUTTON), wxExpectDismissableModal<wxDialog>(wxID_CANCEL));
    wxTEST_DIALOG(Click(IDC_ICON_BUTTON), Answer([](wxDialog* chooser) {
                      for (wxWindow* icons : chooser->GetChildren()) {
                          if (!dynamic_cast<wxScrolledCanvas*>(icons)) continue;
                          wxListEvent chosen(wxEVT_LIST_ITEM_SELECTED, icons->GetId());
                          chosen.m_itemIndex = 5;
                          icons->ProcessWindowEvent(chosen);
                      }
                      return wxID_OK;
                  }));
    name()->ChangeValue("Renamed");
    wxTEST_DIALOG(Book()->SetSelection(0), wxExpectModal<wxMessageDialog>(wxID_YES));
    Book()->SetSelection(1);
    wxListItem renamed;
    renamed.SetId(List()->FindItem(-1, "Renamed"));
    renamed.SetMask(wxLIST_MASK_IMAGE);
    ASSERT_TRUE(List()->GetItem(renamed));
    EXPECT_EQ(renamed.GetImage(), 5) << "the icon chosen in the view";
}

TEST_F(TesseraWalletInHost, AnEditThePhoneRefusesStaysWhenAnotherListIsChosen) {
    Open();
    Click(IDC_EDIT_BUTTON);
    auto* name = wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl);
    name->ChangeValue("Kept");
    const int holder = HoldWallet();  // for longer than a save waits its turn
    ASSERT_GE(holder, 0);
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Templates")), wxExpectModal<wxMessageDialog>(wxID_YES),
                  Told(told));
    ::close(holder);
    EXPECT_EQ(told, std::vector<wxString>{"The card could not be saved to the phone."});
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards");
    EXPECT_EQ(name->GetValue(), "Kept");
    Click(IDC_SAVE_BUTTON);
    EXPECT_NE(List()->FindItem(-1, "Kept"), -1);
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
    EXPECT_TRUE(told[0].Contains("retry in 4 minutes")) << "a moment of the five has gone";
}

TEST_F(TesseraWalletInHost, ACancelledLoginStaysAndThePhoneGoingAwayReturnsToTheRoot) {
    wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), wxExpectDismissableModal<wxDialog>(wxID_CANCEL));
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards");
    EXPECT_TRUE(frame->IsEnabled());
    agent->Signal(SIGKILL);
    ASSERT_TRUE(agent->WaitForEnd());
    ASSERT_TRUE(PumpUntil([&] { return Status() == "No phone connected"; }, 5000));
    EXPECT_EQ(Tree()->GetSelection(), Tree()->GetRootItem());
}

TEST_F(TesseraWalletInHost, ThePhoneGoingAwayLeavesNoCardShown) {
    Open();
    auto* name = wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->GetValue(), List()->GetItemText(0));
    agent->Signal(SIGKILL);
    ASSERT_TRUE(agent->WaitForEnd());
    ASSERT_TRUE(PumpUntil([&] { return Status() == "No phone connected"; }, 5000));
    EXPECT_EQ(name->GetValue(), "");
}

}  // namespace
