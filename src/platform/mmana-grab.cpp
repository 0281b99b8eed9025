// mmana-grab: copies the result table out of a running MMANA and writes it to standard output,
// for systems where MMANA runs under Wine. Built for Windows with a cross compiler.
// Exit codes: 0 the text was written, 1 MMANA is not running, 2 it shows no memo, 3 the
// clipboard held no text after the copy.
#include "MmanaWin32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

int main() {
    HWND mainWindow = lobex::win32::FindMmanaMainWindow();
    if (mainWindow == nullptr) {
        return 1;
    }
    HWND memo = lobex::win32::FindMmanaMemo(mainWindow);
    if (memo == nullptr) {
        return 2;
    }
    lobex::win32::CopyMemoToClipboard(memo);
    const std::string text = lobex::win32::ReadClipboardText(CF_TEXT);
    if (text.empty()) {
        return 3;
    }
    // The bytes as the clipboard holds them, line ends included.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return 0;
}
