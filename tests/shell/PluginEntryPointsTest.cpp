// The plug-in's entry points driven as the host drives them, against a frame shaped like the host's.
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include <cstring>
#include <vector>

#include "FakeHostFrame.h"
#include "GuiTest.h"
#include "shell/HostRequest.h"
#include "shell/TesseraApp.h"
#include "support/TestSupport.h"
#include "ui/LinkLauncher.h"
#include "ui/ListBar.h"
#include "ui/MyView.h"
#include "ui/OutLookBarPage.h"
#include "ui/StartPages.h"
#include "ui/StringTable.h"

namespace {

void SetIdleMinutes(int minutes) {
    uint32_t record[8] = {0, 0, 0, 0, 0, 0, 0, static_cast<uint32_t>(minutes)};
    OnOptionsChanged(record);
}

std::vector<uint32_t> Message(uint32_t status) {
    std::vector<uint32_t> record(plugin::kMessageWords, 0);
    record[plugin::kMessageStatus] = status;
    record[plugin::kMessageTag] = plugin::kInterfaceTag;
    return record;
}

// The plug-in reads and saves the host's options file; the tests keep it in a folder of their own.
void UseOwnConfigFolder() {
    static TempDir config;
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
}

class PluginEntryPoints : public testing::Test {
protected:
    void SetUp() override {
        UseOwnConfigFolder();
        uint32_t info[plugin::kInfoWords];
        ASSERT_EQ(GetPluginInfo(info), 1);
        host = new FakeHostFrame;
        ASSERT_EQ(host->Init(), 1);
        OnSetUpChange(0, nullptr);  // no wallet page runs its flow unless a test connects the phone
        PumpEvents();
    }
    void TearDown() override {
        HidePlugin();
        OnStateChange(plugin::kStateDisconnected);
        UnInitPlugin();
        SetLinkLauncher(nullptr);
        host->Destroy();
        PumpEvents();
    }
    void Show() {
        void* accelerators = nullptr;
        ShowPlugin(nullptr, nullptr, &accelerators);
        this->accelerators = static_cast<wxAcceleratorTable*>(accelerators);
        PumpEvents();
    }
    COutLookBarPage* Page() { return TheApp().navPage; }
    // A wallet page selected and the session ready for the lock to act.
    void OpenCardsPage() {
        TheApp().session.lockoutCheckPending = false;
        TheApp().session.loggedIn = true;
        Page()->SelectItem(NavItem::Cards);
        ASSERT_EQ(Page()->SelectedItem(), NavItem::Cards);
    }

