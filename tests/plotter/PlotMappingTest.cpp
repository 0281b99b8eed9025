#include "plotter/PlotMapping.h"
#include "PlotFixtures.h"
#include "plotter/PlotDocument.h"

#include <gtest/gtest.h>

#include <numbers>

namespace lobex::plotter {
namespace {

// Where each polar style puts an angle, and the windows' read-out of the area that uses the
// style (1 azimuth, 2 elevation; 0 none) finds it again.
TEST(PlotMapping, PolarStylesPutAnglesWhereTheirReadOutsFindThem) {
    struct Case {
        int style;
        int area;
        bool degrees;
        double angle;
        double dx, dy; // expected direction on the screen, y down
    };
    const double quarter = std::numbers::pi / 2.0;
    const Case cases[] = {
        {3, 1, true, 0.0, 0.0, -1.0},
        {3, 1, true, 90.0, 1.0, 0.0},
        {3, 1, true, 45.0, 0.7071, -0.7071},
        {0, 2, true, 30.0, 0.8660, -0.5},
        {0, 2, true, 150.0, -0.8660, -0.5},
        {0, 0, true, 180.0, -1.0, 0.0}, // the elevation read-out shows the upper half only
        {kPolarClockwise, 0, false, quarter, 0.0, 1.0},
        {kPolarZeroUp, 0, true, 90.0, -1.0, 0.0},
    };
    for (const Case& c : cases) {
        const double turn = c.degrees ? 360.0 : 2.0 * std::numbers::pi;
        const PlotMapping m =
            PlotMapping::Polar(40, 48, 357, 365, 0.0, turn, c.degrees, 0.0, 1.0, c.style);
        QPointF pixel;
        ASSERT_TRUE(m.ToPixel(c.angle, 0.8, false, pixel));
        const QPointF centre = m.Centre();
        EXPECT_NEAR((pixel.x() - centre.x()) / (0.8 * m.Radius()), c.dx, 1e-3)
            << "style " << c.style << " angle " << c.angle;
        EXPECT_NEAR((pixel.y() - centre.y()) / (0.8 * m.Radius()), c.dy, 1e-3)
            << "style " << c.style << " angle " << c.angle;
        double angle = 0.0, radius = 0.0;
        ASSERT_TRUE(m.PolarFromPixel(pixel, angle, radius));
        EXPECT_NEAR(angle, c.angle, 1e-6);
        EXPECT_NEAR(radius, 0.8, 1e-9);
        if (c.area != 0) {
            const test::PolarPoint read = test::ReadBack(m.Metrics(), pixel.x(), pixel.y(), c.area);
            EXPECT_TRUE(read.inside);
            EXPECT_NEAR(read.angle, c.angle, 1e-4) << "style " << c.style;
            EXPECT_NEAR(read.radius, 0.8, 1e-9);
        }
        // A radius below the inner limit sits at the centre rather than folding outwards.
        ASSERT_TRUE(m.ToPixel(c.angle, -0.5, false, pixel));
        EXPECT_EQ(pixel, centre);
    }
}

} // namespace
} // namespace lobex::plotter
