#include "phone/PhoneState.h"

#include <fstream>
#include <nlohmann/json.hpp>

namespace {

constexpr std::uintmax_t kMaxStateSize = 64 * 1024;

}  // namespace

bool PhoneState::Load(PhoneAppState& state, std::string& error) const {
    state = PhoneAppState{};
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return true;
    if (std::filesystem::file_size(file, ec) > kMaxStateSize || ec) {
        error = file.string() + ": not a phone state file";
        return false;
    }
    std::ifstream in(file);
    nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (!json.is_object() || !json.value("installed", nlohmann::json(false)).is_boolean() ||
        !json.value("running", nlohmann::json(false)).is_boolean()) {
        error = file.string() + ": malformed phone state";
        return false;
    }
    state.installed = json.value("installed", false);
    state.running = json.value("running", false);
    return true;
}

bool PhoneState::Save(const PhoneAppState& state, std::string& error) const {
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << nlohmann::json{{"installed", state.installed}, {"running", state.running}}.dump(2) << "\n";
        if (!out.flush()) {
            error = "cannot write " + temporary.string();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) error = "cannot replace " + file.string() + ": " + ec.message();
    return !ec;
}