    FakeHostFrame* host = nullptr;
    wxAcceleratorTable* accelerators = nullptr;
};

TEST(PluginInfo, FillsTheRecordAndRefusesNull) {
    UseOwnConfigFolder();
    EXPECT_EQ(GetPluginInfo(nullptr), 0);
    uint32_t info[plugin::kInfoWords];
    std::memset(info, 0xAA, sizeof info);
    ASSERT_EQ(GetPluginInfo(info), 1);
    EXPECT_EQ(info[0], 0x00020001u);
    EXPECT_EQ(std::vector<uint32_t>(info + 1, info + 5), (std::vector<uint32_t>{1, 0, 1, 519}));
    EXPECT_NE(info[5], 0u);
    std::u16string name;
    const auto* units = reinterpret_cast<const uint8_t*>(info + 6);
    for (int i = 0; i < plugin::kInfoNameUnits; ++i) name += char16_t(units[2 * i] | units[2 * i + 1] << 8);
    EXPECT_EQ(name, std::u16string(u"Tessera") + std::u16string(32 - 7, u'\0'));
}

TEST_F(PluginEntryPoints, InitRefusesAnyNullHandleAndCreatesNothing) {
    size_t pages = host->navBar->GetPageCount();
    void* h[7] = {host,         host->GetMenuBar(), host->GetToolBar(), host->GetStatusBar(),
                  host->navBar, host->webView,      host->strip};
    for (int missing = 0; missing < 7; ++missing) {
        void* a[7];
        std::copy(h, h + 7, a);
        a[missing] = nullptr;
        EXPECT_EQ(InitPlugin(a[0], a[1], a[2], a[3], a[4], a[5], a[6], nullptr), 0) << missing;
    }
    EXPECT_EQ(host->navBar->GetPageCount(), pages);
}

TEST_F(PluginEntryPoints, InitCreatesTheThreeWindowsAndTheTree) {
    EXPECT_EQ(TheApp().listBar->GetId(), 12345);
    EXPECT_EQ(TheApp().view->GetId(), 12346);
    EXPECT_FALSE(TheApp().view->IsShown());
    wxAuiPaneInfo& pane = host->manager.GetPane(TheApp().listBar);
    ASSERT_TRUE(pane.IsOk());
    EXPECT_EQ(pane.caption, "Tessera");
    EXPECT_EQ(pane.best_size.x, 320);
    EXPECT_TRUE(pane.HasGripper());
    EXPECT_FALSE(pane.IsShown());

    int index = host->navBar->FindPage(Page());
    ASSERT_NE(index, wxNOT_FOUND);
    EXPECT_EQ(host->navBar->GetPageText(index), "Tessera");
    EXPECT_EQ(Page()->GetId(), 12347);

    wxTreeCtrl* tree = Page()->Tree();
    EXPECT_EQ(tree->GetId(), 10000);
    std::vector<std::pair<wxString, int>> items;
    std::function<void(wxTreeItemId)> walk = [&](wxTreeItemId item) {
        items.emplace_back(tree->GetItemText(item), tree->GetItemImage(item));
        wxTreeItemIdValue cookie;
        for (auto child = tree->GetFirstChild(item, cookie); child.IsOk();
             child = tree->GetNextChild(item, cookie))
            walk(child);
    };
    walk(tree->GetRootItem());
    std::vector<std::pair<wxString, int>> expected = {{" Pocketdeck", 0}, {" Tessera", 1},    {" Cards", 2},
                                                      {" Templates", 3},  {" Categories", 4}, {" Backup", 5},
                                                      {" Help", 6}};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(tree->GetSelection(), tree->GetRootItem());
    EXPECT_TRUE(tree->IsExpanded(tree->GetRootItem()));
}

TEST_F(PluginEntryPoints, ShowLoadsMenuToolbarAcceleratorsAndTakesTheStrip) {
    Show();
    ASSERT_NE(accelerators, nullptr);
    EXPECT_TRUE(accelerators->IsOk());
    wxMenuBar* bar = host->GetMenuBar();
    EXPECT_EQ(bar->GetMenuCount(), 4u);
    EXPECT_NE(bar->FindItem(ID_NEW_CARD), nullptr);
    EXPECT_NE(bar->FindItem(ID_APP_EXIT), nullptr) << "the host's exit stays reachable";

    wxToolBarToolBase* newTool = host->GetToolBar()->FindById(ID_NEW_DROPDOWN);
    ASSERT_NE(newTool, nullptr);
    ASSERT_NE(newTool->GetDropdownMenu(), nullptr);
    EXPECT_EQ(newTool->GetDropdownMenu()->GetMenuItemCount(), 3u);
    EXPECT_NE(wxDynamicCast(host->GetToolBar()->FindControl(ID_FIND_BOX), wxComboBox), nullptr);

    EXPECT_EQ(host->strip->GetParent(), Page());
    EXPECT_TRUE(host->strip->IsShown());
    // The tree and the strip sit 1 pixel inside the page, the strip in the bottom 150 pixels.
    wxSize page = Page()->GetClientSize();
    EXPECT_EQ(host->strip->GetRect(), wxRect(1, page.y - 149, page.x - 2, 148));
    EXPECT_EQ(Page()->Tree()->GetRect(), wxRect(1, 1, page.x - 2, page.y - 152));
    EXPECT_EQ(TheApp().shown, 1);
}

TEST_F(PluginEntryPoints, StartPagesNavigateOnlyToAnotherAddress) {
    Show();
    EXPECT_EQ(host->webView->GetOpenedPage(), StartPageAddress(StartPage::Index));
    int loads = host->webView->loads;
    Page()->SelectRoot();
    EXPECT_EQ(host->webView->loads, loads);
    Page()->SelectItem(NavItem::Help);
    EXPECT_EQ(host->webView->GetOpenedPage(), StartPageAddress(StartPage::Help));
    EXPECT_EQ(host->webView->loads, loads + 1);
    EXPECT_TRUE(host->webView->IsShown());
}

TEST_F(PluginEntryPoints, HideReturnsTheMainViewIdAndHidesTheViews) {
    Show();
    TheApp().view->SetId(AFX_IDW_PANE_FIRST);
    host->webView->SetId(IDW_MAIN_VIEW);
    TheApp().view->Show();
    HidePlugin();
    EXPECT_EQ(host->webView->GetId(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(TheApp().view->GetId(), IDW_MAIN_VIEW);
    EXPECT_FALSE(TheApp().view->IsShown());
    EXPECT_FALSE(host->webView->IsShown());
    EXPECT_FALSE(host->manager.GetPane(TheApp().listBar).IsShown());
    EXPECT_EQ(TheApp().shown, 0);
}

TEST_F(PluginEntryPoints, StateChangeRebuildsTheTreeAndReturnsToTheRoot) {
    Show();
    OpenCardsPage();
    OnStateChange(plugin::kStateConnected);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root);
    EXPECT_EQ(Page()->Tree()->GetCount(), 7u);
    EXPECT_EQ(TheApp().session.connectionState, 4);
    TheApp().session.appStatus = plugin::kAppNotRunning;
    OnStateChange(plugin::kStateDisconnected);
    EXPECT_EQ(TheApp().session.appStatus, plugin::kAppUnknown);
    EXPECT_TRUE(TheApp().session.lockoutCheckPending);
    EXPECT_FALSE(TheApp().session.loggedIn);
}

TEST_F(PluginEntryPoints, ShowPresentsTheWalletPageOnlyWhenConnectedAndNotLoggedOutAfterARead) {
    uint32_t version[4] = {1, 0, 1, 519};
    OnStateChange(plugin::kStateConnected);
    OnSetUpChange(plugin::kSetUpPhone, version);
    OpenCardsPage();
    Show();
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    HidePlugin();
    TheApp().session.walletRead = TheApp().session.templatesRead = true;
    TheApp().session.loggedIn = false;
    Show();
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root);
}

TEST_F(PluginEntryPoints, SetUpChangeAcceptsOnlyThePhoneWithTheOneVersion) {
    uint32_t good[4] = {1, 0, 1, 519};
    uint32_t newer[4] = {1, 0, 1, 520};
    OnSetUpChange(2, good);
    EXPECT_EQ(TheApp().session.versionAccepted, 1);
    OnSetUpChange(2, newer);
    EXPECT_EQ(TheApp().session.versionAccepted, 0);
    OnSetUpChange(1, good);
    EXPECT_EQ(TheApp().session.versionAccepted, 0);
    OnSetUpChange(2, nullptr);
    EXPECT_EQ(TheApp().session.versionAccepted, 0);
    EXPECT_EQ(TheApp().session.setupKind, 2);
}

TEST_F(PluginEntryPoints, CpuStoresTheApplicationStatus) {
    TheApp().session.appStatus = plugin::kAppUnknown;
    EXPECT_EQ(CPU(Message(13).data()), 1);
    EXPECT_EQ(TheApp().session.appStatus, 13u);
    EXPECT_EQ(CPU(Message(12).data()), -1);
    EXPECT_EQ(TheApp().session.appStatus, 12u);
    EXPECT_EQ(CPU(Message(14).data()), 1);
    EXPECT_EQ(TheApp().session.appStatus, 12u);
    EXPECT_EQ(CPU(Message(11).data()), 1);
    EXPECT_EQ(TheApp().session.appStatus, 11u);
    EXPECT_EQ(CPU(nullptr), 1);
}

TEST_F(PluginEntryPoints, IdleLocksFromTheThresholdOnlyWhenConnected) {
    SetIdleMinutes(5);
    OpenCardsPage();
    SetSleepTickCount(300000);  // not connected
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    OnStateChange(plugin::kStateConnected);
    OpenCardsPage();
    SetSleepTickCount(299999);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    EXPECT_TRUE(TheApp().session.loggedIn);
    SetSleepTickCount(300000);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root);
    EXPECT_FALSE(TheApp().session.loggedIn);
}

