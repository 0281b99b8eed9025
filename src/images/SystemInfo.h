#pragma once

#include <cstdint>
#include <string>

namespace lobex {

// The Windows version names: platform id 1 (Windows 9x) minor 0 "95", minor 10 "98";
// platform id 2 (NT) major 3 "3.51", 4 "4.0", 5.0 "2000", 5.1 "WinXP/.NET Server"; other
// versions of those two platforms an empty name; any other platform id "Failed".
std::string WindowsVersionName(int platformId, int major, int minor);

// The name for the system the program runs on; "Failed" where there is no Windows version.
std::string GetWindowsVersionName();

// Returns once more than ms milliseconds have passed, running the event loop meanwhile so the
// windows repaint and timers fire. Without an application object it simply sleeps.
void WaitMilliseconds(std::int32_t ms);

} // namespace lobex
