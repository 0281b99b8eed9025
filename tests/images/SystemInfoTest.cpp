#include "images/SystemInfo.h"

#include <QElapsedTimer>
#include <QOperatingSystemVersion>
#include <QTimer>

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(WindowsVersion, NamesFollowThePlatformIdAndVersionNumbers) {
    struct Case {
        int platform, major, minor;
        const char* name;
    };
    const Case cases[] = {
        {1, 4, 0, "95"},
        {1, 4, 10, "98"},
        {1, 4, 90, ""},
        {2, 3, 51, "3.51"},
        {2, 4, 0, "4.0"},
        {2, 5, 0, "2000"},
        {2, 5, 1, "WinXP/.NET Server"},
        {2, 5, 2, ""},
        {2, 6, 1, ""},
        {2, 10, 0, ""},
        {0, 0, 0, "Failed"},
        {3, 5, 1, "Failed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowsVersionName(c.platform, c.major, c.minor), c.name)
            << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST(WindowsVersion, ASystemWithoutAWindowsVersionGivesFailed) {
    if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
        EXPECT_NE(GetWindowsVersionName(), "Failed");
    } else {
        EXPECT_EQ(GetWindowsVersionName(), "Failed");
    }
}

TEST(WaitMilliseconds, TimersFireDuringTheWaitAndItLastsLongerThanAsked) {
    bool fired = false;
    QTimer::singleShot(5, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    WaitMilliseconds(60);
    EXPECT_GT(clock.elapsed(), 60);
    EXPECT_TRUE(fired) << "the event loop must run while waiting";
}

TEST(WaitMilliseconds, ZeroAndNegativeWaitsReturn) {
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    WaitMilliseconds(0);
    WaitMilliseconds(-5);
    EXPECT_TRUE(fired) << "even a zero wait lets pending events run";
}

} // namespace
} // namespace lobex
