#pragma once
// The host application: one main frame, with the plug-ins of one folder.
#include <wx/app.h>

#include <filesystem>

class HostApp : public wxApp {
public:
    explicit HostApp(std::filesystem::path pluginFolder) : pluginFolder(std::move(pluginFolder)) {}
    bool OnInit() override;
    // A failure that escapes an event handler is reported and the host runs on.
    bool OnExceptionInMainLoop() override;

private:
    std::filesystem::path pluginFolder;
};
