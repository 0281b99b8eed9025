#include "graphs/CurveReading.h"
#include "FakePlotApi.h"
#include "core/SweepFile.h"
#include "graphs/CompareFigures.h"
#include "graphs/CursorReadout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace lobex {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using test::Metrics;

TEST(ValueAt, InterpolatesBetweenNeighboursWhicheverWayXRuns) {
    struct Case {
        const char* what;
        std::vector<float> xs, ys;
        double x;
        std::optional<double> value;
    };
    const std::vector<Case> cases = {
        {"on a point", {1, 2, 3}, {10, 20, 40}, 2.0, 20.0},
        {"between points", {1, 2, 3}, {10, 20, 40}, 2.25, 25.0},
        {"last point", {1, 2, 3}, {10, 20, 40}, 3.0, 40.0},
        {"descending X", {3, 2, 1}, {40, 20, 10}, 1.5, 15.0},
        {"left of the curve", {1, 2, 3}, {10, 20, 40}, 0.99, std::nullopt},
        {"next to a gap", {1, 2, 3}, {10, kNaN, 40}, 2.5, std::nullopt},
        {"doubling back takes the first pass", {0, 2, 0}, {0, 2, 10}, 1.0, 1.0},
        {"one point", {5}, {7}, 5.0, 7.0},
        {"no points", {}, {}, 0.0, std::nullopt},
        {"more X than Y", {1, 2, 3}, {10, 20}, 2.5, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> value = ValueAt(c.xs, c.ys, c.x);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << c.what;
        if (value) {
            EXPECT_NEAR(*value, *c.value, 1e-9) << c.what;
        }
    }
}

TEST(SweepMarks, LowestSwrAndEveryReactanceZeroInterpolated) {
    struct Case {
        const char* what;
        std::vector<float> f, swr, jx;
        std::optional<CurvePoint> minimum;
        std::vector<double> resonances;
    };
    const std::vector<Case> cases = {
        {"one resonance between rows",
         {14.0f, 14.1f, 14.2f, 14.3f},
         {2.0f, 1.2f, 1.1f, 1.6f},
         {-30.0f, -10.0f, 10.0f, 40.0f},
         CurvePoint{14.2, 1.1},
         {14.15}},
        {"a row on zero counts once", {1, 2, 3}, {3, 2, 1}, {-5, 0, 5}, CurvePoint{3, 1}, {2.0}},
        {"two resonances, falling and rising",
         {1, 2, 3, 4},
         {1.5f, 1.5f, 2, 3},
         {10, -30, -10, 30},
         CurvePoint{1, 1.5},
         {1.25, 3.25}},
        {"touching zero at the end", {1, 2}, {2, kNaN}, {-1, 0}, CurvePoint{1, 2}, {2.0}},
        {"a flat stretch on zero is one resonance",
         {1, 2, 3, 4},
         {4, 3, 2, 1},
         {-1, 0, 0, 1},
         CurvePoint{4, 1},
         {2.0}},
        {"never crossing, gaps skipped",
         {1, 2, 3},
         {kNaN, kNaN, kNaN},
         {5, kNaN, -5},
         std::nullopt,
         {}},
    };
    for (const Case& c : cases) {
        const SweepMarks marks = FindSweepMarks(c.f, c.swr, c.jx);
        ASSERT_EQ(marks.swrMinimum.has_value(), c.minimum.has_value()) << c.what;
        if (marks.swrMinimum) {
            EXPECT_NEAR(marks.swrMinimum->x, c.minimum->x, 1e-6) << c.what;
            EXPECT_NEAR(marks.swrMinimum->y, c.minimum->y, 1e-6) << c.what;
        }
        ASSERT_EQ(marks.resonances.size(), c.resonances.size()) << c.what;
        for (std::size_t i = 0; i < c.resonances.size(); ++i) {
            EXPECT_NEAR(marks.resonances[i], c.resonances[i], 1e-5) << c.what;
        }
    }
}

// The file's SWR is rounded: rows that tie there are told apart by the SWR of R and jX against
// the line impedance the header names. The mark keeps the file's value, so it sits on the curve.
TEST(SweepMarks, TheSwrMinimumFollowsRAndJxWhereTheRoundedSwrTies) {
    const std::vector<float> f{14.12f, 14.16f, 14.20f, 14.24f};
    const std::vector<float> swr{1.18f, 1.04f, 1.04f, 1.12f};
    const std::vector<float> r{45.0f, 48.0f, 49.0f, 46.5f};
    const std::vector<float> jx{-6.0f, -1.2f, 1.5f, 4.0f};
    struct Case {
        const char* header;
        std::complex<double> z0;
        double at;
    };
    const Case cases[] = {
        {"SWR(50.0Om)", {50.0, 0.0}, 14.20},    {"SWR(75.0\u03a9)", {75.0, 0.0}, 14.20},
        {"SWR(14.150MHz)", {50.0, 0.0}, 14.20}, {"SWR(50.0+j5.0Om)", {50.0, 5.0}, 14.20},
        {"SWR(50-j5Om)", {50.0, -5.0}, 14.16},  {"SWR", {50.0, 0.0}, 14.20},
    };
    for (const Case& c : cases) {
        const std::complex<double> z0 = LineImpedanceOf(c.header);
        EXPECT_EQ(z0, c.z0) << c.header;
        const SweepMarks marks = FindSweepMarks(f, swr, jx, r, z0);
        ASSERT_TRUE(marks.swrMinimum) << c.header;
        EXPECT_NEAR(marks.swrMinimum->x, c.at, 1e-6) << c.header;
    }
    // A pure reactance has no finite SWR to compare (its value is the model's).
    EXPECT_FALSE(SwrOf({0.0, 30.0}, kDefaultLineImpedance));
}

TEST(CurveReadout, EachCurveReadsAtThePointersXWhateverItsHeight) {
    const PlotMetrics m = Metrics(100, 50, 500, 450, 14.0f, 0.0f, 14.4f, 4.0f);
    DrawnCurves drawn;
    drawn.x = {14.0f, 14.1f, 14.2f, 14.3f, 14.4f};
    drawn.curves = {{"КСВ", 3, {3.0f, 2.0f, 1.2f, 1.5f, 2.5f}},
                    {"j X", 2, {-40.0f, -20.0f, 0.0f, 20.0f, kNaN}}};
    // 14.15 MHz lies at column 250; the pointer's height does not matter.
    for (const double row : {60.0, 250.0, 440.0}) {
        const CurveValues read = ReadCurves(m, drawn, 250.0, row, false, false);
        ASSERT_TRUE(read.inside);
        EXPECT_NEAR(read.x, 14.15, 1e-5);
        ASSERT_EQ(read.values.size(), 2U);
        EXPECT_NEAR(read.values[0].value(), 1.6, 1e-4);
        EXPECT_NEAR(read.values[1].value(), -10.0, 1e-3);
    }
    // Where a curve has a gap it reads nothing; outside the frame nothing is read at all.
    const CurveValues gap = ReadCurves(m, drawn, 480.0, 200.0, false, false);
    ASSERT_TRUE(gap.inside);
    EXPECT_TRUE(gap.values[0].has_value());
    EXPECT_FALSE(gap.values[1].has_value());
    EXPECT_FALSE(ReadCurves(m, drawn, 99.0, 200.0, false, false).inside);
    // No pixel for a value a log axis cannot show, nor on a frame of no width.
    EXPECT_FALSE(ColumnOf(Metrics(0, 0, 100, 100, 1, 1, 100, 100), 0.0, true));
    EXPECT_FALSE(ColumnOf(Metrics(5, 0, 5, 100, 0, 0, 1, 1), 0.5, false));

    EXPECT_EQ(CurveValueText("КСВ", 1.6, ","), "КСВ=1,60");
    EXPECT_EQ(CurveValueText("j X", -3.14159, "."), "j X=-3.1416");
    EXPECT_EQ(SwrMinimumText(1.054, ","), "КСВ мин. 1,05");
    EXPECT_EQ(ResonanceText(14.1754, "."), "Резонанс 14.175");
    EXPECT_EQ(RectangularXText(3.14159, "."), "X=3.142");
    EXPECT_EQ(RectangularXText(2.0, "."), "X=2.00");
}

Sweep Through(float resonance) {
    // 50 Ω with jX crossing zero at the resonance: a perfect match there.
    Sweep sweep;
    sweep.header = {"Freq", "R", "jX", "SWR(50.0Om)", "Ga", "F/B"};
    for (int i = 0; i <= 10; ++i) {
        const float f = 14.0f + 0.05f * static_cast<float>(i);
        sweep.points.push_back({f, {50.0f, 100.0f * (f - resonance)}});
    }
    return sweep;
}

// Two sweeps side by side: each row's lowest SWR at the chosen Z0, where it is, the band it
// lies in and the resonance, and the later one's difference to the first.
TEST(ImpedanceCompareRows, SweepsAtTheChosenReference) {
    AppState state;
    LoadRequest request;
    state.Loaded.Data = DeriveLoad(Through(14.1f), request).data;
    state.Compare.ShownLabel = "a.csv";
    state.Compare.Results.push_back({"b.csv", std::make_shared<const Result>(Through(14.3f))});
    const std::vector<CompareRow> rows = ImpedanceCompareRows(state, {50.0, 0.0}, 2.0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].label, "a.csv");
    // The band runs from the sweep's start to where |jX| reaches 35.4 Ω (SWR 2), interpolated.
    EXPECT_EQ(rows[0].figures, (std::array<std::string, 4>{"1.00", "14.100", "0.453", "14.100"}));
    EXPECT_EQ(rows[1].figures, (std::array<std::string, 4>{"1.00", "14.300", "0.500", "14.300"}));
    EXPECT_EQ(rows[1].differences,
              (std::array<std::string, 4>{"+0.00", "+0.200", "+0.047", "+0.200"}));
    EXPECT_TRUE(rows[0].differences[0].empty());
    // None to compare, or a far field on show: no rows.
    state.Compare.Results.clear();
    EXPECT_TRUE(ImpedanceCompareRows(state, {50.0, 0.0}, 2.0).empty());
}

