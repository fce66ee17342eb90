// pocketdeck [--plugins DIR] [--version]: the host application.
#include <wx/init.h>
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
    // The toolkit sees only the program's name: the options are ours.
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, argv);
}
