#include "host/IdleTracker.h"

#include <algorithm>
#include <limits>

void IdleTracker::NoteInput(Clock::time_point when) {
    lastInput = std::max(lastInput, when);
}

uint32_t IdleTracker::IdleMs(Clock::time_point now) const {
    auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput).count();
    if (idle <= 0) return 0;
    return static_cast<uint32_t>(std::min<int64_t>(idle, std::numeric_limits<uint32_t>::max()));
}