// A polar picture with its plotting square from (40, 20) to (440, 420): the drawn circle is
// centred on (241.5, 221.5) and reaches radius 1 at 200 pixels.
TEST(PolarReadout, AnglesOfEachDiagramAndTheGainOnTheFourthPowerScale) {
    const PlotMetrics m = Metrics(40, 20, 440, 420, 0.0f, 0.0f, 360.0f, 1.0f);
    const auto at = [&m](double px, double py, int area) {
        return ReadPolar(m, px, py, area, 70.0f, -60.0f, 3.14159274f);
    };
    struct Case {
        double px, py;
        int area; // 1 azimuth: clockwise from the top; 2 elevation: counter-clockwise from the
                  // right
        bool inside;
        double angle, tolerance;
    };
    // Angles in the middle of each diagram are checked against drawings in PlotEngineTest;
    // here the edges of what is read.
    const Case cases[] = {
        {241.5, 21.5, 1, true, 0.0, 1e-4},
        // The lowest row read lies 1.5 pixels above the drawn centre: under half a degree.
        {431.5, 220, 2, true, 0.0, 0.5},
        // The elevation diagram shows the upper half only, down to the centre row.
        {241.5, 220, 2, true, 90.0, 1e-4},
        {241.5, 221, 2, false, 0, 0},
        {41, 21, 1, false, 0, 0}, // outside the circle
    };
    for (const Case& c : cases) {
        const PolarReadout r = at(c.px, c.py, c.area);
        EXPECT_EQ(r.inside, c.inside) << c.px << "," << c.py << " area " << c.area;
        if (c.inside) {
            EXPECT_NEAR(r.angle, c.angle, c.tolerance) << c.px << "," << c.py;
        }
    }
    EXPECT_NEAR(at(241.5, 221.5, 1).gain, -60.0, 1e-9);
    EXPECT_NEAR(at(241.5, 21.5, 1).gain, 10.0, 1e-6); // PlotRange 70 - 60
    // Radius 0.5 on the fourth-power scale: 0.5^0.25 of the range above the floor.
    EXPECT_NEAR(at(341.5, 221.5, 1).gain, std::pow(0.5, 0.25) * 70.0 - 60.0, 1e-6);
    // The texts: decimals, separator, the Greek letter of each angle and the degree sign.
    EXPECT_EQ(PolarGainText(7.349, ","), "η= 7,35");
    EXPECT_EQ(PolarGainText(-60.0, "."), "η= -60.0");
    EXPECT_EQ(PolarAngleText(90.04, 1, "."), "φ= 90.0°");
    EXPECT_EQ(PolarAngleText(12.25, 2, ","), "θ= 12,3°");
}

