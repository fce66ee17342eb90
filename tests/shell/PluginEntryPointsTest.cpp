// The plug-in's entry points driven as the host drives them, against a frame shaped like the host's.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <wx/aui/framemanager.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/listbook.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>
#include <wx/toolbar.h>

#include <csignal>
#include <vector>

#include "../host/LoginExpectations.h"
#include "../host/PhoneFolder.h"
#include "../rapi/AgentProcess.h"
#include "GuiTest.h"
#include "model/CardExport.h"
#include "model/ItemChanges.h"
#include "platform/Utf16.h"
#include "platform/rapi/api/RapiTransport.h"
#include "shell/HostRequest.h"
#include "shell/PluginExports.h"
#include "shell/TesseraApp.h"
#include "support/TestSupport.h"
#include "ui/controls/LinkLauncher.h"
#include "ui/panes/BackupPane.h"
#include "ui/panes/ListBar.h"
#include "ui/panes/MyView.h"
#include "ui/panes/OutLookBarPage.h"
#include "ui/panes/StartPages.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

// A message answered with OK, noting which row the list pane had selected while it was up.
struct ToldWithListRow : wxModalExpectation {
    ToldWithListRow(std::vector<wxString>& texts, std::u16string& row) : texts(texts), row(row) {}
    int Invoke(wxDialog* dialog) const override {
        texts.push_back(static_cast<wxMessageDialog*>(dialog)->GetMessage());
        row = TheApp().listBar->Selection().name;
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override { return "a message box"; }
    std::vector<wxString>& texts;
    std::u16string& row;
};

// Counts navigations: a page loaded again is told from one left alone.
class CountingWebView : public wxHtmlWindow {
public:
    explicit CountingWebView(wxWindow* parent) : wxHtmlWindow(parent) {
        SetId(AFX_IDW_PANE_FIRST);  // above wx's range for new windows, so given after creation
    }
    bool LoadPage(const wxString& location) override {
        ++loads;
        return wxHtmlWindow::LoadPage(location);
    }
    int loads = 0;
};

// A host frame with the seven windows a plug-in is given, as the host builds them.
class FakeHostFrame : public wxFrame {
public:
    FakeHostFrame() : wxFrame(nullptr, wxID_ANY, "host", wxDefaultPosition, wxSize(900, 600)) {
        manager.SetManagedWindow(this);
        SetMenuBar(new wxMenuBar);
        GetMenuBar()->Append(new wxMenu, "&Host");
        CreateToolBar();
        CreateStatusBar();
        navBar = new wxListbook(this, wxID_ANY);
        navBar->AddPage(new wxPanel(navBar), "Phone");
        webView = new CountingWebView(this);
        strip = new wxPanel(this, wxID_ANY);
        strip->Hide();
        manager.AddPane(navBar, wxAuiPaneInfo().Name("nav").Left().BestSize(220, -1));
        manager.AddPane(webView, wxAuiPaneInfo().Name("centre").CenterPane());
        manager.Update();
        Show();
    }
    ~FakeHostFrame() override { manager.UnInit(); }

    int Init(HostRequestProc request = nullptr) {
        return InitPlugin(this, GetMenuBar(), GetToolBar(), GetStatusBar(), navBar, webView, strip, request);
    }

    wxAuiManager manager;
    wxListbook* navBar = nullptr;
    CountingWebView* webView = nullptr;
    wxPanel* strip = nullptr;
};

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
    // A wallet page selected, the lockout check done (as at a connection) so that the lock may act.
    void OpenCardsPage() {
        TheApp().session.lockoutCheckPending = false;
        Page()->SelectItem(NavItem::Cards);
        ASSERT_EQ(Page()->SelectedItem(), NavItem::Cards);
    }

    FakeHostFrame* host = nullptr;
    wxAcceleratorTable* accelerators = nullptr;
};

