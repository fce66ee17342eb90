// The twelve entry points the host calls. Each runs on the host's user-interface thread and turns any
// failure into its result: nothing is thrown back into the host.
#include <wx/app.h>
#include <wx/aui/framemanager.h>
#include <wx/bookctrl.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/msgdlg.h>
#include <wx/propgrid/propgrid.h>
#include <wx/toolbar.h>

#include <cstring>

#include "diag/STLogFile.h"
#include "platform/HostOptionsPath.h"
#include "shell/PluginExports.h"
#include "shell/TesseraApp.h"
#include "store/SecureMemory.h"
#include "ui/controls/WxText.h"
#include "ui/dialogs/Tessera_OptionsDlg.h"
#include "ui/panes/CommandTables.h"
#include "ui/panes/ListBar.h"
#include "ui/panes/MyView.h"
#include "ui/panes/OutLookBarPage.h"
#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/ListRows.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr uint32_t kVersion[4] = {1, 0, 1, 519};
constexpr int kListPaneWidth = 320;
const char* const kListPaneName = "tessera.list";

template <typename Result, typename Body>
Result Guarded(Result failure, Body body) {
    try {
        return body();
    } catch (const std::exception& error) {
        ST_LOG("Critical Error: Plugin %s", error.what());
    } catch (...) {
        ST_LOG("Critical Error: Plugin unknown exception");
    }
    return failure;
}

template <typename Body>
void GuardedVoid(Body body) {
    Guarded(0, [&] {
        body();
        return 0;
    });
}

void FillInfo(std::array<uint32_t, plugin::kInfoWords>& info) {
    info.fill(0);
    info[0] = plugin::kInterfaceTag;
    std::copy(std::begin(kVersion), std::end(kVersion), info.begin() + 1);
    info[5] = IDI_PLUGIN;
    std::u16string name = FromWx(LoadResString(IDS_DISPLAY_NAME));
    name.resize(std::min<size_t>(name.size(), plugin::kInfoNameUnits - 1));
    for (size_t i = 0; i < name.size(); ++i) info[6 + i / 2] |= uint32_t{name[i]} << (16 * (i % 2));
}

wxAuiManager* FrameManager() {
    return wxAuiManager::GetManager(Module().host.frame);
}

void ShowListPane(bool show) {
    wxAuiManager* manager = FrameManager();
    if (!manager || !TheApp().listBar) return;
    manager->GetPane(TheApp().listBar).Show(show);
    manager->Update();
}

// The property grid's globals are made by a module of its library, and wx starts the modules only of
// libraries it loads itself: the host loads the plug-in, and with it that library, with dlopen.
bool ownPropertyGridGlobals = false;

void StartPropertyGrid() {
    if (wxPGGlobalVars) return;
    wxPGGlobalVars = new wxPGGlobalVarsClass();
    ownPropertyGridGlobals = true;
}

void EndPropertyGrid() {
    if (!ownPropertyGridGlobals) return;
    delete wxPGGlobalVars;
    wxPGGlobalVars = nullptr;
    ownPropertyGridGlobals = false;
}

bool CreateListPane() {
    CTesseraApp& app = TheApp();
    wxAuiManager* manager = FrameManager();
    if (!manager) return false;
    CListBar::Links links;
    links.commands.data = &app.data;
    links.backups = &app.session.Backups();
    links.icons = &app.icons;
    links.commands.lock = [&app] { app.Lock(true); };
    links.commands.showPage = [&app](ListKind page) {
        if (app.navPage) app.navPage->SelectList(page);
    };
    links.commands.walletOpen = [&app] { return app.session.loggedIn && app.session.WalletRead(); };
    links.backupActions = &app.backupWindows;
    links.commands.deleteBackupFile = [&app](const std::u16string& name) {
        return app.session.Backup().DeleteFile(name) == 1;
    };
    links.commands.forgetBackup = [&app](const std::u16string& name) { app.session.Backup().Forget(name); };
    links.commands.gate = &app.session;
    links.commands.view = [&app]() -> ItemView* { return app.view; };  // made after the pane, with its rows
    app.listBar = new CListBar(Module().host.frame, std::move(links));
    wxAuiPaneInfo pane;
    pane.Name(kListPaneName)
        .Caption(LoadResString(IDS_LIST_BAR_CAPTION))
        .Left()
        .Row(1)  // beside the host's navigation pane, not sharing its row
        .Gripper()
        .Dockable()
        .BestSize(kListPaneWidth, -1)
        .Hide();
    return manager->AddPane(app.listBar, pane);
}

