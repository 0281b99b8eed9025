#include "plotter/Ticks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace lobex::plotter {
namespace {

void ExpectValues(const std::vector<double>& got, const std::vector<double>& want,
                  const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i], want[i], std::abs(want[i]) * 1e-12) << what << " tick " << i;
    }
}

TEST(LinearTicks, WidenToLabelledTicksAndNeverExceedTheIntervalsAsked) {
    // A sweep from 13.9 to 14.42 MHz: the axis runs from 13.9 to 14.5 in steps of 0.1.
    const AxisTicks sweep = LinearTicks(13.9, 14.42, 8, true);
    EXPECT_NEAR(sweep.lo, 13.9, 1e-12);
    EXPECT_NEAR(sweep.hi, 14.5, 1e-12);
    ExpectValues(sweep.major, {13.9, 14.0, 14.1, 14.2, 14.3, 14.4, 14.5}, "sweep");
    EXPECT_EQ(sweep.decimals, 1);
    // Steps are 1, 2, 2.5 or 5 times a power of ten.
    ExpectValues(LinearTicks(0.0, 100.0, 4, true).major, {0, 25, 50, 75, 100}, "quarters");
    ExpectValues(LinearTicks(0.0, 18000.0, 9, true).major,
                 {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000}, "thousands");
    // Never more intervals than asked.
    for (int most = 2; most <= 10; ++most) {
        const AxisTicks ticks = LinearTicks(-177.3, 12.0, most, true);
        EXPECT_LE(static_cast<int>(ticks.major.size()) - 1, most);
        EXPECT_LE(ticks.lo, -177.3);
        EXPECT_GE(ticks.hi, 12.0);
    }
    // Without widening the range stays and the ticks stay inside it.
    const AxisTicks inside = LinearTicks(1.03, 2.71, 5, false);
    EXPECT_DOUBLE_EQ(inside.lo, 1.03);
    EXPECT_DOUBLE_EQ(inside.hi, 2.71);
    EXPECT_GE(inside.major.front(), 1.03);
    EXPECT_LE(inside.major.back(), 2.71);
}

TEST(LogTicks, DecadesOneTwoFiveOrLinearValuesByTheRange) {
    struct Case {
        double lo, hi;
        int most;
        double axisLo, axisHi;
        std::vector<double> major;
        int decimals;
    };
    const Case cases[] = {
        // Four and a half decades: the decades only, widened to whole decades.
        {3.16, 3162.0, 8, 1.0, 10000.0, {1.0, 10.0, 100.0, 1000.0, 10000.0}, 0},
        {1.5, 40.0, 8, 1.0, 50.0, {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}, 0},
        // Not positive: nothing.
        {0.0, 10.0, 5, 0.0, 0.0, {}, 0},
    };
    for (const Case& c : cases) {
        const AxisTicks ticks = LogTicks(c.lo, c.hi, c.most, true);
        EXPECT_NEAR(ticks.lo, c.axisLo, 1e-15) << c.lo;
        EXPECT_NEAR(ticks.hi, c.axisHi, 1e-12) << c.lo;
        ExpectValues(ticks.major, c.major, std::to_string(c.lo));
        EXPECT_EQ(ticks.decimals, c.decimals) << c.lo;
    }
    // Labels below one show their decimals.
    const AxisTicks small = LogTicks(0.012, 30.0, 12, true);
    EXPECT_NEAR(small.lo, 0.01, 1e-15);
    EXPECT_EQ(small.decimals, 2);
    // Minor ticks on 2..9 of each decade in between.
    EXPECT_EQ(LogTicks(3.16, 3162.0, 8, true).minor.size(), 4U * 8U);
    // An SWR from 1.03 to 2.71 is under a decade: linear values, still labelled.
    const AxisTicks swr = LogTicks(1.03, 2.71, 6, true);
    EXPECT_GT(swr.lo, 0.0);
    EXPECT_LE(swr.lo, 1.03);
    EXPECT_GE(swr.hi, 2.71);
    EXPECT_GE(swr.major.size(), 3U);
}

TEST(FormatTick, DecimalsSeparatorAndSign) {
    EXPECT_EQ(FormatTick(14.2, 2, ","), "14,20");
    EXPECT_EQ(FormatTick(-0.0000001, 2, "."), "0.00");
    EXPECT_EQ(FormatTick(-2.5, 1, "."), "-2.5");
    EXPECT_EQ(FormatTick(2e6, 0, "."), "2e+06");
    EXPECT_EQ(FormatTick(1.5e-8, 8, ","), "1,5e-08");
}

} // namespace
} // namespace lobex::plotter
