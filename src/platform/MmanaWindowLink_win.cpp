#include "MmanaWindowLink.h"

#include "MmanaWin32.h"

namespace lobex {
namespace {

class Win32MmanaLink final : public MmanaWindowLink {
public:
    std::uintptr_t FindMainWindow() override {
        return reinterpret_cast<std::uintptr_t>(win32::FindMmanaMainWindow());
    }
    std::uintptr_t FindMemo(std::uintptr_t mainWindow) override {
        return reinterpret_cast<std::uintptr_t>(
            win32::FindMmanaMemo(reinterpret_cast<HWND>(mainWindow)));
    }
    std::string CopyMemoText(std::uintptr_t memo) override {
        win32::CopyMemoToClipboard(reinterpret_cast<HWND>(memo));
        return win32::ReadClipboardText(CF_UNICODETEXT);
    }
};

} // namespace

std::unique_ptr<MmanaWindowLink> CreateMmanaWindowLink(const std::string& /*utilsFolder*/) {
    return std::make_unique<Win32MmanaLink>();
}

bool MmanaCanRunHere() {
    return true;
}

} // namespace lobex