bool CreateNavigationPage() {
    CTesseraApp& app = TheApp();
    const HostWindows& host = Module().host;
    COutLookBarPage::Links links{host.webView, app.view, app.listBar, ShowListPane, &app.session};
    app.navPage = new COutLookBarPage(host.navBar, links);
    // The same display name the information record carries.
    return host.navBar->AddPage(app.navPage, LoadResString(IDS_DISPLAY_NAME), false, 0);
}

void DestroyNavigationPage() {
    CTesseraApp& app = TheApp();
    HostWindows& host = Module().host;
    app.navPage->GiveBackStrip(host.frame);
    int index = host.navBar->FindPage(app.navPage);
    if (index != wxNOT_FOUND) host.navBar->RemovePage(index);
    app.navPage->Destroy();
    app.navPage = nullptr;
}

void DestroyWindows() {
    CTesseraApp& app = TheApp();
    if (app.listBar) {
        if (wxAuiManager* manager = FrameManager()) {
            manager->DetachPane(app.listBar);
            manager->Update();
        }
        app.listBar->Destroy();
        app.listBar = nullptr;
    }
    if (app.view) {
        if (app.navPage) app.navPage->ReturnMainViewId();
        app.view->Destroy();
        app.view = nullptr;
    }
    if (app.navPage) DestroyNavigationPage();
}

}  // namespace

PLUGIN_EXPORT int GetPluginInfo(uint32_t* info) {
    return Guarded(0, [&] {
        if (!info) return 0;
        wxIcon icon = LoadIconRes(IDI_PLUGIN);
        if (!icon.IsOk()) return 0;
        Module().icon = std::make_unique<wxIcon>(icon);
        CTesseraApp& app = TheApp();
        FillInfo(app.info);
        std::memcpy(info, app.info.data(), sizeof app.info);
        return 1;
    });
}

PLUGIN_EXPORT int InitPlugin(void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7,
                             HostRequestProc request) {
    return Guarded(0, [&] {
        for (void* handle : {a1, a2, a3, a4, a5, a6, a7}) {
            if (!handle) return 0;
        }
        KeepSecretsFromDumps();  // the host holds the wallet's key from the first login on
        CTesseraApp& app = TheApp();
        Module().host = {
            static_cast<wxFrame*>(a1),        static_cast<wxMenuBar*>(a2),    static_cast<wxToolBar*>(a3), a4,
            static_cast<wxBookCtrlBase*>(a5), static_cast<wxHtmlWindow*>(a6), static_cast<wxWindow*>(a7)};
        if (request) app.hostRequest = request;
        app.shown = 0;
        StartPropertyGrid();
        if (!CreateListPane()) return 0;
        const CSettings& settings = app.settings;
        app.view = new CMyView(Module().host.frame, {&app.data,
                                                     &app.icons,
                                                     {settings.Font(1), settings.Font(2), settings.Font(4)},
                                                     nullptr,
                                                     &app.session,
                                                     &app.settings.generator,
                                                     app.listBar,
                                                     &app.backupWindows});
        app.view->InitialUpdate();
        if (!CreateNavigationPage()) return 0;
        Module().menuLoaded = true;
        return 1;
    });
}

PLUGIN_EXPORT void ShowPlugin(void*, void*, void** accelerators) {
    GuardedVoid([&] {
        CTesseraApp& app = TheApp();
        PluginModule& module = Module();
        if (!app.navPage) return;
        app.shown = 1;
        module.accelerators = LoadAccelerators();
        if (accelerators) *accelerators = module.accelerators.get();
        app.navPage->TakeStrip(module.host.strip);
        FillMenuBar(module.host.menuBar);
        if (!LoadToolbar(module.host.toolBar)) {
            wxMessageBox(LoadResString(IDS_LOAD_TOOLBAR_FAILED), LoadResString(IDS_APP_CAPTION),
                         wxOK | wxICON_ERROR);
            wxTheApp->ExitMainLoop();
            return;
        }
        const PluginSession& session = app.session;
        bool walletPage = session.connectionState == plugin::kStateConnected &&
                          session.setupKind == plugin::kSetUpPhone && !session.ReadWhileLoggedOut();
        if (walletPage) {
            app.navPage->RepresentSelection();
        } else {
            app.navPage->SelectRoot();
        }
        module.host.frame->Layout();
    });
}

