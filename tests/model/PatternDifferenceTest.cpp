#include "model/PatternDifference.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

// Azimuths `azimuths`, zeniths `zeniths`, total gain `gain(azimuth, zenith)`.
template <class Gain>
FarFieldGrid Grid(std::vector<float> azimuths, std::vector<float> zeniths, Gain gain) {
    FarFieldGrid grid;
    for (float azimuth : azimuths) {
        AzimuthColumn column{azimuth, {}};
        for (float zenith : zeniths) {
            const float g = gain(azimuth, zenith);
            column.Points.push_back({zenith, g, g, g});
        }
        grid.push_back(std::move(column));
    }
    return grid;
}

TEST(PatternDifference, TakesCommonAnglesInFirstOrderAndFloorsNulls) {
    // A on a 10° grid, B on a 5° grid rotated to start elsewhere: only A's angles both hold.
    const FarFieldGrid a = Grid({0, 10, 20}, {0, 10, 90}, [](float az, float) { return az; });
    const FarFieldGrid b = Grid({15, 20, 5, 10, 0}, {90, 45, 10, 0},
                                [](float az, float z) { return z == 90 ? -999.0f : az + 1.0f; });
    const Checked<DifferenceGrid> d = DifferenceOf(a, b);
    ASSERT_TRUE(d);
    ASSERT_EQ(d.value->size(), 3u);
    for (const DifferenceColumn& column : *d.value) {
        ASSERT_EQ(column.Points.size(), 3u) << column.Azimuth;
        EXPECT_FLOAT_EQ(column.Points[0].difference.Total, 1.0f);
        // -999 counts as the floor, not as a 1000 dB change.
        EXPECT_FLOAT_EQ(column.Points[2].difference.Total, -100.0f - column.Azimuth);
    }
    EXPECT_FLOAT_EQ(LargestDifference(*d.value), 120.0f);
}

TEST(PatternDifference, RefusesGridsWithoutCommonAngles) {
    const FarFieldGrid a = Grid({0, 10}, {0, 10}, [](float, float) { return 0.0f; });
    const FarFieldGrid b = Grid({5, 15}, {0, 10}, [](float, float) { return 0.0f; });
    const Checked<DifferenceGrid> d = DifferenceOf(a, b);
    EXPECT_FALSE(d);
    EXPECT_EQ(d.rejection.text, kNoCommonAngles);
    FarFieldGrid ragged = a;
    ragged[1].Points.pop_back();
    EXPECT_EQ(DifferenceOf(ragged, a).rejection.text, kIrregularPattern);

    const PatternCut cutA{{{0, {}}, {10, {}}}, true};
    const PatternCut cutB{{{5, {}}}, true};
    EXPECT_FALSE(DifferenceOf(cutA, cutB));
    EXPECT_EQ(DifferenceOf(cutA, cutA).value->size(), 2u);
}

} // namespace
} // namespace lobex
