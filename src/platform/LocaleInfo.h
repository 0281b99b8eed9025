#pragma once

#include <QLocale>

#include <string>

namespace lobex {

// The decimal symbol of a locale, as text.
std::string GetDecimalSeparator(const QLocale& locale);
// The decimal symbol of the user's locale.
std::string GetDecimalSeparator();

} // namespace lobex
