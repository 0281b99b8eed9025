#include "model/PatternMetrics.h"
#include "LoadHarness.h"
#include "core/FarField.h"
#include "model/PatternDifference.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace lobex {
namespace {

using Gain = std::function<double(double zenith, double azimuth)>; // total dBi

// In the tables: a figure not checked, and a figure that must be none.
constexpr float X = std::numeric_limits<float>::quiet_NaN();
constexpr float N = -std::numeric_limits<float>::infinity();

// F/B, F/R, F/S, side lobe level and azimuth, elevation beam width, low and high, average
// gain, directivity.
using Figures = std::array<float, 10>;

void ExpectFigures(const PatternMetrics& m, const Figures& expected, const std::string& name,
                   float tolerance) {
    const std::array<std::optional<float>, 10> got = {
        m.front_to_back,     m.front_to_rear,        m.front_to_side,      m.side_lobe_level,
        m.side_lobe_azimuth, m.elevation_beam_width, m.elevation_beam_low, m.elevation_beam_high,
        m.average_gain,      m.directivity};
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(expected[i])) {
            continue;
        }
        ASSERT_EQ(got[i].has_value(), expected[i] != N) << name << ", figure " << i;
        if (got[i]) {
            EXPECT_NEAR(*got[i], expected[i], tolerance) << name << ", figure " << i;
        }
    }
}

