#pragma once
// Where the host keeps its 32-byte options record: $XDG_CONFIG_HOME/pocketdeck/options/options.dat,
// with ~/.config standing in for an unset or relative XDG_CONFIG_HOME. The host and its plug-ins
// share the file, so both ask here.
#include <filesystem>

std::filesystem::path HostOptionsPath();
