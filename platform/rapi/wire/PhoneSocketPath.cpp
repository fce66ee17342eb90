#include "platform/rapi/wire/PhoneSocketPath.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

std::filesystem::path DefaultPhoneSocketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder =
        runtime && runtime[0] == '/'
            ? std::filesystem::path(runtime) / "pocketdeck"
            : std::filesystem::path("/tmp") / ("pocketdeck-" + std::to_string(::geteuid()));
    return folder / "phone.sock";
}
