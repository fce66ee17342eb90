#pragma once
// What a phone holds, as JSON for people and scripts: the application's state, and for inspection
// also the registry and the files of the install folder as the phone lists them.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

// {"installed": bool, "running": bool, "version": text, empty when the registry has none}.
int AppStatus(const std::filesystem::path& phoneDir, nlohmann::ordered_json& status, std::string& error);

// {"app": the status above, "registry": the registry file's keys and values, "installPath": the phone
// path or null, "files": [{"name", "size"} for files, {"name", "folder": true} for folders]}.
int InspectPhone(const std::filesystem::path& phoneDir, nlohmann::ordered_json& report, std::string& error);
