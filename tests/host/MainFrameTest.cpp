// The host frame with copies of the fake plug-in in its plug-in folder.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <wx/bookctrl.h>
#include <wx/html/htmlwin.h>
#include <wx/menu.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/weakref.h>

#include <algorithm>

#include "../rapi/AgentProcess.h"
#include "FakePluginIds.h"
#include "GuiTest.h"
#include "LoginExpectations.h"
#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/HostOptions.h"
#include "host/MainFrame.h"
#include "host/OptionsDialog.h"
#include "platform/rapi/api/RapiTransport.h"
#include "plugin-api/PluginApi.h"

namespace {

using Calls = std::vector<std::string>;

// A copy of a fake plug-in in the plug-in folder, opened by the test as well so that its log outlives
// the host's unloading.
class FakeCopy {
public:
    FakeCopy(const char* built, const std::filesystem::path& copy) {
        std::filesystem::copy_file(built, copy);
        handle = ::dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ~FakeCopy() {
        if (handle) ::dlclose(handle);
    }

    template <typename Proc>
    Proc Function(const char* name) const {
        return reinterpret_cast<Proc>(::dlsym(handle, name));
    }
    Calls All() const { return *Function<const Calls* (*)()>("FakeCalls")(); }
    // The calls without command routing and idle reports, which come at any time.
    Calls Lifecycle() const {
        Calls calls = All();
        std::erase_if(calls, [](const std::string& call) {
            return call.starts_with("PluginProc") || call.starts_with("SetSleepTickCount");
        });
        return calls;
    }
    size_t Count(const std::string& call) const { return std::ranges::count(All(), call); }
    bool Has(const std::string& call) const { return Count(call) > 0; }

private:
    void* handle = nullptr;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        UsePhone("unix:" + (dir / "nobody.sock").string());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        if (frame) frame->Close(true);
        EXPECT_TRUE(PumpUntil([this] { return !frame; }));
        RapiSetTransport(nullptr);
    }

    void UsePhone(const std::string& setting) { RapiSetTransport(RapiTransportFromSetting(setting.c_str())); }
    FakeCopy& AddFake(const std::string& name, const char* built = FAKE_PLUGIN_GOOD) {
        return *fakes.emplace_back(std::make_unique<FakeCopy>(built, folder / name));
    }
    void Start(const std::vector<std::filesystem::path>& laterFolders = {}) {
        std::vector<std::filesystem::path> folders{folder};
        folders.insert(folders.end(), laterFolders.begin(), laterFolders.end());
        frame = new MainFrame(folders, optionsFile);
        frame->Show();
        PumpEvents();
    }
    bool Send(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(frame);
        return frame->ProcessWindowEvent(event);
    }
    void Select(size_t page) {
        frame->Windows().book->SetSelection(page);
        PumpEvents();
    }

    TempDir dir;
    std::filesystem::path folder = dir / "plugins";
    std::filesystem::path optionsFile = dir / "config" / "options.dat";
    std::vector<std::unique_ptr<FakeCopy>> fakes;
    wxWeakRef<MainFrame> frame;
};

TEST_F(MainFrameTest, StartsWithoutPlugins) {
    Start();
    EXPECT_EQ(frame->Windows().book->GetPageCount(), 1u);
    EXPECT_TRUE(frame->LoadErrors().empty());
    EXPECT_TRUE(PumpUntil([this] { return frame->GetStatusBar()->GetStatusText() == "No phone connected"; }));
}

TEST_F(MainFrameTest, LoadsShowsAndHidesInOrder) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    EXPECT_EQ(fake.Lifecycle(),
              (Calls{"GetPluginInfo", "InitPlugin typed", "OnOptionsChanged 0 5", "ShowPlugin"}));
    wxBookCtrlBase* book = frame->Windows().book;
    ASSERT_EQ(book->GetPageCount(), 2u);
    EXPECT_EQ(book->GetSelection(), 1);
    EXPECT_NE(frame->Windows().toolBar->FindControl(kFakeFindBox), nullptr);

    Select(0);
    EXPECT_EQ(fake.Lifecycle().back(), "HidePlugin");
    EXPECT_NE(frame->GetMenuBar()->FindItem(ID_APP_EXIT), nullptr);
    EXPECT_EQ(frame->Windows().toolBar->FindControl(kFakeFindBox), nullptr);
    EXPECT_NE(frame->Windows().toolBar->FindById(ID_HOST_OPTIONS), nullptr);

    Select(1);
    EXPECT_EQ(fake.Lifecycle().back(), "ShowPlugin");
    EXPECT_EQ(fake.Count("ShowPlugin"), 2u);
    EXPECT_EQ(fake.Count("HidePlugin"), 1u);
}

