#include "platform/HostOptionsPath.h"

#include <cstdlib>

std::filesystem::path HostOptionsPath() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = "/tmp";
    }
    return base / "pocketdeck" / "options" / "options.dat";
}
