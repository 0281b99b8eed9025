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

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char* argv[]) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::string argument = argc > 1 ? argv[1] : "";
    // MMANA's nesting of frames, the memo an edit control of its own class name.
    HWND main = nullptr;
    HWND parent = nullptr;
    for (const char* name : {"TMainWnd", "TPageControl", "TTabSheet"}) {
        WNDCLASSA frame{};
        frame.lpfnWndProc = FrameProc;
        frame.hInstance = instance;
        frame.lpszClassName = name;
        frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&frame);
        parent = CreateWindowA(name, main == nullptr ? "MMANA-GAL" : "",
                               main == nullptr ? WS_OVERLAPPEDWINDOW : WS_CHILD | WS_VISIBLE, 0, 0,
                               640, 480, parent, nullptr, instance, nullptr);
        main = main == nullptr ? parent : main;
    }
    WNDCLASSA memo{};
    GetClassInfoA(nullptr, "EDIT", &memo);
    memo.hInstance = instance;
    memo.lpszClassName = "TMemo";
    RegisterClassA(&memo);
    if (argument != "--no-memo") {
        HWND edit = CreateWindowA(
            "TMemo", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
            580, 400, parent, nullptr, instance, nullptr);
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
