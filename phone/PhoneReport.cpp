#include "phone/PhoneReport.h"

#include "phone/PhoneSession.h"
#include "phone/PhoneSetup.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/phone/PhoneState.h"

namespace {

using nlohmann::ordered_json;

int LoadPhone(const std::filesystem::path& phoneDir, PhoneAppState& state, PhoneRegistry& registry,
              std::string& error) {
    if (int code = CheckPhone(phoneDir, error)) return code;
    return PhoneState::InFolder(phoneDir).Load(state, error) && registry.Load(error) ? kDone : kFailed;
}

ordered_json Status(const PhoneAppState& state, const PhoneRegistry& registry) {
    return {{"installed", state.installed},
            {"running", state.running},
            {"version", registry.GetString(kAppKey, "Version").value_or("")}};
}

// The entries of a phone folder, listed through the Ce* calls.
ordered_json ListFolder(const std::filesystem::path& phoneDir, const std::string& folder) {
    ordered_json files = ordered_json::array();
    PhoneSession session(phoneDir);
    CE_FIND_DATA found;
    std::u16string pattern = Utf8ToUtf16Lossy(folder) + u"\\*";
    HANDLE search = CeFindFirstFile(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        ordered_json entry{{"name", Utf16ToUtf8Lossy(found.cFileName)}};
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            entry["folder"] = true;
        else
            entry["size"] = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
        files.push_back(std::move(entry));
    } while (CeFindNextFile(search, &found));
    CeFindClose(search);
    return files;
}

}  // namespace

int AppStatus(const std::filesystem::path& phoneDir, ordered_json& status, std::string& error) {
    PhoneAppState state;
    PhoneRegistry registry(RegistryFilePath(phoneDir));
    if (int code = LoadPhone(phoneDir, state, registry, error)) return code;
    status = Status(state, registry);
    return kDone;
}

int InspectPhone(const std::filesystem::path& phoneDir, ordered_json& report, std::string& error) {
    PhoneAppState state;
    PhoneRegistry registry(RegistryFilePath(phoneDir));
    if (int code = LoadPhone(phoneDir, state, registry, error)) return code;
    std::optional<std::string> installPath = registry.GetString(kAppKey, "InstallPath");
    report = {{"app", Status(state, registry)},
              {"registry", registry.Values()},
              {"installPath", installPath ? ordered_json(*installPath) : ordered_json(nullptr)},
              {"files", installPath ? ListFolder(phoneDir, *installPath) : ordered_json::array()}};
    return kDone;
}
