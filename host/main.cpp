// pocketdeck [--plugins DIR] [--version]: the host application.
#include <wx/init.h>
#include <wx/log.h>
#include <CLI/CLI.hpp>

#include <filesystem>
#include <vector>

#include "host/HostApp.h"
#include "host/PluginFolders.h"

int main(int argc, char** argv) {
    CLI::App cli{"Quillmark Pocketdeck: loads the plug-ins of a folder and gives them windows"};
    cli.set_version_flag("--version", std::string("pocketdeck ") + TESSERA_VERSION);
    std::filesystem::path folder;
    cli.add_option("--plugins", folder,
                   "The plug-in folder (default: $XDG_DATA_HOME/pocketdeck/plugins, then the installed "
                   "lib/pocketdeck/plugins, then plugins beside the program)");
    CLI11_PARSE(cli, argc, argv);
    wxApp::SetInstance(new HostApp(folder.empty() ? DefaultPluginFolders() : std::vector{folder}));
    // Until the toolkit is up its messages go to standard error: without a display ("cannot open
    // display") no message box can show them. HostApp::OnInit gives them back to message boxes.
    wxLog::SetActiveTarget(new wxLogStderr);
    // The toolkit sees only the program's name: the options are ours.
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, argv) == 0 ? 0 : 1;
}
