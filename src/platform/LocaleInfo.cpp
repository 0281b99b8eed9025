#include "LocaleInfo.h"

namespace lobex {

std::string GetDecimalSeparator(const QLocale& locale) {
    return locale.decimalPoint().toStdString();
}

std::string GetDecimalSeparator() {
    return GetDecimalSeparator(QLocale::system());
}

} // namespace lobex
