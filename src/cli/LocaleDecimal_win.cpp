#include "LocaleDecimal.h"

#include <string>

#include <windows.h>

namespace lobex::cli {

// Windows keeps the symbol the user chose in the regional settings, as Qt reads it there.
std::string LocaleDecimalSeparator() {
    wchar_t symbol[8] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, symbol, 8);
    if (length <= 1) {
        return ".";
    }
    char text[32] = {};
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, symbol, length - 1, text, sizeof text, nullptr, nullptr);
    return bytes > 0 ? std::string(text, static_cast<std::size_t>(bytes)) : std::string(".");
}

} // namespace lobex::cli
