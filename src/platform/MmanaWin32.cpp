#include "MmanaWin32.h"

#ifdef _WIN32

namespace lobex::win32 {

HWND FindMmanaMainWindow() {
    return FindWindowA("TMainWnd", nullptr);
}

HWND FindMmanaMemo(HWND mainWindow) {
    if (mainWindow == nullptr) {
        return nullptr;
    }
    HWND pages = FindWindowExA(mainWindow, nullptr, "TPageControl", nullptr);
    HWND sheet = pages != nullptr ? FindWindowExA(pages, nullptr, "TTabSheet", nullptr) : nullptr;
    return sheet != nullptr ? FindWindowExA(sheet, nullptr, "TMemo", nullptr) : nullptr;
}

void CopyMemoToClipboard(HWND memo) {
    SendMessageA(memo, WM_SETFOCUS, 0, 0);
    SendMessageA(memo, EM_SETSEL, 0, -1);
    SendMessageA(memo, WM_COPY, 0, 0);
}

namespace {

std::string Utf8FromWide(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

std::string ReadClipboardText(UINT format) {
    bool open = false;
    for (int attempt = 0; attempt < 20 && !open; ++attempt) {
        open = OpenClipboard(nullptr) != 0;
        if (!open) {
            Sleep(25);
        }
    }
    if (!open) {
        return {};
    }
    std::string text;
    if (HANDLE data = GetClipboardData(format)) {
        if (const void* locked = GlobalLock(data)) {
            text = format == CF_UNICODETEXT ? Utf8FromWide(static_cast<const wchar_t*>(locked))
                                            : std::string(static_cast<const char*>(locked));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace lobex::win32

#endif
