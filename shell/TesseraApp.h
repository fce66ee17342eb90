#pragma once
// The plug-in's one application object: the state the exported entry points share. The host owns the
// wxApp; this object is made and initialised when the library loads (or on first use in tests).
#include <wx/icon.h>

#include <array>
#include <cstdint>
#include <memory>

#include "device/DeviceLink.h"
#include "model/Data.h"
#include "plugin-api/PluginApi.h"
#include "shell/BackupWindows.h"
#include "shell/PluginSession.h"
#include "shell/SessionWindows.h"
#include "shell/Settings.h"
#include "ui/controls/MyIconList.h"

class wxAcceleratorTable;
class wxFrame;
class wxMenuBar;
class wxToolBar;
class wxBookCtrlBase;
class wxHtmlWindow;
class wxWindow;
class COutLookBarPage;
class CListBar;
class CMyView;

// The host's windows given to InitPlugin.
struct HostWindows {
    wxFrame* frame = nullptr;          // a1
    wxMenuBar* menuBar = nullptr;      // a2
    wxToolBar* toolBar = nullptr;      // a3
    void* statusBar = nullptr;         // a4, kept only
    wxBookCtrlBase* navBar = nullptr;  // a5
    wxHtmlWindow* webView = nullptr;   // a6
    wxWindow* strip = nullptr;         // a7
};

class CTesseraApp {
public:
    CTesseraApp();
    CTesseraApp(const CTesseraApp&) = delete;
    CTesseraApp& operator=(const CTesseraApp&) = delete;

    // The platform's instance initialisation: fresh connection state, the icons prepared, the
    // host's options record read.
    void InitInstance();
    // The wallet lock: forced by the Lock Wallet command, not forced after idle time.
    void Lock(bool forced) { session.Lock(forced, settings.IdleMinutes()); }

    std::array<uint32_t, plugin::kInfoWords> info{};
    CSettings settings;
    CMyIconList icons;
    CData data;
    COutLookBarPage* navPage = nullptr;
    CListBar* listBar = nullptr;
    CMyView* view = nullptr;
    int shown = 0;
    HostRequestProc hostRequest = nullptr;
    DeviceLink link;  // holds the RAPI-initialised flag
    // The connection and wallet session (with the host's connection state, setup kind, accepted
    // version, phone application status and the login-dialog-open flag) and its windows.
    SessionWindows sessionWindows{*this};
    PluginSession session{data, link, sessionWindows};
    // The windows of the session's backups.
    BackupWindows backupWindows{session};
};

// Values of the plug-in module beside the application object.
struct PluginModule {
    HostWindows host;
    bool menuLoaded = false;
    std::unique_ptr<wxIcon> icon;
    std::unique_ptr<wxAcceleratorTable> accelerators;
    std::array<uint32_t, 4> setupVersion{};
};

CTesseraApp& TheApp();
PluginModule& Module();
