#pragma once

#include "core/MmanaLink.h"

#include <functional>
#include <string>
#include <vector>

namespace lobex::test {

// MMANA's windows as a test arranges them: whether the main window and its memo exist, and
// the text a copy puts on the clipboard.
class FakeMmanaLink final : public MmanaWindowLink {
public:
    std::uintptr_t FindMainWindow() override {
        calls.push_back("FindMainWindow");
        if (whileFinding) {
            whileFinding();
        }
        return running ? kMain : 0;
    }
    std::uintptr_t FindMemo(std::uintptr_t mainWindow) override {
        calls.push_back("FindMemo");
        return mainWindow == kMain && hasMemo ? kMemo : 0;
    }
    std::string CopyMemoText(std::uintptr_t memo) override {
        calls.push_back("CopyMemoText");
        return memo == kMemo ? text : std::string();
    }

    static constexpr std::uintptr_t kMain = 0x1010;
    static constexpr std::uintptr_t kMemo = 0x2020;
    bool running = false;
    bool hasMemo = true;
    std::string text;
    std::vector<std::string> calls;
    std::function<void()> whileFinding; // runs while MMANA is looked for, when set
};

} // namespace lobex::test
