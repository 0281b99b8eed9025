#include "graphs/CursorReadout.h"
#include "FakePlotApi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <optional>

namespace lobex {
namespace {

using test::Metrics;

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
    // Angles in the middle of each diagram are checked against drawings in PlotRenderTest;
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
}

TEST(ReadoutText, DecimalsSeparatorGreekLettersAndTheDegreeSign) {
    EXPECT_EQ(RectangularXText(3.14159, "."), "X=3.142");
    EXPECT_EQ(RectangularXText(2.0, "."), "X=2.00");
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
    const double infinite = std::numeric_limits<double>::infinity();
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
    const SmithReadout match = ReadSmith(m, chart, 200.0, 150.0);
    EXPECT_EQ(match.returnLoss, infinite);
    const auto same = [](std::string_view text) {
        return std::string(text);
    };
    EXPECT_EQ(SmithPointText(chart, ReadSmith(m, chart, 166.0, 152.0), ",", same),
              "14,000 MHz: R=25,0 jX=0,0 КСВ=2,00 Возвр. потери=9,5 dB");
    EXPECT_EQ(SmithImpedanceText({25.0, -6.5}, ",", same), "Z=25,0-j6,5 Ом");
}

} // namespace
} // namespace lobex
