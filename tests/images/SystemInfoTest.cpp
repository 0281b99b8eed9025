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
        {2, 10, 0, ""},
        {0, 0, 0, "Failed"},
        {3, 5, 1, "Failed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowsVersionName(c.platform, c.major, c.minor), c.name)
            << c.platform << " " << c.major << "." << c.minor;
    }
    // A system without a Windows version gives "Failed".
    const bool windows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
    EXPECT_EQ(GetWindowsVersionName() == "Failed", !windows);
}

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