// A grid closed at 360 as the reader leaves it; MMANA writes -999 where nothing radiates.
FarFieldGrid Generated(double zenithStep, double zenithLast, double azimuthStep, const Gain& gain) {
    FarFieldGrid grid;
    for (double a = 0; a <= 360.0 + 1e-9; a += azimuthStep) {
        AzimuthColumn& column = grid.emplace_back();
        column.Azimuth = static_cast<float>(a);
        for (double z = 0; z <= zenithLast + 1e-9; z += zenithStep) {
            const double g = std::max(gain(z, a), -999.0);
            column.Points.push_back({static_cast<float>(z), 0.0f, 0.0f, static_cast<float>(g)});
        }
    }
    return grid;
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double Db(double linear) {
    return linear > 0.0 ? 10.0 * std::log10(linear) : -999.0;
}

// Power ((1 + cos/2) / 1.5)²: 9.54 dB down at the back, 3.52 at the sides, mean 0.5.
double Cardioid(double azimuth) {
    return 20.0 * std::log10((1.0 + 0.5 * std::cos(Radians(azimuth))) / 1.5);
}

// Straight lines in dB between the corners: main lobe 10 dBi at 0°, nulls of -20 at 60, 180
// and 300, side lobes 0 dBi at 120 and -5 at 240.
double ThreeLobes(double azimuth) {
    const std::vector<std::pair<double, double>> corners = {
        {0, 10}, {60, -20}, {120, 0}, {180, -20}, {240, -5}, {300, -20}, {360, 10}};
    std::size_t i = 1;
    while (azimuth > corners[i].first) {
        ++i;
    }
    const auto [a0, g0] = corners[i - 1];
    const auto [a1, g1] = corners[i];
    return g0 + (g1 - g0) * (azimuth - a0) / (a1 - a0);
}

TEST(PatternMetrics, GeneratedPatternsGiveTheFiguresWorkedOutByHand) {
    const float dipole = static_cast<float>(Db(1.5)); // sin² has directivity 1.5: 1.7609 dBi
    const float edge =
        static_cast<float>(std::acos(std::pow(10.0, -0.15)) * 180 / std::numbers::pi);
    const float back = 9.5424251f, side = 3.5218252f, twice = static_cast<float>(Db(2.0));
    // Gains falling 0.25 dB a degree from an elevation: the -3 dB points 12° either side.
    const auto fall = [](double zenith, double peak) {
        return -0.25 * std::fabs(90.0 - zenith - peak);
    };
    struct Row {
        const char* name;
        FarFieldGrid grid;
        Figures expected;
    };
    const std::vector<Row> rows = {
        {"vertical dipole in free space", // elevation cut cos² e, -3 dB at ±44.93°
         Generated(
             1, 180, 10,
             [&](double z, double) { return dipole + Db(std::pow(std::sin(Radians(z)), 2)); }),
         {0, 0, 0, N, N, 2 * edge, -edge, edge, 0, dipole}},
        {"cardioid over ground, strongest at 45°", // the rear is strongest at its ends, ±90
         Generated(5, 90, 5,
                   [&](double z, double a) { return z == 90 ? -999 : Cardioid(a) + fall(z, 45); }),
         {back, side, side, N, N, 24, 33, 57, X, X}},
        {"three lobes at 30° elevation", // F/S from -10 at 90, not -12.5 at 270
         Generated(5, 90, 5, [&](double z, double a) { return ThreeLobes(a) + fall(z, 30); }),
         {30, 10, 20, -10, 120, 24, 18, 42, X, X}},
        // The 360° column counts once; the cut falls at once past the zenith, onto the back.
        {"cardioid in free space, the same at every zenith",
         Generated(5, 180, 5, [&](double, double a) { return Cardioid(a); }),
         {back, side, side, N, N, N, N, 90 + 5 * 3 / back, static_cast<float>(Db(0.5)),
          static_cast<float>(-Db(0.5))}},
        {"isotropic in free space",
         Generated(5, 180, 10, [](double, double) { return 0.0; }),
         {0, 0, 0, N, N, N, N, N, 0, 0}},
        {"isotropic over perfect ground, twice the power upwards",
         Generated(5, 90, 10, [&](double, double) { return twice; }),
         {X, X, X, X, X, X, X, X, 0, twice}},
        {"zenith 0-85, not the whole sphere",
         Generated(5, 85, 10, [](double, double) { return 0.0; }),
         {X, X, X, X, X, X, X, X, N, N}},
        {"nothing behind, nothing below 20°", // never a 1000 dB ratio
         Generated(5, 90, 10,
                   [&](double z, double a) {
                       return (a > 80 && a < 280) || z >= 70 ? -999 : 5 + fall(z, 30);
                   }),
         {N, N, N, X, X, N, N, 42, X, X}},
        {"no radiation at all",
         Generated(10, 90, 10, [](double, double) { return -999.0; }),
         {N, N, N, N, N, N, N, N, N, N}},
    };
    for (const Row& row : rows) {
        // the dipole's cos² edges, straight in dB between 1° points, are off by 0.001° each
        ExpectFigures(
            MeasurePattern({row.grid, MaximumAndBeam(row.grid).value_or(PatternFigures{})}),
            row.expected, row.name, 3e-3f);
    }
}

TEST(PatternMetrics, CorpusLazyHAgreesWithAReadingByHand) {
    // Worked out from the CSV by a short script of its own. The maximum is 9.22 dBi at azimuth
    // 0, elevation 22 (1° file; its zenith 90 is missing, so no average) and 9.11 dBi at 0, 20
    // (10° file); the Lazy-H's back lobe is its side lobe.
    const std::vector<std::pair<const char*, Figures>> rows = {
        {"APET_LazyH-16m_1deg.csv",
         {0, 0, 15.28f, 0, 180, 25.244845f, 10.861538f, 36.106383f, N, N}},
        {"APET_LazyH-16m2_10deg.csv",
         {0, 0, 16.33f, 0, 180, 23.996857f, 11.304348f, 35.301205f, -0.678815f, 9.788815f}},
    };
    for (const auto& [file, expected] : rows) {
        const Parsed<FarFieldPattern> parsed =
            ParseFarField(test::ReadBytes(test::CorpusFolder() / "farfield_csv" / file));
        ASSERT_TRUE(parsed.result) << file;
        ExpectFigures(MeasurePattern(*parsed.result), expected, file,
                      1e-4f); // float sums of 2-decimal gains
    }
}

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

TEST(PatternDifference, TakesCommonAnglesInFirstOrderFloorsNullsAndRefusesOtherGrids) {
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

    // Grids or cuts without common angles, and a grid whose columns differ, are refused.
    const Checked<DifferenceGrid> apart =
        DifferenceOf(a, Grid({5, 15}, {0, 10}, [](float, float) { return 0.0f; }));
    EXPECT_FALSE(apart);
    EXPECT_EQ(apart.rejection.text, kNoCommonAngles);
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
