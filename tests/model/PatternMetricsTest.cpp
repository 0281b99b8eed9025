#include "model/PatternMetrics.h"
#include "LoadHarness.h"
#include "core/FarField.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace lobex {
namespace {

using Field = std::optional<float> PatternMetrics::*;
using Gain = std::function<double(double zenith, double azimuth)>; // total dBi

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

// Straight lines in dB between (azimuth, gain) corners, so that every figure is exact by hand.
double Corners(double azimuth, const std::vector<std::pair<double, double>>& corners) {
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const auto [a0, g0] = corners[i - 1];
        const auto [a1, g1] = corners[i];
        if (azimuth <= a1) {
            return g0 + (g1 - g0) * (azimuth - a0) / (a1 - a0);
        }
    }
    return corners.back().second;
}

// Main lobe 10 dBi at 0°, nulls of -20 at 60, 180 and 300, side lobes 0 dBi at 120, -5 at 240;
// the elevation falls 0.25 dB a degree either side of 30°.
double ThreeLobes(double zenith, double azimuth) {
    return Corners(azimuth,
                   {{0, 10}, {60, -20}, {120, 0}, {180, -20}, {240, -5}, {300, -20}, {360, 10}}) -
           0.25 * std::fabs(60.0 - zenith);
}

struct Row {
    const char* name;
    FarFieldGrid grid;
    std::vector<std::pair<Field, std::optional<float>>> expected;
};

const std::vector<Field> kFields = {
    &PatternMetrics::front_to_back,      &PatternMetrics::front_to_rear,
    &PatternMetrics::front_to_side,      &PatternMetrics::side_lobe_level,
    &PatternMetrics::side_lobe_azimuth,  &PatternMetrics::elevation_beam_width,
    &PatternMetrics::elevation_beam_low, &PatternMetrics::elevation_beam_high,
    &PatternMetrics::average_gain,       &PatternMetrics::directivity};

// Each expected figure, by its position in kFields in the failure message.
void ExpectFigures(const PatternMetrics& metrics,
                   const std::vector<std::pair<Field, std::optional<float>>>& expected,
                   const std::string& name, float tolerance) {
    for (const auto& [field, value] : expected) {
        const std::optional<float>& got = metrics.*field;
        const auto index = std::find(kFields.begin(), kFields.end(), field) - kFields.begin();
        ASSERT_EQ(got.has_value(), value.has_value()) << name << ", figure " << index;
        if (value) {
            EXPECT_NEAR(*got, *value, tolerance) << name << ", figure " << index;
        }
    }
}

