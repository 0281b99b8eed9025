#include "LocaleDecimal.h"

#include <algorithm>

namespace lobex::cli {
namespace {

std::string_view Lookup(std::string_view name) {
    const LocaleDecimalEntry* const begin = kLocaleDecimals;
    const LocaleDecimalEntry* const end = kLocaleDecimals + kLocaleDecimalCount;
    const auto found =
        std::lower_bound(begin, end, name, [](const LocaleDecimalEntry& e, std::string_view n) {
            return e.name < n;
        });
    return found != end && found->name == name ? found->decimal : std::string_view();
}

} // namespace

std::string DecimalSeparatorOfLocale(std::string_view name) {
    // "language_TERRITORY.codeset@modifier": the codeset and the modifier say nothing of numbers.
    name = name.substr(0, name.find_first_of(".@"));
    std::string key(name);
    std::replace(key.begin(), key.end(), '-', '_');
    std::string_view decimal = Lookup(key);
    if (decimal.empty()) {
        // Most territories of a language write numbers as the language does.
        decimal = Lookup(std::string_view(key).substr(0, key.find('_')));
    }
    return decimal.empty() ? std::string(".") : std::string(decimal);
}

} // namespace lobex::cli