TEST_F(PluginEntryPoints, ZeroMinutesNeverLockWhileTheLockCommandStillDoes) {
    OnStateChange(plugin::kStateConnected);
    SetIdleMinutes(0);
    OpenCardsPage();
    SetSleepTickCount(0xFFFFFFFF);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    EXPECT_EQ(PluginProc(ID_LOCK_WALLET, plugin::kCodeCommand, nullptr, nullptr), 1);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root);
    EXPECT_FALSE(TheApp().session.loggedIn);
}

TEST_F(PluginEntryPoints, TheLockWaitsForTheLoginDialogAndThePendingLockoutCheck) {
    OnStateChange(plugin::kStateConnected);
    OpenCardsPage();
    TheApp().session.loginDialogOpen = true;
    PluginProc(ID_LOCK_WALLET, plugin::kCodeCommand, nullptr, nullptr);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    TheApp().session.loginDialogOpen = false;
    TheApp().session.lockoutCheckPending = true;
    PluginProc(ID_LOCK_WALLET, plugin::kCodeCommand, nullptr, nullptr);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Cards);
    EXPECT_TRUE(TheApp().session.loggedIn);
}

TEST_F(PluginEntryPoints, PluginProcRoutesKnownCommandsAndRefusesOthers) {
    std::vector<std::pair<wxString, wxString>> launched;
    SetLinkLauncher([&](const wxString& target, const wxString& verb) {
        launched.emplace_back(target, verb);
        return true;
    });
    EXPECT_EQ(PluginProc(ID_VISIT_WEBSITE, plugin::kCodeCommand, nullptr, nullptr), 1);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].first, wxString::FromUTF8(kMakerWebsite));
    EXPECT_EQ(launched[0].second, "open");
    EXPECT_EQ(PluginProc(40000, plugin::kCodeCommand, nullptr, nullptr), 0);
    EXPECT_EQ(PluginProc(ID_VISIT_WEBSITE, plugin::kCodeUpdateUi, nullptr, nullptr), 0);
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(PluginEntryPoints, OptionsPageTakesWholeNumbersOnly) {
    EXPECT_EQ(CreateOptionsDialog(nullptr), nullptr);
    SetIdleMinutes(7);
    auto* page = static_cast<wxWindow*>(CreateOptionsDialog(host));
    ASSERT_NE(page, nullptr);
    auto* edit = wxDynamicCast(page->FindWindow(IDC_OPTIONS_MINUTES), wxTextCtrl);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetValue(), "7");

    edit->ChangeValue("12x");
    wxTEST_DIALOG(EXPECT_FALSE(page->Validate()), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(TheApp().settings.IdleMinutes(), 7);

    edit->ChangeValue("0");
    EXPECT_TRUE(page->Validate());
    EXPECT_TRUE(page->TransferDataFromWindow());
    EXPECT_EQ(TheApp().settings.IdleMinutes(), 0);
    page->Destroy();
}

