#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lobex::cli {

// The decimal symbol of the user's locale, the one the window shows (Qt's system locale), found
// without Qt: lobex-cli starts without loading it.
std::string LocaleDecimalSeparator();

// The decimal symbol of a POSIX locale name such as "ru_RU.UTF-8" or "de_CH@euro", as Qt's locale
// data give it: "." for the C locale and for names they do not know.
std::string DecimalSeparatorOfLocale(std::string_view name);

// Qt's locale names ("de", "de_AT") whose decimal symbol is not ".", sorted by name.
struct LocaleDecimalEntry {
    std::string_view name;
    std::string_view decimal;
};
extern const LocaleDecimalEntry kLocaleDecimals[];
extern const std::size_t kLocaleDecimalCount;

} // namespace lobex::cli
