// Idle time since the last input.
#include <gtest/gtest.h>

#include "host/IdleTracker.h"

namespace {

using namespace std::chrono_literals;

TEST(IdleTrackerTest, CountsFromStartAndFromEachInput) {
    IdleTracker::Clock::time_point start{};
    IdleTracker idle(start + 10s);
    EXPECT_EQ(idle.IdleMs(start + 10s), 0u);
    EXPECT_EQ(idle.IdleMs(start + 11500ms), 1500u);
    idle.NoteInput(start + 11s);
    EXPECT_EQ(idle.IdleMs(start + 11500ms), 500u);
    // Input noted out of order never moves the last input back.
    idle.NoteInput(start + 10500ms);
    EXPECT_EQ(idle.IdleMs(start + 11500ms), 500u);
    EXPECT_EQ(idle.IdleMs(start + 10s), 0u) << "a clock before the last input";
}

TEST(IdleTrackerTest, LongIdleHoldsAtTheLargest32BitValue) {
    IdleTracker::Clock::time_point start{};
    IdleTracker idle(start);
    EXPECT_EQ(idle.IdleMs(start + 4294967295ms), 4294967295u);
    EXPECT_EQ(idle.IdleMs(start + 24h * 100), 4294967295u);
}

}  // namespace
