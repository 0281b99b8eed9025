#include "LocaleDecimal.h"

#include <cstdlib>

namespace lobex::cli {

std::string LocaleDecimalSeparator() {
    // The numeric locale, as Qt reads it: LC_ALL, else LC_NUMERIC, else LANG.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        if (const char* name = std::getenv(variable); name != nullptr && *name != '\0') {
            return DecimalSeparatorOfLocale(name);
        }
    }
    return ".";
}

} // namespace lobex::cli
