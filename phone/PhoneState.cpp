#include "phone/PhoneState.h"

#include "platform/rapi/phone/WalletApp.h"

bool PhoneState::Load(PhoneAppState& state, std::string& error) const {
    state = PhoneAppState{};
    if (LoadAppStateFile(file, &state.installed, &state.running) == ERROR_SUCCESS) return true;
    error = file.string() + ": unreadable or malformed phone state";
    return false;
}

bool PhoneState::Save(const PhoneAppState& state, std::string& error) const {
    if (SaveAppStateFile(file, state.installed, state.running) == ERROR_SUCCESS) return true;
    error = "cannot write " + file.string();
    return false;
}
