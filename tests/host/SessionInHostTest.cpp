// The way into the wallet in the host, over a phone served by a real agent: the running application,
// missing and broken files, a lockout found at connection and its countdown on the phone, the idle
// lock, the phone lost while the wallet is read, and the wallet shared with the command line.
#include <dlfcn.h>
#include <signal.h>
#include <wx/testing.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <nlohmann/json.hpp>

#include "WalletInHost.h"
#include "plugin-api/PluginApi.h"

namespace {

constexpr const char* kPassword = "pass word";

class SessionInHost : public TesseraWalletInHost {
protected:
    // An entry point of the plug-in the host loaded, called as the host calls it.
    template <class Proc>
    Proc Export(const char* name) {
        void* library = dlopen((folder / kPlugin.filename()).c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!library) return nullptr;
        auto proc = reinterpret_cast<Proc>(dlsym(library, name));
        dlclose(library);  // the reference RTLD_NOLOAD took
        return proc;
    }
    bool AppRunningOnPhone() {
        std::vector<uint8_t> state = ReadBytes(dir / "phone" / "state.json");
        return nlohmann::json::parse(state.begin(), state.end()).value("running", false);
    }
    void OpenCards() { Tree()->SelectItem(Item(" Cards")); }
    bool AtRoot() { return Tree()->GetSelection() == Tree()->GetRootItem(); }
    void LockoutTick(std::chrono::minutes after) {
        std::filesystem::last_write_time(PhoneFile("Options.dat"),
                                         std::filesystem::file_time_type::clock::now() - after);
        wxWindow* page = Tree()->GetParent();
        wxTimer timer(page, IDT_LOCKOUT);
        wxTimerEvent tick(timer);
        page->ProcessWindowEvent(tick);
    }
};

class ManyCardsInHost : public SessionInHost {
    void PreparePhone() override { ASSERT_TRUE(AddCards(dir / "phone", 170)); }
};

class RunningApplication : public SessionInHost {
    void PreparePhone() override { ASSERT_TRUE(SetPhoneAppRunning(dir / "phone", true)); }
};

TEST_F(RunningApplication, IsClosedOnThePhoneOnlyAfterTheUserWasTold) {
    bool runningWhenTold = false;
    wxTEST_DIALOG(OpenCards(), Answer([&](wxDialog* dialog) {
                      told.push_back(static_cast<wxMessageDialog*>(dialog)->GetMessage());
                      runningWhenTold = AppRunningOnPhone();
                      return wxID_OK;
                  }),
                  TypePasswords({kPassword}));
    EXPECT_EQ(told, std::vector<wxString>{"Quillmark Tessera is currently running on the phone.\n\n"
                                          "Press OK to close it and continue."});
    EXPECT_TRUE(runningWhenTold);
    EXPECT_FALSE(AppRunningOnPhone());
    EXPECT_EQ(List()->GetItemCount(), 30);
}

TEST_F(SessionInHost, AMissingFileOrABrokenWalletIsToldAndTheHostStaysUsable) {
    const std::vector<uint8_t> wallet = ReadBytes(PhoneFile("Tessera.dat"));
    std::vector<uint8_t> broken = wallet;
    broken.back() ^= 0xFF;  // the checksum no longer matches
    for (auto [name, text] :
         {std::pair{"Templates.dat", "Template.dat not found!"},
          {"Options.dat", "Options.dat not found!"},
          {"Tessera.dat", "Read Tessera data failed!\n\nRun 'tessera repair' to check and repair it."}}) {
        const bool read = name == std::string("Tessera.dat");
        read ? WriteBytes(PhoneFile(name), broken)
             : std::filesystem::rename(PhoneFile(name), PhoneFile("moved"));
        told.clear();
        wxTEST_DIALOG(OpenCards(), Told(told));
        EXPECT_EQ(told, std::vector<wxString>{text}) << name;
        EXPECT_TRUE(frame->IsEnabled());
        read ? WriteBytes(PhoneFile(name), wallet)
             : std::filesystem::rename(PhoneFile("moved"), PhoneFile(name));
        Tree()->SelectItem(Tree()->GetRootItem());
    }
    wxTEST_DIALOG(OpenCards(), TypePasswords({kPassword}));
    EXPECT_EQ(List()->GetItemCount(), 30);
}

class LockoutAtConnection : public SessionInHost {
    void PreparePhone() override { SetLockoutOnPhone(119999); }
};

TEST_F(LockoutAtConnection, RefusesTheLoginCountsDownOnThePhoneAndResumesAfterTheReset) {
    wxTEST_DIALOG(OpenCards(), Told(told));
    EXPECT_EQ(told,
              std::vector<wxString>{"You have entered incorrect password too many times, please retry in "
                                    "1 minutes."});
    LockoutTick(std::chrono::minutes(1));
    EXPECT_NEAR(LockoutOnPhone(), 59999, 2000);

    agent->Signal(SIGKILL);
    ASSERT_TRUE(agent->WaitForEnd());
    ASSERT_TRUE(PumpUntil([&] { return Status() == "No phone connected"; }, 5000));
    SetLockoutOnPhone(200000);
    ASSERT_NO_FATAL_FAILURE(Serve());
    ASSERT_TRUE(PumpUntil([&] { return Status() == "Phone connected"; }, 8000));
    told.clear();
    wxTEST_DIALOG(OpenCards(), Told(told));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].Contains("retry in 3 minutes")) << told[0];
    LockoutTick(std::chrono::minutes(1));
    EXPECT_NEAR(LockoutOnPhone(), 140000, 10000);  // less the reconnection's wait
}

