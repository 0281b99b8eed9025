#include "scene/FrameClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace lobex {
namespace {

struct Step {
    float now;
    int command;
    float expected;
};

// Runs the commands at the given times of a clock whose time the test sets.
void ExpectSteps(const std::vector<Step>& steps) {
    float now = 0.0f;
    FrameClock clock([&now] { return now; });
    for (const Step& step : steps) {
        now = step.now;
        EXPECT_NEAR(clock(step.command), step.expected, 1e-4f)
            << "command " << step.command << " at " << step.now;
    }
}

TEST(FrameClock, EachCommandMovesTheBaseAndTheStopTimeAsTheTimerDid) {
    // Times are multiples of 1/8 so that every result is exact in single precision.
    ExpectSteps({
        {100.0f, kClockReset, 0.0f},         // base 100
        {101.5f, kClockAppTime, 1.5f},       // since the base
        {102.0f, kClockElapsedTime, 102.0f}, // last query was 0
        {102.5f, kClockElapsedTime, 0.5f},
        {103.0f, kClockStop, 103.0f},   // stop 103
        {110.0f, kClockAppTime, 10.0f}, // application time keeps running while stopped
        {110.0f, kClockStart, 110.0f},  // base 100 + 110 - 103 = 107; last query 102.5 + 7
        {111.0f, kClockAppTime, 4.0f},
        {111.0f, kClockElapsedTime, 1.5f}, // 111 - 109.5: the stopped time is skipped
        {112.0f, 5, 112.0f},               // no such command: the time itself
    });
    // Passing midnight resets whatever the command.
    ExpectSteps({
        {86390.0f, kClockReset, 0.0f},
        {86390.0f, kClockElapsedTime, 86390.0f},
        {5.0f, kClockElapsedTime, 0.0f}, // the next day
        {7.0f, kClockAppTime, 2.0f},
        {7.0f, kClockElapsedTime, 7.0f},
    });
}

} // namespace
} // namespace lobex
