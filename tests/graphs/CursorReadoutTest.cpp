#include "graphs/CursorReadout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

PlotMetrics Metrics(int left, int top, int right, int bottom, float xLo, float yLo, float xHi,
                    float yHi) {
    PlotMetrics m;
    m.Left = left;
    m.Top = top;
    m.Right = right;
    m.Bottom = bottom;
    m.XLo = xLo;
    m.YLo = yLo;
    m.XHi = xHi;
    m.YHi = yHi;
    return m;
}

TEST(RectangularReadout, EdgesReadAndOnePixelBeyondDoesNot) {
    const PlotMetrics m = Metrics(50, 30, 650, 430, 0.0f, -5.0f, 10.0f, 5.0f);
    struct Case {
        double px, py;
        bool inside;
        double x, y;
    };
    const Case cases[] = {
        {50, 430, true, 0.0, -5.0}, {650, 30, true, 10.0, 5.0}, {350, 230, true, 5.0, 0.0},
        {49, 200, false, 0, 0},     {651, 30, false, 0, 0},     {100, 431, false, 0, 0},
        {100, 29, false, 0, 0},
    };
    for (const Case& c : cases) {
        const RectangularReadout r = ReadRectangular(m, c.px, c.py, false, false);
        EXPECT_EQ(r.inside, c.inside) << c.px << "," << c.py;
        if (c.inside) {
            EXPECT_NEAR(r.x, c.x, 1e-9);
            EXPECT_NEAR(r.y, c.y, 1e-9);
        }
    }
}

TEST(RectangularReadout, LogAxesReadGeometrically) {
    const PlotMetrics m = Metrics(0, 0, 200, 100, 1.0f, 0.1f, 100.0f, 1000.0f);
    const RectangularReadout r = ReadRectangular(m, 100, 50, true, true);
    ASSERT_TRUE(r.inside);
    EXPECT_NEAR(r.x, 10.0, 1e-9);
    EXPECT_NEAR(r.y, 10.0, 1e-6);
    EXPECT_EQ(RectangularXText(3.14159, "."), "X=3.142");
    EXPECT_EQ(RectangularYText(-3.14159, ","), "Y=-3,1416");
    EXPECT_EQ(RectangularXText(2.0, "."), "X=2.00");
}

// A polar picture with its plotting square from (40, 20) to (440, 420): the drawn circle is
// centred on (241.5, 221.5) and reaches radius 1 at 200 pixels.
class PolarReadoutTest : public ::testing::Test {
protected:
    PolarReadout At(double px, double py, int area) const {
        return ReadPolar(metrics, px, py, area, 70.0f, -60.0f, 3.14159274f);
    }
    PlotMetrics metrics = Metrics(40, 20, 440, 420, 0.0f, 0.0f, 360.0f, 1.0f);
};

TEST_F(PolarReadoutTest, AzimuthReadsClockwiseFromTheTop) {
    const std::pair<std::pair<double, double>, double> cases[] = {
        {{241.5, 121.5}, 0.0},   {{341.5, 221.5}, 90.0}, {{241.5, 321.5}, 180.0},
        {{141.5, 221.5}, 270.0}, {{241.5, 21.5}, 0.0},
    };
    for (const auto& [point, angle] : cases) {
        const PolarReadout r = At(point.first, point.second, 1);
        ASSERT_TRUE(r.inside) << point.first << "," << point.second;
        EXPECT_NEAR(r.angle, angle, 1e-4);
    }
}

TEST_F(PolarReadoutTest, ElevationReadsCounterClockwiseFromTheRightOnTheUpperHalfOnly) {
    // The lowest row read lies 1.5 pixels above the drawn centre: near the rim that is under
    // half a degree.
    EXPECT_NEAR(At(431.5, 220, 2).angle, 0.0, 0.5);
    EXPECT_NEAR(At(241.5, 121.5, 2).angle, 90.0, 1e-4);
    EXPECT_NEAR(At(51.5, 220, 2).angle, 180.0, 0.5);
    EXPECT_TRUE(At(241.5, 220, 2).inside);    // the centre row (integer halves) still reads
    EXPECT_FALSE(At(241.5, 221, 2).inside);   // just below it, nothing
    EXPECT_FALSE(At(241.5, 321.5, 2).inside); // the lower half
    EXPECT_TRUE(At(241.5, 321.5, 1).inside);  // which the azimuth diagram does read
}

TEST_F(PolarReadoutTest, GainRunsFromTheFloorAtTheCentreToTheTopOnTheCircle) {
    EXPECT_NEAR(At(241.5, 221.5, 1).gain, -60.0, 1e-9);
    EXPECT_NEAR(At(241.5, 21.5, 1).gain, 10.0, 1e-6); // PlotRange 70 - 60
    // Radius 0.5 on the fourth-power scale: 0.5^0.25 of the range above the floor.
    EXPECT_NEAR(At(341.5, 221.5, 1).gain, std::pow(0.5, 0.25) * 70.0 - 60.0, 1e-6);
    EXPECT_FALSE(At(41, 21, 1).inside);    // a corner of the square, outside the circle
    EXPECT_FALSE(At(39, 221.5, 1).inside); // left of the plotting square
}

TEST(PolarReadoutText, UsesGreekLettersAndTheDegreeSign) {
    EXPECT_EQ(PolarGainText(7.349, ","), "η= 7,35");
    EXPECT_EQ(PolarGainText(-60.0, "."), "η= -60.0");
    EXPECT_EQ(PolarAngleText(90.04, 1, "."), "φ= 90.0°");
    EXPECT_EQ(PolarAngleText(12.25, 2, ","), "θ= 12,3°");
}

} // namespace
} // namespace lobex
