// A stand-in for MMANA's main window, for tests under Wine: a "TMainWnd" window holding a
// "TPageControl", a "TTabSheet" and a "TMemo" (an edit control under MMANA's class name) that
// shows the text of the file given on the command line; no file gives an empty memo, and
// "--no-memo" a window without one.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterFrame(HINSTANCE instance, const char* name) {
    WNDCLASSA frame{};
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.lpszClassName = name;
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&frame);
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char* argv[]) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::string argument = argc > 1 ? argv[1] : "";
    RegisterFrame(instance, "TMainWnd");
    RegisterFrame(instance, "TPageControl");
    RegisterFrame(instance, "TTabSheet");

    // MMANA's memo is an edit control of its own class name.
    WNDCLASSA memo{};
    GetClassInfoA(nullptr, "EDIT", &memo);
    memo.hInstance = instance;
    memo.lpszClassName = "TMemo";
    RegisterClassA(&memo);

    HWND main = CreateWindowA("TMainWnd", "MMANA-GAL", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                              nullptr, instance, nullptr);
    HWND pages = CreateWindowA("TPageControl", "", WS_CHILD | WS_VISIBLE, 0, 0, 620, 440, main,
                               nullptr, instance, nullptr);
    HWND sheet = CreateWindowA("TTabSheet", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 420, pages,
                               nullptr, instance, nullptr);
    if (argument != "--no-memo") {
        HWND edit = CreateWindowA(
            "TMemo", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
            580, 400, sheet, nullptr, instance, nullptr);
        const std::string text = argument.empty() ? std::string() : ReadFile(argument.c_str());
        SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextA(edit, text.c_str());
    }
    ShowWindow(main, SW_SHOWNORMAL);
    std::puts("ready");
    std::fflush(stdout);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
