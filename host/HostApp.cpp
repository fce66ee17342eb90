#include "host/HostApp.h"

#include <wx/log.h>

#include <cstdio>
#include <exception>

#include "host/MainFrame.h"
#include "platform/HostOptionsPath.h"

bool HostApp::OnInit() {
    delete wxLog::SetActiveTarget(nullptr);  // the toolkit's own target, message boxes, from now on
    auto* frame = new MainFrame(pluginFolders, HostOptionsPath());
    frame->Show();
    frame->CallAfter(&MainFrame::ReportLoadErrors);
    return true;
}

bool HostApp::OnExceptionInMainLoop() {
    try {
        throw;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pocketdeck: an event handler failed: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "pocketdeck: an event handler failed\n");
    }
    return true;
}
