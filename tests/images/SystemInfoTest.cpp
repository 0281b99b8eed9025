#include "images/SystemInfo.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(WaitMilliseconds, EventsRunDuringTheWaitAndItLastsLongerThanAsked) {
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    WaitMilliseconds(0);
    WaitMilliseconds(-5);
    EXPECT_EQ(fired, 1) << "even a zero wait lets pending events run";
    QTimer::singleShot(5, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    WaitMilliseconds(60);
    EXPECT_GT(clock.elapsed(), 60);
    EXPECT_EQ(fired, 2) << "the event loop must run while waiting";
}

} // namespace
} // namespace lobex
