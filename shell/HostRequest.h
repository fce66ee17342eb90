#pragma once
// Requests to the host (100: is the phone application running; 101: close it). The host answers
// later through CPU, which moves the phone application status; meanwhile the user-interface thread
// keeps dispatching events, so the answer can arrive.
#include <array>
#include <cstdint>
#include <functional>

#include "plugin-api/PluginApi.h"

using HostRequestRecord = std::array<uint32_t, plugin::kMessageWords>;

// All zero but the request code (word 0) and the interface tag (word 106).
HostRequestRecord MakeHostRequest(uint32_t code);

// Sends code through the host's callback (given to InitPlugin), then dispatches events for as long as
// keepWaiting() holds. Without a callback nothing is sent and nothing waited for.
void AskHost(HostRequestProc request, uint32_t code, const std::function<bool()>& keepWaiting);
