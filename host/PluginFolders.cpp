#include "host/PluginFolders.h"

#include <cstdlib>
#include <system_error>

std::vector<std::filesystem::path> PluginFolders(const std::filesystem::path& programFolder,
                                                 const char* dataHome, const char* home) {
    std::vector<std::filesystem::path> folders;
    if (dataHome && dataHome[0] == '/') {
        folders.push_back(std::filesystem::path(dataHome) / "pocketdeck" / "plugins");
    } else if (home && home[0] == '/') {
        folders.push_back(std::filesystem::path(home) / ".local" / "share" / "pocketdeck" / "plugins");
    }
    // POCKETDECK_PLUGINS_FROM_BIN is the installed plug-in folder relative to the installed bin folder.
    folders.push_back((programFolder / POCKETDECK_PLUGINS_FROM_BIN).lexically_normal());
    folders.push_back(programFolder / "plugins");
    return folders;
}

std::vector<std::filesystem::path> DefaultPluginFolders() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::filesystem::path folder = error ? std::filesystem::current_path(error) : program.parent_path();
    return PluginFolders(folder, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}