// The host applies its own record, with its older word 7, before the page confirms: the minutes the user
// entered win on every OK, not only on the first.
TEST_F(PluginEntryPoints, OptionsPageKeepsTheEnteredMinutesOnEveryOk) {
    SetIdleMinutes(5);
    for (int ok = 0; ok < 2; ++ok) {
        auto* page = static_cast<wxWindow*>(CreateOptionsDialog(host));
        wxDynamicCast(page->FindWindow(IDC_OPTIONS_MINUTES), wxTextCtrl)->ChangeValue("10");
        SetIdleMinutes(5);  // the host's stale record through OnOptionsChanged
        EXPECT_TRUE(page->TransferDataFromWindow());
        EXPECT_EQ(TheApp().settings.IdleMinutes(), 10) << "OK number " << ok + 1;
        page->Destroy();
    }
}

TEST_F(PluginEntryPoints, UnInitReleasesEveryWindowAndGivesTheStripBack) {
    Show();
    size_t pages = host->navBar->GetPageCount();
    HidePlugin();
    UnInitPlugin();
    EXPECT_EQ(TheApp().listBar, nullptr);
    EXPECT_EQ(TheApp().view, nullptr);
    EXPECT_EQ(TheApp().navPage, nullptr);
    EXPECT_EQ(host->navBar->GetPageCount(), pages - 1);
    EXPECT_EQ(host->FindWindow(IDW_LIST_BAR), nullptr);
    EXPECT_EQ(host->FindWindow(IDW_MAIN_VIEW), nullptr);
    EXPECT_EQ(host->strip->GetParent(), host);
    EXPECT_FALSE(host->strip->IsShown());
    EXPECT_FALSE(host->manager.GetPane("tessera.list").IsOk());
    EXPECT_EQ(PluginProc(ID_VISIT_WEBSITE, plugin::kCodeCommand, nullptr, nullptr), 0);
    // The host may load the plug-in again.
    ASSERT_EQ(host->Init(), 1);
    EXPECT_EQ(host->navBar->GetPageCount(), pages);
}

