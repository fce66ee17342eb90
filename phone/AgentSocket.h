#pragma once
// The agent's listening socket. It lives in a folder private to the user: the folder is created with mode
// 0700 when missing, and refused when it has other permissions, another owner or is a link. A socket file
// that no agent answers on any more is replaced; one that a live agent answers on is left alone.

#include <filesystem>
#include <string>

#include "platform/rapi/wire/UniqueFd.h"

// A listening, non-blocking socket, or an empty one with `error` set.
UniqueFd ListenOnPhoneSocket(const std::filesystem::path& socket, std::string& error);
