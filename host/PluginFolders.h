#pragma once
// Where pocketdeck looks for plug-ins, in this order: the user's own folder
// ($XDG_DATA_HOME/pocketdeck/plugins, ~/.local/share standing in for an unset or relative XDG_DATA_HOME),
// the installed folder (lib/pocketdeck/plugins beside the program's bin folder) and, in a build tree,
// "plugins" beside the program. A plug-in file found in an earlier folder hides one of the same name in a
// later one.
#include <filesystem>
#include <vector>

// The folders for a program in programFolder, given the values of XDG_DATA_HOME and HOME (null: unset).
std::vector<std::filesystem::path> PluginFolders(const std::filesystem::path& programFolder,
                                                 const char* dataHome, const char* home);

// The folders of this program, from its own location and the environment.
std::vector<std::filesystem::path> DefaultPluginFolders();