// A host that answers each request a moment later through CPU, as the real one does.
struct AnsweringHost {
    static inline std::vector<std::vector<uint32_t>> requests;
    static inline std::vector<intptr_t> extras;
    static inline uint32_t answer = plugin::kAppNotRunning;
    static int Callback(const uint32_t* record, intptr_t first, intptr_t second) {
        requests.emplace_back(record, record + plugin::kMessageWords);
        extras = {first, second};
        wxTheApp->CallAfter([] { CPU(Message(answer).data()); });
        return 1;
    }
};

TEST(HostRequests, TheRequestRecordCarriesOnlyTheCodeAndTheTag) {
    HostRequestRecord record = MakeHostRequest(101);
    EXPECT_EQ(record[0], 101u);
    EXPECT_EQ(record[106], 0x00020001u);
    EXPECT_EQ(std::count(record.begin(), record.end(), 0u), 105);
}

TEST_F(PluginEntryPoints, ARequestWaitsForTheHostsAnswerThroughCpu) {
    UnInitPlugin();
    host->Destroy();
    host = new FakeHostFrame;
    ASSERT_EQ(host->Init(&AnsweringHost::Callback), 1);
    AnsweringHost::requests.clear();

    uint32_t& status = TheApp().session.appStatus;
    status = plugin::kAppUnknown;
    AnsweringHost::answer = plugin::kAppRunning;
    AskHost(plugin::kRequestAppRunning, [&] { return status == plugin::kAppUnknown; });
    EXPECT_EQ(status, plugin::kAppRunning);
    AnsweringHost::answer = plugin::kAppCloseFailed;
    AskHost(plugin::kRequestCloseApp, [&] { return status == plugin::kAppRunning; });
    EXPECT_EQ(status, plugin::kAppCloseFailed);

    ASSERT_EQ(AnsweringHost::requests.size(), 2u);
    HostRequestRecord first = MakeHostRequest(100);
    EXPECT_EQ(AnsweringHost::requests[0], std::vector<uint32_t>(first.begin(), first.end()));
    EXPECT_EQ(AnsweringHost::requests[1][0], 101u);
    EXPECT_EQ(AnsweringHost::extras, (std::vector<intptr_t>{0, 0}));
}

}  // namespace
