#include "SystemInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QOperatingSystemVersion>
#include <QTimer>

#include <chrono>
#include <thread>

namespace lobex {

namespace {

constexpr int kPlatformWindows9x = 1;
constexpr int kPlatformWindowsNT = 2;

} // namespace

std::string WindowsVersionName(int platformId, int major, int minor) {
    if (platformId == kPlatformWindows9x) {
        if (minor == 0) {
            return "95";
        }
        if (minor == 10) {
            return "98";
        }
        return {};
    }
    if (platformId == kPlatformWindowsNT) {
        if (major == 3) {
            return "3.51";
        }
        if (major == 4) {
            return "4.0";
        }
        if (major == 5 && minor == 0) {
            return "2000";
        }
        if (major == 5 && minor == 1) {
            return "WinXP/.NET Server";
        }
        return {};
    }
    return "Failed";
}

std::string GetWindowsVersionName() {
    const QOperatingSystemVersion current = QOperatingSystemVersion::current();
    if (current.type() != QOperatingSystemVersion::Windows) {
        return WindowsVersionName(0, 0, 0);
    }
    // Every Windows Qt 6 runs on belongs to the NT family.
    return WindowsVersionName(kPlatformWindowsNT, current.majorVersion(), current.minorVersion());
}

void WaitMilliseconds(std::int32_t ms) {
    QElapsedTimer clock;
    clock.start();
    if (QCoreApplication::instance() == nullptr) {
        if (ms >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms + 1));
        }
        return;
    }
    // A nested event loop rather than a spin: the windows stay live and no core is burnt.
    while (clock.elapsed() <= ms) {
        const qint64 remaining = ms - clock.elapsed() + 1;
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(remaining), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace lobex
