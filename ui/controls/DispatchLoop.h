#pragma once
// Waiting on the user-interface thread without blocking it: events keep being dispatched (the host's
// answers, a worker's end, timers) until the condition no longer holds.
#include <functional>

void DispatchWhile(const std::function<bool()>& keepWaiting);
