#include "platform/rapi/phone/WalletApp.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/rapi/wire/UniqueFd.h"

namespace {

using nlohmann::json;

constexpr off_t kMaxStateSize = 64 * 1024;
constexpr char16_t kAppKey[] = u"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera";

// A flag of the state file: absent is false, anything but true or false is malformed.
bool Flag(const json& state, const char* name, bool* out) {
    json value = state.value(name, json(false));
    if (!value.is_boolean()) return false;
    *out = value.get<bool>();
    return true;
}

}  // namespace

DWORD LoadAppStateFile(const std::filesystem::path& file, bool* installed, bool* running) {
    *installed = *running = false;
    if (file.empty()) return ERROR_SUCCESS;
    std::string text;
    if (int error = ReadSmallFile(file.c_str(), kMaxStateSize, &text))
        return error == ENOENT ? ERROR_SUCCESS : ERROR_GEN_FAILURE;
    json state = json::parse(text, nullptr, false);
    bool wellFormed =
        state.is_object() && Flag(state, "installed", installed) && Flag(state, "running", running);
    return wellFormed ? ERROR_SUCCESS : ERROR_GEN_FAILURE;
}

DWORD SaveAppStateFile(const std::filesystem::path& file, bool installed, bool running) {
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << json{{"installed", installed}, {"running", running}}.dump(2) << "\n";
        if (!out.flush()) return ERROR_ACCESS_DENIED;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return error ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

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
    bool installed = false, running = false;
    if (DWORD error = LoadAppStateFile(stateFile, &installed, &running)) return error;
    out->installed = installed ? TRUE : FALSE;
    out->running = running ? TRUE : FALSE;
    ReadVersion(out->version);
    return ERROR_SUCCESS;
}

DWORD WalletApp::Close() {
    std::lock_guard lock(closing);
    bool installed = false, running = false;
    if (DWORD error = LoadAppStateFile(stateFile, &installed, &running)) return error;
    return running ? SaveAppStateFile(stateFile, installed, false) : ERROR_SUCCESS;
}