TEST_F(PluginEntryPoints, InfoAndInitRefuseAnyNullHandleAndCreateNothing) {
    EXPECT_EQ(GetPluginInfo(nullptr), 0);
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

TEST_F(PluginEntryPoints, ShowTakesTheStripAndHideGivesTheMainViewIdBack) {
    Show();
    ASSERT_NE(accelerators, nullptr);
    EXPECT_TRUE(accelerators->IsOk());
    EXPECT_NE(host->GetMenuBar()->FindItem(ID_APP_EXIT), nullptr) << "the host's exit stays reachable";
    EXPECT_EQ(host->strip->GetParent(), Page());
    EXPECT_TRUE(host->strip->IsShown());

    TheApp().view->SetId(AFX_IDW_PANE_FIRST);
    host->webView->SetId(IDW_MAIN_VIEW);
    TheApp().view->Show();
    HidePlugin();
    EXPECT_EQ(host->webView->GetId(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(TheApp().view->GetId(), IDW_MAIN_VIEW);
    EXPECT_FALSE(TheApp().view->IsShown());
    EXPECT_FALSE(host->webView->IsShown());
    EXPECT_FALSE(host->manager.GetPane(TheApp().listBar).IsShown());
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
}

TEST_F(PluginEntryPoints, StateChangesReturnToTheRootAndADisconnectResetsTheSession) {
    OpenCardsPage();
    Show();
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root) << "no wallet page without a connected phone";
    OpenCardsPage();
    OnStateChange(plugin::kStateConnected);
    EXPECT_EQ(Page()->SelectedItem(), NavItem::Root);
    EXPECT_EQ(CPU(Message(plugin::kAppNotRunning).data()), 1);
    OnStateChange(plugin::kStateDisconnected);
    EXPECT_EQ(TheApp().session.appStatus, plugin::kAppUnknown);
    EXPECT_TRUE(TheApp().session.lockoutCheckPending);
}

TEST_F(PluginEntryPoints, SetUpChangeAcceptsOnlyThePhoneWithTheOneVersion) {
    uint32_t good[4] = {1, 0, 1, 519}, newer[4] = {1, 0, 1, 520};
    for (auto [kind, version, accepted] :
         {std::tuple{2, good, 1}, {2, newer, 0}, {1, good, 0}, {2, nullptr, 0}}) {
        OnSetUpChange(kind, version);
        EXPECT_EQ(TheApp().session.versionAccepted, accepted) << kind << " " << (version ? version[3] : 0);
        EXPECT_EQ(TheApp().session.setupKind, kind);
    }
}

TEST_F(PluginEntryPoints, CpuStoresTheApplicationStatusButNotAnUnknownOne) {
    for (auto [status, result, kept] :
         {std::tuple{13u, 1, 13u}, {12u, -1, 12u}, {14u, 1, 12u}, {11u, 1, 11u}}) {
        EXPECT_EQ(CPU(Message(status).data()), result) << status;
        EXPECT_EQ(TheApp().session.appStatus, kept) << status;
    }
    EXPECT_EQ(CPU(nullptr), 1);
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
    EXPECT_EQ(PluginProc(ID_VISIT_WEBSITE, plugin::kCodeUpdateUi, nullptr, nullptr), 1);
    EXPECT_EQ(launched.size(), 1u) << "an update asks, it does not run";
}

// Minutes of 0 to 999, and what 0 means; minutes out of that range that the user did not touch stay. The
// host applies its own, older record before the page confirms: the minutes entered win on every OK.
TEST_F(PluginEntryPoints, OptionsPageSpinsFromNeverToTheMostMinutesAndKeepsWhatWasEntered) {
    EXPECT_EQ(CreateOptionsDialog(nullptr), nullptr);
    for (const auto& [stored, shown] : {std::pair{-3, 0}, {5000, 999}, {10, 10}}) {
        SetIdleMinutes(stored);
        auto* page = static_cast<wxWindow*>(CreateOptionsDialog(host));
        auto* spin = wxDynamicCast(page->FindWindow(IDC_OPTIONS_MINUTES), wxSpinCtrl);
        ASSERT_NE(spin, nullptr);
        EXPECT_TRUE(spin->GetValue() == shown && spin->GetMin() == 0 && spin->GetMax() == 999);
        EXPECT_NE(wxWindow::FindWindowByLabel(LoadResString(IDS_OPTIONS_NEVER_LOCK), page), nullptr);
        EXPECT_TRUE(page->TransferDataFromWindow());
        EXPECT_EQ(TheApp().settings.IdleMinutes(), stored);
        spin->SetValue(10);
        SetIdleMinutes(5);  // the host's stale record through OnOptionsChanged
        EXPECT_TRUE(page->TransferDataFromWindow());
        EXPECT_EQ(TheApp().settings.IdleMinutes(), 10);
        page->Destroy();
    }
}

TEST_F(PluginEntryPoints, UnInitReleasesEveryWindowAndGivesTheStripBack) {
    Show();
    size_t pages = host->navBar->GetPageCount();
    HidePlugin();
    UnInitPlugin();
    EXPECT_EQ(host->navBar->GetPageCount(), pages - 1);
    EXPECT_EQ(host->FindWindow(IDW_LIST_BAR), nullptr);
    EXPECT_EQ(host->FindWindow(IDW_MAIN_VIEW), nullptr);
    EXPECT_EQ(host->strip->GetParent(), host);
    EXPECT_FALSE(host->strip->IsShown());
    EXPECT_FALSE(host->manager.GetPane("tessera.list").IsOk());
    EXPECT_EQ(PluginProc(ID_VISIT_WEBSITE, plugin::kCodeCommand, nullptr, nullptr), 0);
    ASSERT_EQ(host->Init(), 1) << "the host may load the plug-in again";
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

TEST_F(PluginEntryPoints, ARequestWaitsForTheHostsAnswerThroughCpu) {
    UnInitPlugin();
    host->Destroy();
    host = new FakeHostFrame;
    ASSERT_EQ(host->Init(&AnsweringHost::Callback), 1);
    AnsweringHost::requests.clear();

    uint32_t& status = TheApp().session.appStatus;
    status = plugin::kAppUnknown;
    AnsweringHost::answer = plugin::kAppRunning;
    AskHost(TheApp().hostRequest, plugin::kRequestAppRunning, [&] { return status == plugin::kAppUnknown; });
    EXPECT_EQ(status, plugin::kAppRunning);
    AnsweringHost::answer = plugin::kAppCloseFailed;
    AskHost(TheApp().hostRequest, plugin::kRequestCloseApp, [&] { return status == plugin::kAppRunning; });
    EXPECT_EQ(status, plugin::kAppCloseFailed);

    // The record carries only the code and the tag.
    ASSERT_EQ(AnsweringHost::requests.size(), 2u);
    std::vector<uint32_t> first(plugin::kMessageWords, 0);
    first[0] = 100;
    first[plugin::kMessageTag] = 0x00020001u;
    EXPECT_EQ(AnsweringHost::requests[0], first);
    EXPECT_EQ(AnsweringHost::requests[1][0], 101u);
    EXPECT_EQ(AnsweringHost::extras, (std::vector<intptr_t>{0, 0}));
}

// The save dialog answered with a path, once the toolkit's chooser has loaded its folder and takes it.
struct ChoosePath : wxModalExpectation {
    explicit ChoosePath(const std::filesystem::path& path) : path(path.string()) {}
    int Invoke(wxDialog* dialog) const override {
        static_cast<wxFileDialog*>(dialog)->SetPath(path);
        return PumpUntil([&] { return static_cast<wxFileDialog*>(dialog)->GetPath() == path; }) ? wxID_OK : 0;
    }
    wxString GetDefaultDescription() const override { return "the save dialog"; }
    wxString path;
};

// Backups and the export over a real phone agent.
TEST_F(PluginEntryPoints, ExportAfterTheLoginThenTheNewBackupRestoredFromItsPaneWithItsOwnPassword) {
    TempDir dir;
    ASSERT_TRUE(MakePhone(dir.Path() / "phone") && AddCards(dir.Path() / "phone", 12));
    AgentProcess agent(dir.Path() / "phone", dir.Path() / "phone.sock");
    RapiSetTransport(RapiTransportFromSetting(("unix:" + (dir.Path() / "phone.sock").string()).c_str()));
    int hostExits = 0;
    host->Bind(
        wxEVT_MENU, [&](wxCommandEvent&) { ++hostExits; }, ID_APP_EXIT);
    Show();
    uint32_t version[4] = {1, 0, 1, 519};
    OnStateChange(plugin::kStateConnected);
    OnSetUpChange(plugin::kSetUpPhone, version);
    ASSERT_EQ(CPU(Message(plugin::kAppNotRunning).data()), 1);
    auto command = [](int id) { PluginProc(id, plugin::kCodeCommand, nullptr, nullptr); };
    std::vector<wxString> told;
    {
        wxTestingModalHook noDialog(__FILE__, __LINE__, __WXFUNCTION__);
        command(ID_EXPORT_CARDS);  // nothing is asked, nothing written before the login
    }
    wxTEST_DIALOG(Page()->SelectItem(NavItem::Cards), TypePasswords({"pass word"}));
    wxTEST_DIALOG(command(ID_BACKUP), Told(told));  // Backup needs an open wallet
    std::string error;
    ASSERT_TRUE(ExportCards(*TheApp().data.WalletStore(), dir.Path() / "expected.txt", error)) << error;
    // The plain-text warning first: No writes nothing; after Yes the export says what it wrote.
    wxTEST_DIALOG(command(ID_EXPORT_CARDS), Told(told, wxID_NO));
    wxTEST_DIALOG(command(ID_EXPORT_CARDS), Told(told, wxID_YES), ChoosePath(dir.Path() / "cards.txt"),
                  Told(told));
    EXPECT_TRUE(told[1].Contains("plain text"));
    EXPECT_EQ(told.back(), "Exported 12 cards to " + (dir.Path() / "cards.txt").string() + ".");
    EXPECT_EQ(ReadBytes(dir.Path() / "cards.txt"), ReadBytes(dir.Path() / "expected.txt"));
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    rlimit small{100, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);  // the disk is full half way
    wxTEST_DIALOG(command(ID_EXPORT_CARDS), Told(told, wxID_YES), ChoosePath(dir.Path() / "full.txt"),
                  Told(told));
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(told.back(), "File too large");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 4)
        << "no other file is left";
    std::u16string rowWhileTold;
    wxTEST_DIALOG(command(ID_BACKUP), ToldWithListRow(told, rowWhileTold));
    const std::u16string made = TheApp().listBar->Selection().name;  // the new backup's row
    EXPECT_EQ(told.back(), "Backup to " + Utf16ToUtf8Lossy(made) + " complete!");
    EXPECT_EQ(rowWhileTold, made);
    ASSERT_TRUE(TheApp().data.AddCard(*NewBlankCard(), TheApp().data.TakeCardId()));  // the wallet moves on
    CBackupPane* pane = new CBackupPane(host, &TheApp().backupWindows);
    pane->ShowBackup(made);
    wxCommandEvent click(wxEVT_BUTTON, IDC_RESTORE_BUTTON);
    // Asked first, naming the backup and its card count: No restores nothing.
    wxTEST_DIALOG(pane->FindWindow(IDC_RESTORE_BUTTON)->ProcessWindowEvent(click), Told(told, wxID_NO));
    EXPECT_TRUE(told.back().StartsWith("Restore the backup " + Utf16ToUtf8Lossy(made)) &&
                told.back().Contains("12 cards"));
    wxTEST_DIALOG(pane->FindWindow(IDC_RESTORE_BUTTON)->ProcessWindowEvent(click), Told(told, wxID_YES),
                  TypePasswords({"pass word"}), Told(told));
    EXPECT_TRUE(told.back().starts_with("Restore completed successfully!"));
    const std::filesystem::path fs = dir.Path() / "phone" / "fs";
    EXPECT_EQ(ReadBytes(fs / "Program Files" / "Tessera" / "Tessera.dat"),
              ReadBytes(fs / "My Documents" / "Tessera Backup" / Utf16ToUtf8Lossy(made)));
    EXPECT_TRUE(PumpUntil([&] { return hostExits == 1; }));
    RapiSetTransport(nullptr);
}

}  // namespace
