#include "host/HostApp.h"

#include "host/MainFrame.h"
#include "platform/HostOptionsPath.h"

bool HostApp::OnInit() {
    auto* frame = new MainFrame(pluginFolder, HostOptionsPath());
    frame->Show();
    frame->CallAfter(&MainFrame::ReportLoadErrors);
    return true;
}
