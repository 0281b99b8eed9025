#include "plotter/PlotMapping.h"
#include "ReadOut.h"
#include "plotter/PlotDocument.h"

#include <gtest/gtest.h>

namespace lobex::plotter {
namespace {

using test::PolarReadOut;
using test::RectangularReadOut;

TEST(PlotMapping, RectangularReadOutInvertsTheMapping) {
    struct Case {
        AxisRange x, y;
    };
    const std::vector<Case> cases = {
        {{13.9, 14.5, false}, {1.0, 2.8, false}},
        {{1.0, 10000.0, true}, {1.0, 100000.0, true}},
        {{-180.0, 180.0, false}, {0.01, 20.0, true}},
    };
    for (const Case& c : cases) {
        const PlotMapping m = PlotMapping::Rectangular(57, 31, 771, 452, c.x, c.y, c.y);
        const PlotMetrics metrics = m.Metrics();
        // The axes as drawn: their limits rounded to 32-bit floats, as the metrics carry them.
        const AxisRange& ax = m.X();
        const AxisRange& ay = m.Y();
        for (const double fx : {0.0, 0.13, 0.5, 0.77, 1.0}) {
            for (const double fy : {0.0, 0.31, 0.5, 1.0}) {
                const double x =
                    ax.log ? ax.lo * std::pow(ax.hi / ax.lo, fx) : ax.lo + (ax.hi - ax.lo) * fx;
                const double y =
                    ay.log ? ay.lo * std::pow(ay.hi / ay.lo, fy) : ay.lo + (ay.hi - ay.lo) * fy;
                QPointF pixel;
                ASSERT_TRUE(m.ToPixel(x, y, false, pixel));
                const auto read =
                    RectangularReadOut(metrics, pixel.x(), pixel.y(), c.x.log, c.y.log);
                EXPECT_NEAR(read.x, x, std::abs(x) * 1e-9 + 1e-9);
                EXPECT_NEAR(read.y, y, std::abs(y) * 1e-9 + 1e-9);
                const QPointF back = m.FromPixel(pixel);
                EXPECT_NEAR(back.x(), x, std::abs(x) * 1e-9 + 1e-9);
            }
        }
    }
}

TEST(PlotMapping, MetricsAreTheFrameEdgesAndTheirValues) {
    const PlotMapping m =
        PlotMapping::Rectangular(40, 20, 740, 460, {13.9, 14.4, false}, {1.0, 2.2, false}, {});
    const PlotMetrics metrics = m.Metrics();
    EXPECT_EQ(metrics.Size, 36);
    EXPECT_EQ(metrics.Left, 40);
    EXPECT_EQ(metrics.Top, 20);
    EXPECT_EQ(metrics.Right, 740);
    EXPECT_EQ(metrics.Bottom, 460);
    EXPECT_FLOAT_EQ(metrics.XLo, 13.9f);
    EXPECT_FLOAT_EQ(metrics.XHi, 14.4f);
    EXPECT_FLOAT_EQ(metrics.YLo, 1.0f);
    EXPECT_FLOAT_EQ(metrics.YHi, 2.2f);
    EXPECT_DOUBLE_EQ(m.XToPixel(13.9f), 40.0);
    EXPECT_DOUBLE_EQ(m.YToPixel(2.2f, false), 20.0);
}

TEST(PlotMapping, LogAxisRefusesValuesThatAreNotPositive) {
    const PlotMapping m =
        PlotMapping::Rectangular(0, 0, 100, 100, {1.0, 100.0, true}, {1.0, 10.0, false}, {});
    QPointF pixel;
    EXPECT_FALSE(m.ToPixel(0.0, 5.0, false, pixel));
    EXPECT_FALSE(m.ToPixel(-3.0, 5.0, false, pixel));
    EXPECT_FALSE(m.ToPixel(std::nan(""), 5.0, false, pixel));
    EXPECT_TRUE(m.ToPixel(10.0, 5.0, false, pixel));
    EXPECT_DOUBLE_EQ(pixel.x(), 50.0);
}

TEST(PlotMapping, SecondAxisHasItsOwnRange) {
    const PlotMapping m = PlotMapping::Rectangular(0, 0, 100, 200, {0.0, 1.0, false},
                                                   {0.0, 10.0, false}, {100.0, 200.0, false});
    EXPECT_DOUBLE_EQ(m.YToPixel(5.0, false), 100.0);
    EXPECT_DOUBLE_EQ(m.YToPixel(150.0, true), 100.0);
    EXPECT_DOUBLE_EQ(m.YToPixel(200.0, true), 0.0);
}

// Where the read-out of the polar areas says an angle lies, for both styles.
TEST(PlotMapping, PolarConventions) {
    struct Case {
        int style;
        int area; // the read-out convention that belongs to the style
        double angle;
        double dx, dy; // expected direction on the screen, y down
    };
    const std::vector<Case> cases = {
        {3, 1, 0.0, 0.0, -1.0},     {3, 1, 90.0, 1.0, 0.0},        {3, 1, 180.0, 0.0, 1.0},
        {3, 1, 270.0, -1.0, 0.0},   {3, 1, 45.0, 0.7071, -0.7071}, {0, 2, 0.0, 1.0, 0.0},
        {0, 2, 90.0, 0.0, -1.0},    {0, 2, 180.0, -1.0, 0.0},      {0, 2, 270.0, 0.0, 1.0},
        {0, 2, 30.0, 0.8660, -0.5},
    };
    for (const Case& c : cases) {
        const PlotMapping m =
            PlotMapping::Polar(40, 48, 357, 365, 0.0, 360.0, true, 0.0, 1.0, c.style);
        QPointF pixel;
        ASSERT_TRUE(m.ToPixel(c.angle, 0.8, false, pixel));
        const QPointF centre = m.Centre();
        EXPECT_NEAR((pixel.x() - centre.x()) / (0.8 * m.Radius()), c.dx, 1e-3)
            << "style " << c.style << " angle " << c.angle;
        EXPECT_NEAR((pixel.y() - centre.y()) / (0.8 * m.Radius()), c.dy, 1e-3)
            << "style " << c.style << " angle " << c.angle;
        const auto read = PolarReadOut(m.Metrics(), pixel.x(), pixel.y(), c.area);
        EXPECT_NEAR(read.angle, c.angle, 1e-4) << "style " << c.style;
        EXPECT_NEAR(read.radius, 0.8, 1e-9);
        double angle = 0.0, radius = 0.0;
        ASSERT_TRUE(m.PolarFromPixel(pixel, angle, radius));
        EXPECT_NEAR(angle, c.angle, 1e-6);
        EXPECT_NEAR(radius, 0.8, 1e-9);
    }
}

TEST(PlotMapping, PolarCentreFollowsTheReadOutConvention) {
    const PlotMapping m = PlotMapping::Polar(10, 20, 210, 220, 0.0, 360.0, true, 0.0, 1.0, 3);
    EXPECT_DOUBLE_EQ(m.Centre().x(), (10 + 210 + 3) / 2.0);
    EXPECT_DOUBLE_EQ(m.Centre().y(), (20 + 220 + 3) / 2.0);
    EXPECT_DOUBLE_EQ(m.Radius(), 100.0);
    QPointF pixel;
    ASSERT_TRUE(m.ToPixel(123.0, 0.0, false, pixel));
    EXPECT_EQ(pixel, m.Centre());
    // A radius below the inner limit sits at the centre.
    ASSERT_TRUE(m.ToPixel(123.0, -0.5, false, pixel));
    EXPECT_EQ(pixel, m.Centre());
}

TEST(PlotMapping, PolarRadiansAndOtherStyles) {
    // Style 1: zero at the right, clockwise; style 2: zero at the top, counter-clockwise.
    const double quarter = 3.14159265358979 / 2.0;
    QPointF pixel;
    const PlotMapping clockwise = PlotMapping::Polar(0, 0, 100, 100, 0.0, 2 * 3.14159265358979,
                                                     false, 0.0, 1.0, kPolarClockwise);
    ASSERT_TRUE(clockwise.ToPixel(quarter, 1.0, false, pixel));
    EXPECT_NEAR(pixel.y() - clockwise.Centre().y(), 50.0, 1e-9); // a quarter turn goes down
    const PlotMapping up =
        PlotMapping::Polar(0, 0, 100, 100, 0.0, 360.0, true, 0.0, 1.0, kPolarZeroUp);
    ASSERT_TRUE(up.ToPixel(90.0, 1.0, false, pixel));
    EXPECT_NEAR(pixel.x() - up.Centre().x(), -50.0, 1e-9); // a quarter turn goes left
}

} // namespace
} // namespace lobex::plotter