TEST_F(MainFrameTest, BadPluginsAreReportedAndTheGoodOneRuns) {
    AddFake("a_missing.so", FAKE_PLUGIN_MISSING_EXPORT);
    FakeCopy& failing = AddFake("b_fails.so", FAKE_PLUGIN_INIT_FAILS);
    WriteBytes(folder / "c_garbage.so", {'x'});
    FakeCopy& good = AddFake("d_good.so");
    testing::internal::CaptureStderr();
    Start();
    std::string printed = testing::internal::GetCapturedStderr();

    EXPECT_EQ(failing.All(), (Calls{"GetPluginInfo", "InitPlugin typed", "UnInitPlugin"}));
    EXPECT_EQ(good.Lifecycle().back(), "ShowPlugin");
    ASSERT_EQ(frame->LoadErrors().size(), 3u);
    std::vector<wxString> told;
    wxTEST_DIALOG(frame->ReportLoadErrors(), Told(told));
    ASSERT_EQ(told.size(), 1u);
    const wxString& text = told[0];
    for (const char* part :
         {"a_missing.so", "SetSleepTickCount", "b_fails.so", "InitPlugin", "c_garbage.so"}) {
        EXPECT_TRUE(text.Contains(part)) << part << " in " << text;
        EXPECT_NE(printed.find(part), std::string::npos) << part << " in " << printed;
    }
    EXPECT_EQ(text.Find("d_good.so"), wxNOT_FOUND);
}

TEST_F(MainFrameTest, APluginHidesOneOfTheSameNameInALaterFolder) {
    const std::filesystem::path later = dir / "installed";
    std::filesystem::create_directories(later);
    FakeCopy& user = AddFake("a.so");
    fakes.push_back(std::make_unique<FakeCopy>(FAKE_PLUGIN_INIT_FAILS, later / "a.so"));
    fakes.push_back(std::make_unique<FakeCopy>(FAKE_PLUGIN_GOOD, later / "b.so"));
    Start({later});
    EXPECT_TRUE(frame->LoadErrors().empty());
    EXPECT_EQ(frame->Windows().book->GetPageCount(), 3u);
    EXPECT_EQ(user.Count("InitPlugin typed"), 1u);
    EXPECT_EQ(fakes[1]->All(), Calls{});
}

TEST_F(MainFrameTest, CommandsGoToTheShownPlugin) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    EXPECT_TRUE(Send(kFakeHandled));
    EXPECT_TRUE(fake.Has("PluginProc 30001 0"));
    EXPECT_FALSE(Send(kFakeUnhandled)) << "a command the plug-in leaves goes on";
    EXPECT_TRUE(fake.Has("PluginProc 30002 0"));
    wxUpdateUIEvent update(kFakeUnhandled);
    frame->ProcessWindowEvent(update);
    EXPECT_TRUE(fake.Has("PluginProc 30002 -1"));
    auto* findBox = wxDynamicCast(frame->Windows().toolBar->FindControl(kFakeFindBox), wxTextCtrl);
    ASSERT_NE(findBox, nullptr);
    findBox->SetValue("visa");
    EXPECT_TRUE(fake.Has("PluginProc " + std::to_string(kFakeFindBox) + " 768"));
    wxCommandEvent enter(wxEVT_TEXT_ENTER, kFakeFindBox);
    enter.SetEventObject(findBox);
    findBox->ProcessWindowEvent(enter);
    EXPECT_TRUE(fake.Has("PluginProc " + std::to_string(kFakeFindBox) + " 0"))
        << "Enter is the box's command";

    EXPECT_TRUE(Send(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());
    EXPECT_FALSE(HostOptions::Read(optionsFile).StatusBarShown());
    EXPECT_EQ(HostOptions::Read(optionsFile).Word(HostOptions::kIdleLockMinutes), 5u);

    Select(0);
    size_t routed = fake.Count("PluginProc 30001 0");
    EXPECT_FALSE(Send(kFakeHandled)) << "a hidden plug-in is not asked";
    EXPECT_EQ(fake.Count("PluginProc 30001 0"), routed);
}

TEST_F(MainFrameTest, IdleTimeGoesToThePluginsEverySecond) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    auto reports = [&] {
        Calls ticks = fake.All();
        std::erase_if(ticks, [](const std::string& call) { return !call.starts_with("SetSleepTickCount "); });
        std::vector<unsigned long> values;
        for (const std::string& tick : ticks) values.push_back(std::stoul(tick.substr(18)));
        return values;
    };
    ASSERT_TRUE(PumpUntil([&] { return reports().size() >= 2; }, 4000));
    unsigned long idle = reports().back();
    EXPECT_GE(idle, 1500u);
    wxKeyEvent key(wxEVT_KEY_DOWN);
    frame->GetEventHandler()->ProcessEvent(key);
    size_t seen = reports().size();
    ASSERT_TRUE(PumpUntil([&] { return reports().size() > seen; }, 3000));
    EXPECT_LT(reports().back(), idle) << "input starts the idle time again";
}