TEST(PatternMetrics, GeneratedPatternsGiveTheFiguresWorkedOutByHand) {
    const double dipole = Db(1.5);                        // 1.7609 dBi: sin² has directivity 1.5
    const double edge = std::acos(std::pow(10.0, -0.15)); // cos² e = -3 dB at 44.93°
    const double cardioidBack = 20.0 * std::log10(1.5 / 0.5);
    const double cardioidSide = 20.0 * std::log10(1.5);
    const auto F = [](double v) {
        return std::optional<float>(static_cast<float>(v));
    };
    const std::optional<float> none;
    const std::vector<Row> rows = {
        {"vertical dipole in free space",
         Generated(
             1, 180, 10,
             [&](double z, double) { return dipole + Db(std::pow(std::sin(Radians(z)), 2)); }),
         {{&PatternMetrics::front_to_back, F(0)},
          {&PatternMetrics::front_to_side, F(0)},
          {&PatternMetrics::side_lobe_level, none}, // the azimuth cut is a circle
          {&PatternMetrics::elevation_beam_low, F(-edge * 180 / std::numbers::pi)},
          {&PatternMetrics::elevation_beam_high, F(edge * 180 / std::numbers::pi)},
          {&PatternMetrics::elevation_beam_width, F(2 * edge * 180 / std::numbers::pi)},
          {&PatternMetrics::average_gain, F(0)},
          {&PatternMetrics::directivity, F(dipole)}}},
        {"cardioid over ground",
         Generated(5, 90, 5,
                   [](double z, double a) {
                       return z == 90
                                  ? -999.0
                                  : 20.0 * std::log10((1.0 + 0.5 * std::cos(Radians(a))) / 1.5) -
                                        0.25 * std::fabs(45.0 - z);
                   }),
         {{&PatternMetrics::front_to_back, F(cardioidBack)},
          {&PatternMetrics::front_to_rear, F(cardioidSide)}, // strongest at the rear's ends, ±90
          {&PatternMetrics::front_to_side, F(cardioidSide)},
          {&PatternMetrics::side_lobe_level, none},
          {&PatternMetrics::elevation_beam_low, F(33)},
          {&PatternMetrics::elevation_beam_high, F(57)},
          {&PatternMetrics::elevation_beam_width, F(24)}}},
        {"three lobes",
         Generated(5, 90, 5, ThreeLobes),
         {{&PatternMetrics::front_to_back, F(30)},
          {&PatternMetrics::front_to_rear, F(10)},
          {&PatternMetrics::front_to_side, F(20)}, // -10 at 90 beats -12.5 at 270
          {&PatternMetrics::side_lobe_level, F(-10)},
          {&PatternMetrics::side_lobe_azimuth, F(120)},
          {&PatternMetrics::elevation_beam_low, F(18)},
          {&PatternMetrics::elevation_beam_high, F(42)},
          {&PatternMetrics::elevation_beam_width, F(24)}}},
        {"isotropic in free space",
         Generated(5, 180, 10, [](double, double) { return 0.0; }),
         {{&PatternMetrics::front_to_back, F(0)},
          {&PatternMetrics::elevation_beam_width, none}, // never 3 dB down
          {&PatternMetrics::average_gain, F(0)},
          {&PatternMetrics::directivity, F(0)}}},
        {"cardioid in free space, the same at every zenith", // the 360° column counts once
         Generated(5, 180, 5,
                   [](double, double a) {
                       return 20.0 * std::log10((1.0 + 0.5 * std::cos(Radians(a))) / 1.5);
                   }),
         {{&PatternMetrics::average_gain, F(Db(0.5))}, // the mean of ((1 + cos/2) / 1.5)²
          {&PatternMetrics::directivity, F(-Db(0.5))}}},
        {"isotropic over perfect ground, twice the power upwards",
         Generated(5, 90, 10, [](double, double) { return Db(2.0); }),
         {{&PatternMetrics::average_gain, F(0)}, {&PatternMetrics::directivity, F(Db(2.0))}}},
        {"zenith 0-85: not the whole sphere",
         Generated(5, 85, 10, [](double, double) { return 0.0; }),
         {{&PatternMetrics::average_gain, none}, {&PatternMetrics::directivity, none}}},
        {"nothing behind, nothing below 20°",
         Generated(5, 90, 10,
                   [](double z, double a) {
                       return (a > 80 && a < 280) || z >= 70 ? -999.0
                                                             : 5.0 - 0.25 * std::fabs(60.0 - z);
                   }),
         {{&PatternMetrics::front_to_back, none}, // never a 1000 dB ratio
          {&PatternMetrics::front_to_rear, none},
          {&PatternMetrics::front_to_side, none},
          {&PatternMetrics::elevation_beam_low, none},
          {&PatternMetrics::elevation_beam_high, F(42)},
          {&PatternMetrics::elevation_beam_width, none}}},
        {"no radiation at all",
         Generated(10, 90, 10, [](double, double) { return -999.0; }),
         {{&PatternMetrics::front_to_back, none}, {&PatternMetrics::average_gain, none}}},
    };
    for (const Row& row : rows) {
        // the dipole's cos² edges, straight in dB between 1° points, are off by 0.001° each
        ExpectFigures(MeasurePattern({row.grid, {}}), row.expected, row.name, 3e-3f);
    }
    const PatternMetrics nothing = MeasurePattern({rows.back().grid, {}});
    for (const Field field : kFields) {
        EXPECT_FALSE(nothing.*field);
    }
}

TEST(PatternMetrics, CorpusLazyHAgreesWithAReadingByHand) {
    struct CorpusRow {
        const char* file;
        std::vector<std::pair<Field, std::optional<float>>> expected;
    };
    // Worked out from the CSV with a short script of its own; the maximum is 9.22 dBi at
    // azimuth 0, elevation 22 (1° file) and 9.11 dBi at 0, 20 (10° file).
    const std::vector<CorpusRow> rows = {
        {"APET_LazyH-16m_1deg.csv",
         {{&PatternMetrics::front_to_back, 0.0f},
          {&PatternMetrics::front_to_rear, 0.0f},
          {&PatternMetrics::front_to_side, 15.28f},
          {&PatternMetrics::side_lobe_level, 0.0f}, // the Lazy-H's back lobe
          {&PatternMetrics::side_lobe_azimuth, 180.0f},
          {&PatternMetrics::elevation_beam_low, 10.861538f},
          {&PatternMetrics::elevation_beam_high, 36.106383f},
          {&PatternMetrics::elevation_beam_width, 25.244845f},
          {&PatternMetrics::average_gain, std::nullopt}}}, // zenith 90 is missing
        {"APET_LazyH-16m2_10deg.csv",
         {{&PatternMetrics::front_to_side, 16.33f},
          {&PatternMetrics::elevation_beam_low, 11.304348f},
          {&PatternMetrics::elevation_beam_high, 35.301205f},
          {&PatternMetrics::average_gain, -0.678815f}, // real ground takes its share
          {&PatternMetrics::directivity, 9.788815f}}},
    };
    for (const CorpusRow& row : rows) {
        const std::string text = test::ReadBytes(test::CorpusFolder() / "farfield_csv" / row.file);
        const Parsed<FarFieldPattern> parsed = ParseFarField(text);
        ASSERT_TRUE(parsed.result) << row.file;
        // float sums of 2-decimal gains
        ExpectFigures(MeasurePattern(*parsed.result), row.expected, row.file, 1e-4f);
    }
}

} // namespace
} // namespace lobex
