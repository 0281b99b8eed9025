#include "graphs/CursorReadout.h"
#include "FakePlotApi.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
} // namespace lobex
