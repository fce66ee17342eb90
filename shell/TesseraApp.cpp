#include "shell/TesseraApp.h"

#include <wx/accel.h>

#include "platform/HostOptionsPath.h"

CTesseraApp::CTesseraApp() = default;

void CTesseraApp::InitInstance() {
    session.connectionState = 0;
    hostRequest = nullptr;
    session.versionAccepted = 0;
    session.editingEnabled = 1;
    icons.Create();
    settings.Load(HostOptionsPath());
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
