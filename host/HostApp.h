#pragma once
// The host application: one main frame, with the plug-ins of its plug-in folders.
#include <wx/app.h>

#include <filesystem>
#include <vector>

class HostApp : public wxApp {
public:
    explicit HostApp(std::vector<std::filesystem::path> pluginFolders)
        : pluginFolders(std::move(pluginFolders)) {}
    bool OnInit() override;
    // A failure that escapes an event handler is reported and the host runs on.
    bool OnExceptionInMainLoop() override;

private:
    std::vector<std::filesystem::path> pluginFolders;
};