PLUGIN_EXPORT void HidePlugin() {
    GuardedVoid([] {
        CTesseraApp& app = TheApp();
        app.shown = 0;
        if (!app.view || !app.navPage) return;
        app.view->PromptSaveChanges(app.view->CurrentPane());
        app.navPage->ReturnMainViewId();
        ShowListPane(false);
        app.view->Hide();
        Module().host.webView->Hide();
    });
}

PLUGIN_EXPORT void UnInitPlugin() {
    GuardedVoid([] {
        CTesseraApp& app = TheApp();
        PluginModule& module = Module();
        DestroyWindows();
        EndPropertyGrid();
        module.menuLoaded = false;
        module.icon.reset();
        module.accelerators.reset();
        app.link.Disconnect();
        app.settings.Save(HostOptionsPath());
        module.host = {};
        app.shown = 0;
    });
}

PLUGIN_EXPORT int PluginProc(int id, int code, void* extra, void* /*handlerInfo*/) {
    return Guarded(0, [&] {
        CTesseraApp& app = TheApp();
        if (app.listBar && app.listBar->OnCommand(id, code, extra)) return 1;
        if (app.navPage && app.navPage->OnCommand(id, code, extra)) return 1;
        if (app.view && app.view->OnCommand(id, code, extra)) return 1;
        return 0;
    });
}

PLUGIN_EXPORT int CPU(const uint32_t* message) {
    return Guarded(1, [&] {
        if (!message) return 1;
        uint32_t record[plugin::kMessageWords];
        std::memcpy(record, message, sizeof record);
        uint32_t status = record[plugin::kMessageStatus];
        PluginSession& session = TheApp().session;
        if (status == plugin::kAppNotRunning) {
            session.appStatus = status;
            return session.PhoneReady();
        }
        if (status == plugin::kAppRunning) {
            session.appStatus = status;
        } else if (status == plugin::kAppCloseFailed) {
            session.appStatus = status;
            return -1;
        }
        return 1;
    });
}

PLUGIN_EXPORT void OnStateChange(int state) {
    GuardedVoid([&] {
        CTesseraApp& app = TheApp();
        app.session.connectionState = state;
        if (state == plugin::kStateDisconnected) app.session.Reset();
        if (app.navPage) app.navPage->BuildTree();
    });
}

PLUGIN_EXPORT void OnSetUpChange(int kind, const uint32_t* version) {
    GuardedVoid([&] {
        PluginModule& module = Module();
        PluginSession& session = TheApp().session;
        session.setupKind = kind;
        module.setupVersion = {};
        if (version) std::copy(version, version + 4, module.setupVersion.begin());
        bool same = std::equal(module.setupVersion.begin(), module.setupVersion.end(), std::begin(kVersion));
        session.versionAccepted = kind == plugin::kSetUpPhone && same ? 1 : 0;
    });
}

PLUGIN_EXPORT void OnOptionsChanged(const uint32_t* options) {
    GuardedVoid([&] {
        if (options)
            TheApp().settings.SetIdleMinutes(static_cast<int32_t>(options[plugin::kIdleMinutesWord]));
    });
}

PLUGIN_EXPORT void SetSleepTickCount(uint32_t idleMs) {
    GuardedVoid([&] {
        CTesseraApp& app = TheApp();
        uint32_t threshold = static_cast<uint32_t>(app.settings.IdleMinutes()) * 60000u;
        if (app.session.connectionState == plugin::kStateConnected && idleMs >= threshold) app.Lock(false);
    });
}

PLUGIN_EXPORT void* CreateOptionsDialog(void* parent) {
    return Guarded<void*>(nullptr, [&]() -> void* {
        if (!parent) return nullptr;
        auto current = [] { return TheApp().settings.IdleMinutes(); };
        auto confirm = [](int minutes) { TheApp().settings.SetIdleMinutes(minutes); };
        return new CTessera_OptionsDlg(static_cast<wxWindow*>(parent), current, confirm);
    });
}