TEST_F(SessionInHost, IdleTimeLocksOnlyOutsideTheLoginAndNeverAtZeroMinutes) {
    auto idle = Export<SetSleepTickCountProc>("SetSleepTickCount");
    ASSERT_NE(idle, nullptr);
    constexpr uint32_t kHourMs = 3600000;
    uint32_t options[8] = {};
    options[plugin::kIdleMinutesWord] = 5;
    Export<OnOptionsChangedProc>("OnOptionsChanged")(options);
    wxTEST_DIALOG(OpenCards(), Answer([&](wxDialog* login) {
                      idle(kHourMs);
                      return TypePasswords({kPassword}).Invoke(login);
                  }));
    EXPECT_EQ(List()->GetItemCount(), 30) << "the open login kept the idle lock out";
    idle(5 * 60000 - 1);
    EXPECT_FALSE(AtRoot());
    idle(5 * 60000);
    EXPECT_TRUE(AtRoot()) << "from the threshold on";

    options[plugin::kIdleMinutesWord] = 0;
    Export<OnOptionsChangedProc>("OnOptionsChanged")(options);
    wxTEST_DIALOG(OpenCards(), TypePasswords({kPassword}));
    idle(kHourMs);
    EXPECT_FALSE(AtRoot()) << "no idle lock at zero minutes";
    frame->GetToolBar()->OnLeftClick(ID_LOCK_WALLET, false);
    EXPECT_TRUE(AtRoot());
}

TEST_F(SessionInHost, ThePhoneLostDuringTheReadLeavesTheHostEnabledAndNothingRead) {
    // The test holds the wallet, so the read waits its turn while the phone goes away.
    const int holder = HoldWallet();
    ASSERT_GE(holder, 0);
    bool lostWhileReading = false;
    frame->CallAfter([&] {
        agent->Signal(SIGKILL);
        lostWhileReading = PumpUntil([&] { return Status() == "No phone connected"; }, 5000);
    });
    {
        wxTestingModalHook noDialog(__FILE__, __LINE__, __WXFUNCTION__);  // no message, no login
        OpenCards();
    }
    ::close(holder);
    EXPECT_TRUE(lostWhileReading);
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(AtRoot());
    EXPECT_FALSE(List() && List()->IsShownOnScreen());
}