// A Smith chart's square from (100, 50) to (300, 250): Γ = 0 at (200, 150), |Γ| = 1 at 100
// pixels. Against 50 ohms, 25 ohms is Γ = -1/3 (pixel 166.7, 150) and 100 + j50 is
// Γ = 0.4 + j0.2 (pixel 240, 130).
TEST(SmithReadout, ImpedanceUnderThePointerAndTheNearestSweepPoint) {
    const PlotMetrics m = Metrics(100, 50, 300, 250, -1.0f, -1.0f, 1.0f, 1.0f);
    DrawnSmith chart;
    chart.sweeps = {
        {"a.csv", {14.0f, 14.1f, 14.2f}, {{25.0f, 0.0f}, {50.0f, 0.0f}, {100.0f, 50.0f}}}};
    struct Case {
        double px, py;
        bool inside;
        bool finite;                           // an impedance under the pointer
        std::optional<std::complex<double>> z; // and which
        std::size_t nearest;
        double swr;
    };
    const Case cases[] = {
        {200.0, 150.0, true, true, std::complex<double>(50.0, 0.0), 1, 1.0},
        {166.0, 152.0, true, true, std::nullopt, 0, 2.0},
        {238.0, 131.0, true, true, std::nullopt, 2, 2.618},  // |Γ| = 0.447
        {300.0, 150.0, true, false, std::nullopt, 2, 2.618}, // the open circuit
        {299.0, 52.0, false, false, std::nullopt, 0, 1.0},   // in the square, outside the rim
    };
    for (const Case& c : cases) {
        const SmithReadout read = ReadSmith(m, chart, c.px, c.py);
        SCOPED_TRACE(testing::Message() << c.px << ", " << c.py);
        EXPECT_EQ(read.inside, c.inside);
        if (!c.inside) {
            continue;
        }
        if (c.z) {
            ASSERT_TRUE(read.impedance);
            EXPECT_NEAR(std::abs(*read.impedance - *c.z), 0.0, 1e-6);
        }
        EXPECT_EQ(read.impedance.has_value(), c.finite);
        EXPECT_EQ(read.point, c.nearest);
        EXPECT_NEAR(read.swr, c.swr, 1e-3);
    }
    // The match itself reads an infinite return loss; the text says so.
    EXPECT_EQ(ReadSmith(m, chart, 200.0, 150.0).returnLoss,
              std::numeric_limits<double>::infinity());
    const auto same = [](std::string_view text) {
        return std::string(text);
    };
    EXPECT_EQ(SmithPointText(chart, ReadSmith(m, chart, 166.0, 152.0), ",", same),
              "14,000 MHz: R=25,0 jX=0,0 КСВ=2,00 Возвр. потери=9,5 dB");
    EXPECT_EQ(SmithImpedanceText({25.0, -6.5}, ",", same), "Z=25,0-j6,5 Ом");
}

} // namespace
} // namespace lobex
