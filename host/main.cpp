// pocketdeck [--plugins DIR]: the host application.
#include <wx/init.h>
#include <CLI/CLI.hpp>

#include <filesystem>
#include <system_error>

#include "host/HostApp.h"

namespace {

// The "plugins" folder beside the program.
std::filesystem::path DefaultPluginFolder() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path(error) : program.parent_path()) / "plugins";
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"Quillmark Pocketdeck: loads the plug-ins of a folder and gives them windows"};
    std::filesystem::path folder = DefaultPluginFolder();
    cli.add_option("--plugins", folder, "The plug-in folder (default: plugins beside the program)");
    CLI11_PARSE(cli, argc, argv);
    wxApp::SetInstance(new HostApp(folder));
    // The toolkit sees only the program's name: the options are ours.
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, argv);
}
