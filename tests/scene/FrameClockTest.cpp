#include "scene/FrameClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace lobex {
namespace {

// A clock whose time the test sets.
struct ManualTime {
    float now = 0.0f;
    FrameClock::TimeSource Source() {
        return [this] {
            return now;
        };
    }
};

TEST(FrameClock, CommandsFollowTheirDocumentedArithmetic) {
    struct Step {
        float now;
        int command;
        float expected;
    };
    // Times are multiples of 1/8 so that every result is exact in single precision.
    const Step steps[] = {
        {100.0f, kClockReset, 0.0f},         // base 100
        {101.5f, kClockAppTime, 1.5f},       // since the base
        {102.0f, kClockElapsedTime, 102.0f}, // last query was 0
        {102.5f, kClockElapsedTime, 0.5f},
        {103.0f, kClockStop, 103.0f},   // stop 103
        {110.0f, kClockAppTime, 10.0f}, // the documented command does not freeze while stopped
        {110.0f, kClockStart, 110.0f},  // base 100 + 110 - 103 = 107; last query 102.5 + 7
        {111.0f, kClockAppTime, 4.0f},
        {111.0f, kClockElapsedTime, 1.5f}, // 111 - 109.5
        {112.0f, 5, 112.0f},               // no such command: the time itself
        {112.0f, 0, 112.0f},
    };
    ManualTime time;
    FrameClock clock(time.Source());
    for (const Step& step : steps) {
        time.now = step.now;
        EXPECT_FLOAT_EQ(clock(step.command), step.expected)
            << "command " << step.command << " at " << step.now;
    }
}

TEST(FrameClock, AdvanceMovesTheBaseByATenthPastTheStopTime) {
    ManualTime time;
    FrameClock clock(time.Source());
    time.now = 50.0f;
    clock(kClockReset);
    time.now = 60.0f;
    clock(kClockStop);
    time.now = 70.0f;
    EXPECT_FLOAT_EQ(clock(kClockAdvance), 70.0f);
    // base = 70 + 50 - (60 + 0.1) = 59.9
    EXPECT_NEAR(clock(kClockAppTime), 70.0f - 59.9f, 1e-4f);
}

TEST(FrameClock, ElapsedQueriesSkipTheTimeTheClockWasStopped) {
    ManualTime time;
    FrameClock clock(time.Source());
    time.now = 10.0f;
    clock(kClockReset);
    time.now = 12.0f;
    clock(kClockElapsedTime);
    time.now = 15.0f;
    clock(kClockStop);
    time.now = 25.0f;
    clock(kClockStart); // last query 25 + 12 - 15 = 22
    time.now = 26.0f;
    EXPECT_FLOAT_EQ(clock(kClockElapsedTime), 4.0f);
    EXPECT_FLOAT_EQ(clock(kClockAppTime), 26.0f - 20.0f); // base 25 + 10 - 15
}

TEST(FrameClock, PassingMidnightResetsWhateverTheCommand) {
    ManualTime time;
    FrameClock clock(time.Source());
    time.now = 86390.0f;
    clock(kClockReset);
    clock(kClockElapsedTime); // last query 86390
    time.now = 5.0f;          // the next day
    EXPECT_FLOAT_EQ(clock(kClockElapsedTime), 0.0f);
    time.now = 7.0f;
    EXPECT_FLOAT_EQ(clock(kClockAppTime), 2.0f);
    EXPECT_FLOAT_EQ(clock(kClockElapsedTime), 7.0f);
}

TEST(FrameClock, TheSystemClockCountsSecondsOfTheDay) {
    const float now = SecondsSinceMidnight();
    EXPECT_GE(now, 0.0f);
    EXPECT_LT(now, 86401.0f);
    FrameClock clock;
    clock(kClockReset);
    const float since = clock(kClockAppTime);
    EXPECT_GE(since, 0.0f);
    EXPECT_LT(since, 60.0f);
}

} // namespace
} // namespace lobex
