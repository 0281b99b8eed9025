#include "platform/LocaleInfo.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(LocaleInfo, DecimalSeparatorFollowsTheLocale) {
    EXPECT_EQ(GetDecimalSeparator(QLocale(QLocale::Russian, QLocale::Russia)), ",");
    EXPECT_EQ(GetDecimalSeparator(QLocale(QLocale::German, QLocale::Germany)), ",");
    EXPECT_EQ(GetDecimalSeparator(QLocale(QLocale::English, QLocale::UnitedStates)), ".");
    EXPECT_FALSE(GetDecimalSeparator().empty());
}

} // namespace
} // namespace lobex