// The wallet shared with the command line: a long note and a formatted number the user never touched
// survive a Save and the idle lock inside the save question; a card renamed elsewhere shows renamed after
// a new login; a field added elsewhere while the card is edited survives the second Save.
TEST_F(SessionInHost, WhatTheUserDidNotTouchSurvivesSavesLocksAndOtherWriters) {
    auto cli = [&](const std::string& arguments) {
        return RunShell(std::string("echo '") + kPassword + "' | " TESSERA_EXE " " + arguments +
                        " --password-stdin --phone unix:" + (dir / "link" / "phone.sock").string());
    };
    const auto id = std::to_string(nlohmann::json::parse(cli("list --json").text).at(0).value("id", 0));
    const std::string note(300, 'n'), number = "+44 20 7946 0018";
    ASSERT_EQ(cli("edit " + id + " --set 'Notes=" + note + "' --set 'Phone=" + number + "'").status, 0);
    auto idle = Export<SetSleepTickCountProc>("SetSleepTickCount");
    uint32_t options[8] = {};
    options[plugin::kIdleMinutesWord] = 5;
    Export<OnOptionsChangedProc>("OnOptionsChanged")(options);
    auto name = [&] { return wxDynamicCast(frame->FindWindow(IDC_NAME_BOX), wxTextCtrl); };
    wxTEST_DIALOG(OpenCards(), TypePasswords({kPassword}));
    const std::vector<uint8_t> stored = ReadBytes(PhoneFile("Tessera.dat"));
    Click(IDC_EDIT_BUTTON);
    Click(IDC_SAVE_BUTTON);
    EXPECT_EQ(ReadBytes(PhoneFile("Tessera.dat")), stored) << "nothing changed, nothing written";
    Click(IDC_EDIT_BUTTON);
    name()->ChangeValue("Renamed here");
    wxTEST_DIALOG(List()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
                  Answer([&](wxDialog*) {
                      idle(5 * 60000);
                      EXPECT_FALSE(AtRoot()) << "the lock waits for the answer";
                      return wxID_YES;
                  }));
    EXPECT_TRUE(AtRoot());
    for (const std::string& kept : {std::string("Renamed here"), note, number})
        EXPECT_NE(cli("show " + id).text.find(kept), std::string::npos) << kept;

    ASSERT_EQ(cli("edit " + id + " --name 'Renamed elsewhere'").status, 0);
    wxTEST_DIALOG(OpenCards(), TypePasswords({kPassword}));
    const long row = List()->FindItem(-1, "Renamed elsewhere");
    ASSERT_GE(row, 0) << "read again at the new login";
    List()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    Click(IDC_EDIT_BUTTON);
    name()->ChangeValue("Mine");
    ASSERT_EQ(cli("edit " + id + " --set 'Extra=theirs'").status, 0);
    wxTEST_DIALOG(Click(IDC_SAVE_BUTTON), Told(told));
    Click(IDC_SAVE_BUTTON);
    for (const std::string& kept : {std::string("Mine"), std::string("theirs"), note, number})
        EXPECT_NE(cli("show " + id).text.find(kept), std::string::npos) << kept;
}

// The phone lost while 200 cards are deleted: the deletion ends first, then the wallet and rows are let go.
TEST_F(ManyCardsInHost, ThePhoneLostDuringADeletionEndsItBeforeTheWalletIsLetGo) {
    wxTEST_DIALOG(OpenCards(), TypePasswords({kPassword}));
    ASSERT_EQ(List()->GetItemCount(), 200);
    for (long row = 0; row < 200; ++row)
        List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    bool lostWhileDeleting = false;
    frame->CallAfter([&] {
        agent->Signal(SIGKILL);
        lostWhileDeleting = PumpUntil([&] { return Status() == "No phone connected"; }, 5000);
    });
    wxCommandEvent remove(wxEVT_MENU, ID_DELETE);
    wxTEST_DIALOG(frame->ProcessWindowEvent(remove), Told(told, wxID_YES));
    EXPECT_TRUE(lostWhileDeleting);
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(AtRoot());
}

}  // namespace
