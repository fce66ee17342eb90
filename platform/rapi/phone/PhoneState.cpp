#include "platform/rapi/phone/PhoneState.h"

#include <cerrno>
#include <nlohmann/json.hpp>

#include "platform/rapi/phone/HostFile.h"
#include "platform/rapi/wire/UniqueFd.h"

namespace {

using nlohmann::json;

constexpr off_t kMaxStateSize = 64 * 1024;

// A flag of the state file: absent is false, anything but true or false is malformed.
bool Flag(const json& state, const char* name, bool* out) {
    json value = state.value(name, json(false));
    if (!value.is_boolean()) return false;
    *out = value.get<bool>();
    return true;
}

}  // namespace

bool PhoneState::Load(PhoneAppState& state, std::string& error) const {
    state = PhoneAppState{};
    if (file.empty()) return true;
    std::string text;
    int failure = ReadSmallFile(file.c_str(), kMaxStateSize, &text);
    if (failure == ENOENT) return true;
    json loaded = failure ? json() : json::parse(text, nullptr, false);
    if (loaded.is_object() && Flag(loaded, "installed", &state.installed) &&
        Flag(loaded, "running", &state.running))
        return true;
    state = PhoneAppState{};
    error = file.string() + ": unreadable or malformed phone state";
    return false;
}

bool PhoneState::Save(const PhoneAppState& state, std::string& error) const {
    json saved{{"installed", state.installed}, {"running", state.running}};
    if (ReplaceFile(file, saved.dump(2) + "\n", error)) return true;
    error = "cannot write " + file.string();
    return false;
}
