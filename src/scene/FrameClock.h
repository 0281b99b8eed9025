#pragma once

#include <functional>

namespace lobex {

// The commands of FrameClock.
inline constexpr int kClockReset = 1;
inline constexpr int kClockStart = 2;
inline constexpr int kClockStop = 3;
inline constexpr int kClockAdvance = 4;
inline constexpr int kClockAppTime = 6;
inline constexpr int kClockElapsedTime = 7;

// Seconds since local midnight, as a single-precision value.
float SecondsSinceMidnight();

// The seconds clock of the 3D view. It keeps a base time, a stop time and the time of the last
// elapsed query (all 0 at first) and reads the current time from a seconds-since-midnight
// source, the system's unless another is given. When the time read is smaller than the last
// elapsed query, midnight has passed and the command is treated as a reset.
class FrameClock {
public:
    using TimeSource = std::function<float()>;

    FrameClock();
    explicit FrameClock(TimeSource now);

    // 1 reset (returns 0), 2 start, 3 stop, 4 advance by a tenth of a second, 6 seconds since
    // the base time, 7 seconds since the previous such query (never negative); any other
    // command returns the current time, as do start, stop and advance.
    float operator()(int command);

private:
    TimeSource now_;
    float base_ = 0.0f;
    float stop_ = 0.0f;
    float lastQuery_ = 0.0f;
};

} // namespace lobex
