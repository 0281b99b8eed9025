#include "plotter/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex::plotter {
namespace {

TEST(NiceStep, PicksOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen) {
    struct Case {
        double span;
        int intervals;
        double step;
    };
    const std::vector<Case> cases = {
        {1.0, 5, 0.2},   {1.0, 10, 0.1}, {0.5, 5, 0.1},   {7.0, 7, 1.0},        {100.0, 4, 25.0},
        {0.35, 7, 0.05}, {3.0, 5, 1.0},  {1e-6, 5, 2e-7}, {18000.0, 9, 2000.0}, {0.0, 5, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(NiceStep(c.span, c.intervals), c.step, c.step * 1e-9)
            << c.span << " in " << c.intervals;
    }
}

TEST(LinearTicks, WidenToTheNearestTicksAndLabelEveryOne) {
    // A sweep from 13.9 to 14.42 MHz: the axis runs from 13.9 to 14.5 in steps of 0.1.
    const AxisTicks ticks = LinearTicks(13.9, 14.42, 8, true);
    EXPECT_NEAR(ticks.lo, 13.9, 1e-12);
    EXPECT_NEAR(ticks.hi, 14.5, 1e-12);
    ASSERT_EQ(ticks.major.size(), 7U);
    EXPECT_NEAR(ticks.major[3], 14.2, 1e-12);
    EXPECT_EQ(ticks.decimals, 1);
    EXPECT_FALSE(ticks.minor.empty());
    for (const double value : ticks.minor) {
        EXPECT_GT(value, ticks.lo);
        EXPECT_LT(value, ticks.hi);
    }
}

TEST(LinearTicks, NeverMoreIntervalsThanAsked) {
    for (int most = 2; most <= 10; ++most) {
        for (const auto& [lo, hi] : std::vector<std::pair<double, double>>{
                 {1.03, 2.71}, {-177.3, 12.0}, {0.0, 1.0}, {5.1, 7.9}, {-1e-3, 3e-3}}) {
            const AxisTicks ticks = LinearTicks(lo, hi, most, true);
            EXPECT_LE(static_cast<int>(ticks.major.size()) - 1, most) << lo << ".." << hi;
            EXPECT_LE(ticks.lo, lo);
            EXPECT_GE(ticks.hi, hi);
        }
    }
}

TEST(LinearTicks, WithoutWideningTicksStayInside) {
    const AxisTicks ticks = LinearTicks(1.03, 2.71, 5, false);
    EXPECT_DOUBLE_EQ(ticks.lo, 1.03);
    EXPECT_DOUBLE_EQ(ticks.hi, 2.71);
    ASSERT_FALSE(ticks.major.empty());
    EXPECT_GE(ticks.major.front(), 1.03);
    EXPECT_LE(ticks.major.back(), 2.71);
}

TEST(LinearTicks, ARangeWithoutWidthIsOpened) {
    const AxisTicks constant = LinearTicks(7.0, 7.0, 5, true);
    EXPECT_LT(constant.lo, 7.0);
    EXPECT_GT(constant.hi, 7.0);
    const AxisTicks zero = LinearTicks(0.0, 0.0, 5, true);
    EXPECT_LE(zero.lo, -1.0);
    EXPECT_GE(zero.hi, 1.0);
}

TEST(LinearTicks, ZeroIsExactlyZero) {
    const AxisTicks ticks = LinearTicks(-0.3, 0.3, 6, true);
    bool sawZero = false;
    for (const double value : ticks.major) {
        if (std::abs(value) < 1e-12) {
            EXPECT_EQ(value, 0.0);
            sawZero = true;
        }
    }
    EXPECT_TRUE(sawZero);
}

TEST(LogTicks, DecadesWhenTheRangeIsWide) {
    // Four and a half decades: labels on the decades only, the axis widened to whole decades.
    const AxisTicks ticks = LogTicks(3.16, 3162.0, 8, true);
    EXPECT_DOUBLE_EQ(ticks.lo, 1.0);
    EXPECT_DOUBLE_EQ(ticks.hi, 10000.0);
    const std::vector<double> expected = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    ASSERT_EQ(ticks.major.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(ticks.major[i], expected[i], expected[i] * 1e-12);
    }
    // 2..9 of each decade in between.
    EXPECT_EQ(ticks.minor.size(), 4U * 8U);
}

TEST(LogTicks, OneTwoFiveWhenThereIsRoom) {
    const AxisTicks ticks = LogTicks(1.5, 40.0, 8, true);
    EXPECT_DOUBLE_EQ(ticks.lo, 1.0);
    EXPECT_DOUBLE_EQ(ticks.hi, 50.0);
    const std::vector<double> expected = {1.0, 2.0, 5.0, 10.0, 20.0, 50.0};
    ASSERT_EQ(ticks.major.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(ticks.major[i], expected[i], 1e-12);
    }
}

TEST(LogTicks, LessThanADecadeGetsNiceLinearValues) {
    // An SWR from 1.03 to 2.71 on a log axis.
    const AxisTicks ticks = LogTicks(1.03, 2.71, 6, true);
    EXPECT_GT(ticks.lo, 0.0);
    EXPECT_LE(ticks.lo, 1.03);
    EXPECT_GE(ticks.hi, 2.71);
    EXPECT_GE(ticks.major.size(), 3U);
}

TEST(LogTicks, DecimalsShowSmallLabels) {
    const AxisTicks ticks = LogTicks(0.012, 30.0, 12, true);
    EXPECT_NEAR(ticks.lo, 0.01, 1e-15);
    EXPECT_EQ(ticks.decimals, 2);
}

TEST(LogTicks, ManyDecadesAreThinned) {
    const AxisTicks ticks = LogTicks(1e-6, 1e6, 4, true);
    EXPECT_LE(static_cast<int>(ticks.major.size()) - 1, 4);
    EXPECT_GE(ticks.major.size(), 3U);
}

TEST(LogTicks, NonPositiveRangeGivesNothing) {
    const AxisTicks ticks = LogTicks(0.0, 10.0, 5, true);
    EXPECT_TRUE(ticks.major.empty());
    EXPECT_EQ(ticks.lo, 0.0);
    EXPECT_EQ(ticks.hi, 0.0);
}

TEST(DividedTicks, EqualDivisionsWithMinorTicks) {
    // The polar window: 36 divisions of the circle, each cut in 5.
    const AxisTicks ticks = DividedTicks(0.0, 360.0, 36, 5);
    ASSERT_EQ(ticks.major.size(), 37U);
    EXPECT_DOUBLE_EQ(ticks.major[1], 10.0);
    EXPECT_DOUBLE_EQ(ticks.major.back(), 360.0);
    EXPECT_EQ(ticks.minor.size(), 36U * 4U);
    EXPECT_DOUBLE_EQ(ticks.minor[0], 2.0);
    EXPECT_EQ(ticks.decimals, 0);
}

TEST(FormatTick, DecimalsSeparatorAndSign) {
    EXPECT_EQ(FormatTick(14.2, 1, "."), "14.2");
    EXPECT_EQ(FormatTick(14.2, 2, ","), "14,20");
    EXPECT_EQ(FormatTick(-0.0000001, 2, "."), "0.00");
    EXPECT_EQ(FormatTick(-2.5, 1, "."), "-2.5");
    EXPECT_EQ(FormatTick(1000.0, 0, ","), "1000");
    EXPECT_EQ(FormatTick(2e6, 0, "."), "2e+06");
    EXPECT_EQ(FormatTick(1.5e-8, 8, ","), "1,5e-08");
}

} // namespace
} // namespace lobex::plotter
