#pragma once
// How long the user has left the keyboard and mouse alone.
#include <chrono>
#include <cstdint>

class IdleTracker {
public:
    using Clock = std::chrono::steady_clock;

    explicit IdleTracker(Clock::time_point start = Clock::now()) : lastInput(start) {}

    void NoteInput(Clock::time_point when = Clock::now());
    // Milliseconds since the last input, held at the largest 32-bit value.
    uint32_t IdleMs(Clock::time_point now = Clock::now()) const;

private:
    Clock::time_point lastInput;
};