TEST_F(MainFrameTest, RequestsAreAnsweredLaterThroughCpu) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    auto ask = fake.Function<uint32_t (*)(uint32_t)>("FakeAsk");
    EXPECT_EQ(ask(plugin::kRequestAppRunning), plugin::kAppNotRunning);
    EXPECT_EQ(ask(plugin::kRequestCloseApp), plugin::kAppCloseFailed);
    Calls calls = fake.Lifecycle();
    auto sent = std::ranges::find(calls, "request sent");
    ASSERT_NE(sent, calls.end());
    EXPECT_EQ(*(sent - 1), "request 100");
    EXPECT_EQ(*(sent + 1), "CPU 11 tag 1") << "the reply comes after the callback returned";
    EXPECT_EQ(calls.back(), "CPU 12 tag 1");
}

TEST_F(MainFrameTest, MainViewExchangeMovesTheCentrePane) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    wxWeakRef<wxWindow> webView(static_cast<wxWindow*>(frame->Windows().webView));
    fake.Function<void (*)()>("FakeExchangeViews")();
    wxWindow* view = frame->CentreView();
    ASSERT_NE(view, webView.get());
    EXPECT_EQ(view->GetId(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(frame->Docking().GetPane(view).dock_direction, wxAUI_DOCK_CENTER);
    EXPECT_TRUE(view->IsShown());
    ASSERT_TRUE(webView);
    EXPECT_EQ(webView->GetId(), kFakeMainViewId);
    EXPECT_FALSE(webView->IsShown());
    EXPECT_FALSE(frame->Docking().GetPane(webView).IsOk());

    Select(0);  // the plug-in gives the identifier back as it hides
    EXPECT_EQ(frame->CentreView(), webView.get());
    EXPECT_TRUE(webView->IsShown());
    EXPECT_FALSE(frame->Docking().GetPane(view).IsOk());
}

TEST_F(MainFrameTest, OptionsApplyOnlyAfterEveryPageAcceptsAndBeforePagesConfirm) {
    FakeCopy& fake = AddFake("a.so");
    Start();
    wxTEST_DIALOG(frame->ShowOptions(), wxExpectDismissableModal<OptionsDialog>(wxID_CANCEL));
    EXPECT_FALSE(std::filesystem::exists(optionsFile)) << "cancel changes nothing";

    int applies = 0;
    std::string lastCallAtApply;
    OptionsDialog dialog(frame, HostOptions(), frame->Plugins(), [&](const HostOptions&) {
        ++applies;
        lastCallAtApply = fake.All().back();
    });
    ASSERT_EQ(dialog.Book()->GetPageCount(), 2u);
    EXPECT_EQ(dialog.Book()->GetPageText(1), "Fake");

    fake.Function<void (*)(bool)>("FakeSetPageValid")(false);
    EXPECT_FALSE(dialog.Confirm());
    EXPECT_EQ(applies, 0) << "a refused page applies nothing";
    EXPECT_EQ(fake.All().back(), "Validate");

    fake.Function<void (*)(bool)>("FakeSetPageValid")(true);
    EXPECT_TRUE(dialog.Confirm());
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(lastCallAtApply, "Validate");
    EXPECT_EQ(fake.All().back(), "TransferDataFromWindow");
}

TEST_F(MainFrameTest, PhoneConnectsAndGoesAway) {
    ASSERT_TRUE(MakePhone(dir / "phone"));
    AgentProcess agent(dir / "phone", dir / "link" / "phone.sock");
    ASSERT_TRUE(agent.Serving());
    UsePhone("unix:" + (dir / "link" / "phone.sock").string());
    FakeCopy& fake = AddFake("a.so");
    Start();
    ASSERT_TRUE(PumpUntil([&] { return fake.Has("CPU 11 tag 1"); }, 8000));
    Calls calls = fake.Lifecycle();
    auto connected = std::ranges::find(calls, "OnStateChange 4");
    ASSERT_NE(connected, calls.end());
    EXPECT_EQ(Calls(connected, calls.end()),
              (Calls{"OnStateChange 4", "OnSetUpChange 2 1.0.1.519", "CPU 11 tag 1"}));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(), "Phone connected");

    agent.Signal(SIGKILL);
    ASSERT_TRUE(agent.WaitForEnd());
    ASSERT_TRUE(PumpUntil([&] { return fake.Has("OnStateChange 0"); }, 5000));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(), "No phone connected");
}

TEST_F(MainFrameTest, ExitUnloadsEveryPlugin) {
    FakeCopy& first = AddFake("a.so");
    FakeCopy& second = AddFake("b.so");
    Start();
    Select(2);
    EXPECT_EQ(first.Lifecycle().back(), "HidePlugin");
    EXPECT_EQ(second.Lifecycle().back(), "ShowPlugin");

    EXPECT_TRUE(Send(ID_APP_EXIT));
    ASSERT_TRUE(PumpUntil([this] { return !frame; }));
    EXPECT_EQ(first.Lifecycle().back(), "UnInitPlugin");
    Calls calls = second.Lifecycle();
    EXPECT_EQ(Calls(calls.end() - 2, calls.end()), (Calls{"HidePlugin", "UnInitPlugin"}));
}

}  // namespace
