#include "platform/rapi/phone/WalletApp.h"

#include <algorithm>
#include <string>

namespace {

constexpr char16_t kAppKey[] = u"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera";

}  // namespace

void WalletApp::ReadVersion(char16_t (&version)[32]) const {
    std::fill(std::begin(version), std::end(version), u'\0');
    uint8_t data[sizeof version];
    DWORD type = 0, size = sizeof data;
    if (registry->Query(kAppKey, u"Version", &type, data, &size) != ERROR_SUCCESS || type != REG_SZ) return;
    // A text too long for the record counts as none (ERROR_MORE_DATA); the last unit stays a terminator.
    for (DWORD i = 0; i + 1 < size && i / 2 + 1 < std::size(version); i += 2)
        version[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
}

DWORD WalletApp::Status(PhoneAppStatus* out) const {
    PhoneAppState state;
    std::string error;
    if (!stateFile.Load(state, error)) return ERROR_GEN_FAILURE;
    out->installed = state.installed ? TRUE : FALSE;
    out->running = state.running ? TRUE : FALSE;
    ReadVersion(out->version);
    return ERROR_SUCCESS;
}

DWORD WalletApp::Close() {
    std::lock_guard lock(closing);
    PhoneAppState state;
    std::string error;
    if (!stateFile.Load(state, error)) return ERROR_GEN_FAILURE;
    if (!state.running) return ERROR_SUCCESS;
    state.running = false;
    return stateFile.Save(state, error) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}
