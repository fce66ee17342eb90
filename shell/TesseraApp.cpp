#include "shell/TesseraApp.h"

#include <wx/accel.h>

#include "platform/HostOptionsPath.h"
#include "ui/ListBar.h"
#include "ui/OutLookBarPage.h"

CTesseraApp::CTesseraApp() = default;

void CTesseraApp::InitInstance() {
    connectionState = 0;
    hostRequest = nullptr;
    versionAccepted = 0;
    editingEnabled = 1;
    icons.Create();
    settings.Load(HostOptionsPath());
}

void CTesseraApp::Lock(bool forced) {
    if (!navPage) return;
    WalletSession& session = navPage->Session();
    if ((listBar && listBar->IsBusy()) || Module().loginDialogOpen || session.lockoutCheckPending) return;
    if (!forced && settings.IdleMinutes() <= 0) return;
    navPage->SelectRoot();
    session.loggedIn = false;
}

CTesseraApp& TheApp() {
    static CTesseraApp app;
    static const bool started = (app.InitInstance(), true);
    (void)started;
    return app;
}

PluginModule& Module() {
    static PluginModule module;
    return module;
}
