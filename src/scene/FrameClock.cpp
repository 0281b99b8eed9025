#include "FrameClock.h"

#include <chrono>
#include <ctime>

namespace lobex {

float SecondsSinceMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    // localtime is not reentrant, but the clock is only read on the user-interface thread.
    const std::tm local = *std::localtime(&whole);
    const auto sinceWhole = now - std::chrono::system_clock::from_time_t(whole);
    const double fraction = std::chrono::duration<double>(sinceWhole).count();
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
    return static_cast<float>(seconds);
}

FrameClock::FrameClock() : FrameClock(SecondsSinceMidnight) {}

FrameClock::FrameClock(TimeSource now) : now_(std::move(now)) {}

float FrameClock::operator()(int command) {
    const float now = now_();
    if (now < lastQuery_) {
        command = kClockReset;
    }
    switch (command) {
    case kClockReset:
        base_ = now;
        stop_ = 0.0f;
        lastQuery_ = 0.0f;
        return 0.0f;
    case kClockStart:
        base_ = now + base_ - stop_;
        lastQuery_ = now + lastQuery_ - stop_;
        stop_ = 0.0f;
        return now;
    case kClockStop:
        stop_ = now;
        return now;
    case kClockAdvance:
        base_ = now + base_ - (stop_ + 0.1f);
        return now;
    case kClockAppTime:
        return now - base_;
    case kClockElapsedTime: {
        const float elapsed = now - lastQuery_;
        lastQuery_ = now;
        return elapsed < 0.0f ? 0.0f : elapsed;
    }
    default:
        return now;
    }
}

} // namespace lobex
