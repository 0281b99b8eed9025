#pragma once

// The MMANA window calls in plain Win32, without Qt, so that the same code serves the program
// on Windows and a small helper built with a cross compiler.
#ifdef _WIN32

#include <windows.h>

#include <string>

namespace lobex::win32 {

HWND FindMmanaMainWindow();
// The first "TPageControl" child, its first "TTabSheet" child, and that one's first "TMemo".
HWND FindMmanaMemo(HWND mainWindow);
// WM_SETFOCUS, EM_SETSEL (0, -1) and WM_COPY to the memo.
void CopyMemoToClipboard(HWND memo);
// The clipboard's text in the given format (CF_TEXT: bytes in the ANSI code page;
// CF_UNICODETEXT: converted to UTF-8). Retries opening the clipboard for a moment, since
// the program that copied may still hold it. Empty when there is no text.
std::string ReadClipboardText(UINT format);

} // namespace lobex::win32

#endif
