#pragma once
// Where the phone agent listens when nothing says otherwise: $XDG_RUNTIME_DIR/pocketdeck/phone.sock, or
// /tmp/pocketdeck-<uid>/phone.sock when XDG_RUNTIME_DIR is unset or not absolute. The folder is private
// to the user (mode 0700); the agent creates it.

#include <filesystem>

std::filesystem::path DefaultPhoneSocketPath();
