#include "PlotFixtures.h"
#include "ReadOut.h"
#include "plotter/PlotEngine.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace lobex::plotter {
namespace {

using test::MakeRecord;
using test::PolarCommands;
using test::PolarReadOut;
using test::RectangularCommands;
using test::RectangularReadOut;

// A pixel the curve's colour clearly dominates (antialiased edges are lighter).
bool IsRed(QRgb pixel) {
    return qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) > 80;
}
bool IsBlue(QRgb pixel) {
    return qBlue(pixel) - std::max(qRed(pixel), qGreen(pixel)) > 80;
}
bool IsGreen(QRgb pixel) {
    return qGreen(pixel) - std::max(qRed(pixel), qBlue(pixel)) > 40;
}

// Where a data value lies by the metrics: the inverse of the rectangular read-out.
double ColumnOf(const PlotMetrics& m, double x, bool log) {
    const double t = log ? std::log(x / m.XLo) / std::log(static_cast<double>(m.XHi) / m.XLo)
                         : (x - m.XLo) / (static_cast<double>(m.XHi) - m.XLo);
    return m.Left + t * (m.Right - m.Left);
}
double RowOf(const PlotMetrics& m, double y, bool log) {
    const double t = log ? std::log(y / m.YLo) / std::log(static_cast<double>(m.YHi) / m.YLo)
                         : (y - m.YLo) / (static_cast<double>(m.YHi) - m.YLo);
    return m.Bottom + t * (m.Top - m.Bottom);
}

class PlotRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine.DPlot_Start(1, nullptr);
        engine.SetDecimalSeparator(".");
    }

    std::int32_t Plot(int curves, const std::vector<float>& x, const std::vector<float>& y,
                      const std::string& commands, const std::string& yLabel = "Y") {
        DPLOT record = MakeRecord(curves, static_cast<int>(x.size()), yLabel);
        const std::int32_t document = engine.DPlot_Plot(record, x.data(), y.data(), commands);
        EXPECT_GT(document, 0) << engine.LastError();
        return document;
    }

    QImage Render(std::int32_t document, int width, int height, PlotMetrics& metrics) {
        return ToQImage(engine.DPlot_GetBitmapEx(document, width, height, metrics));
    }

    // The samples of a curve whose predicted pixel does not have the curve's colour, as
    // "column,row" for the failure message.
    static std::vector<std::string> Misses(const QImage& image, const std::vector<QPointF>& pixels,
                                           const std::function<bool(QRgb)>& colour,
                                           double ratio = 1.0) {
        std::vector<std::string> misses;
        for (const QPointF& p : pixels) {
            const int column = static_cast<int>(std::floor(p.x() * ratio + ratio / 2.0));
            const int row = static_cast<int>(std::floor(p.y() * ratio + ratio / 2.0));
            if (!image.valid(column, row) || !colour(image.pixel(column, row))) {
                misses.push_back(std::to_string(column) + "," + std::to_string(row));
            }
        }
        return misses;
    }

    PlotEngine engine;
};

// A wavy curve, with the points between its vertices where the straight segments run.
struct Wave {
    std::vector<float> x, y;
    std::vector<std::pair<double, double>> samples;
};

Wave MakeWave(double x0, double x1, int points, const std::function<double(double)>& f,
              bool logX = false) {
    Wave wave;
    for (int i = 0; i < points; ++i) {
        const double t = static_cast<double>(i) / (points - 1);
        const double x = logX ? x0 * std::pow(x1 / x0, t) : x0 + (x1 - x0) * t;
        wave.x.push_back(static_cast<float>(x));
        wave.y.push_back(static_cast<float>(f(x)));
    }
    for (int i = 1; i + 1 < points; ++i) {
        wave.samples.emplace_back(wave.x[static_cast<std::size_t>(i)],
                                  wave.y[static_cast<std::size_t>(i)]);
    }
    return wave;
}

TEST_F(PlotRenderTest, LinearCurveLandsWhereTheMetricsPutIt) {
    const Wave wave =
        MakeWave(13.9, 14.42, 27, [](double x) { return 1.5 + 0.6 * std::sin(12.0 * x); });
    const std::int32_t document =
        Plot(1, wave.x, wave.y,
             RectangularCommands("13.9,0.9,14.42,2.1", false, "", 1, "Частота, MHz", "Sweep"));
    PlotMetrics metrics;
    const QImage image = Render(document, 800, 500, metrics);
    std::vector<QPointF> pixels;
    for (const auto& [x, y] : wave.samples) {
        pixels.emplace_back(ColumnOf(metrics, x, false), RowOf(metrics, y, false));
    }
    EXPECT_EQ(Misses(image, pixels, IsRed), std::vector<std::string>{});
    // And the read-out at each such pixel gives back the value, to within a pixel.
    for (const auto& [x, y] : wave.samples) {
        const double column = std::round(ColumnOf(metrics, x, false));
        const double row = std::round(RowOf(metrics, y, false));
        const auto read = RectangularReadOut(metrics, column, row, false, false);
        EXPECT_NEAR(read.x, x, (metrics.XHi - metrics.XLo) / (metrics.Right - metrics.Left));
        EXPECT_NEAR(read.y, y, (metrics.YHi - metrics.YLo) / (metrics.Bottom - metrics.Top));
    }
}

TEST_F(PlotRenderTest, LogarithmicCurveLandsWhereTheMetricsPutIt) {
    const Wave wave = MakeWave(
        3.0, 3000.0, 40, [](double x) { return 2.0 + 40000.0 / (1.0 + x * x / 6400.0); }, true);
    const std::int32_t document =
        Plot(1, wave.x, wave.y, RectangularCommands("3,2.3,3000,40000", false, "", 4, "f", "Log"));
    PlotMetrics metrics;
    const QImage image = Render(document, 700, 450, metrics);
    EXPECT_LE(metrics.XLo, 3.0f);
    EXPECT_GE(metrics.XHi, 3000.0f);
    std::vector<QPointF> pixels;
    for (const auto& [x, y] : wave.samples) {
        pixels.emplace_back(ColumnOf(metrics, x, true), RowOf(metrics, y, true));
    }
    EXPECT_EQ(Misses(image, pixels, IsRed), std::vector<std::string>{});
}

TEST_F(PlotRenderTest, SecondCurveIsBlueOnTheRightAxis) {
    std::vector<float> x, y;
    for (int i = 0; i <= 20; ++i) {
        x.push_back(static_cast<float>(i));
    }
    for (int i = 0; i <= 20; ++i) {
        y.push_back(static_cast<float>(10 + 3 * i)); // left axis, 0..100
    }
    for (int i = 0; i <= 20; ++i) {
        y.push_back(static_cast<float>(9.0 - 0.3 * i)); // right axis, 0..10
    }
    const std::int32_t document =
        Plot(2, x, y, RectangularCommands("0,0,20,100,0,10", true, "Ga(dBi)", 1, "X", "Two axes"));
    PlotMetrics metrics;
    const QImage image = Render(document, 800, 500, metrics);
    ASSERT_FLOAT_EQ(metrics.YLo, 0.0f);
    ASSERT_FLOAT_EQ(metrics.YHi, 100.0f);
    std::vector<QPointF> red, blue;
    for (int i = 1; i < 20; ++i) {
        const double column = ColumnOf(metrics, i, false);
        red.emplace_back(column, RowOf(metrics, 10 + 3 * i, false));
        // The right axis spans 0..10 over the same rows.
        const double t = (9.0 - 0.3 * i) / 10.0;
        blue.emplace_back(column, metrics.Bottom + t * (metrics.Top - metrics.Bottom));
    }
    EXPECT_EQ(Misses(image, red, IsRed), std::vector<std::string>{});
    EXPECT_EQ(Misses(image, blue, IsBlue), std::vector<std::string>{});
}

TEST_F(PlotRenderTest, WithoutItsColorCommandTheSecondCurveIsNotBlue) {
    const std::vector<float> x{0, 1, 2, 3};
    const std::vector<float> y{1, 2, 3, 4, 4, 3, 2, 1};
    const std::int32_t document = Plot(2, x, y, "[ManualScale(0,0,3,5)]");
    PlotMetrics metrics;
    const QImage image = Render(document, 400, 300, metrics);
    const QPointF middle(ColumnOf(metrics, 1.5, false), RowOf(metrics, 2.5, false));
    bool blue = false;
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            blue = blue || IsBlue(image.pixel(int(middle.x()) + dx, int(middle.y()) + dy));
        }
    }
    EXPECT_FALSE(blue);
}

TEST_F(PlotRenderTest, NothingOfTheCurveOutsideThePlottingArea) {
    // The limits cut the curve; what lies beyond must not spill over the axes.
    const Wave wave = MakeWave(0.0, 10.0, 50, [](double x) { return 10.0 * std::sin(x); });
    const std::int32_t document = Plot(1, wave.x, wave.y, "[ManualScale(2,-5,8,5)]");
    PlotMetrics metrics;
    const QImage image = Render(document, 500, 400, metrics);
    int outside = 0;
    int inside = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (!IsRed(image.pixel(column, row))) {
                continue;
            }
            const bool within = column >= metrics.Left - 1 && column <= metrics.Right + 1 &&
                                row >= metrics.Top - 1 && row <= metrics.Bottom + 1;
            (within ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
}

TEST_F(PlotRenderTest, GapsInTheDataBreakTheCurveWithoutHarm) {
    std::vector<float> x{1, 2, 3, 4, 5, 6};
    std::vector<float> y{1, 2, std::nanf(""), 4, -3, 6};
    // On a log Y axis the negative value cannot be shown either.
    const std::int32_t document = Plot(1, x, y, "[ManualScale(1,1,6,6)][Scale(2)]");
    PlotMetrics metrics;
    const QImage image = Render(document, 400, 300, metrics);
    ASSERT_FALSE(image.isNull());
    // Halfway along the first segment, which is straight on the screen.
    const std::vector<QPointF> kept = {
        {ColumnOf(metrics, 1.5, false), RowOf(metrics, std::sqrt(2.0), true)},
    };
    EXPECT_EQ(Misses(image, kept, IsRed), std::vector<std::string>{});
    // No line bridges the gap from 2 to 4.
    const std::vector<QPointF> bridge = {
        {ColumnOf(metrics, 3.0, false), RowOf(metrics, 3.0, true)}};
    EXPECT_EQ(Misses(image, bridge, IsRed).size(), 1U);
}

TEST_F(PlotRenderTest, LogAxisWithALimitAtZeroStillDraws) {
    const std::vector<float> x{0, 1, 10, 100};
    const std::vector<float> y{1, 2, 3, 4};
    const std::int32_t document = Plot(1, x, y, "[ManualScale(0,1,100,4)][Scale(3)]");
    PlotMetrics metrics;
    const QImage image = Render(document, 400, 300, metrics);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(metrics.XLo, 0.0f);
    EXPECT_LE(metrics.XLo, 1.0f);
}

TEST_F(PlotRenderTest, HighDensityBitmapPutsTheCurveAtTheSamePlace) {
    const Wave wave = MakeWave(0.0, 1.0, 15, [](double x) { return x * x; });
    const std::int32_t document = Plot(1, wave.x, wave.y, "[ManualScale(0,0,1,1)]");
    engine.SetDevicePixelRatio(2.0);
    PlotMetrics metrics;
    const QImage image = Render(document, 400, 300, metrics);
    ASSERT_EQ(image.size(), QSize(800, 600));
    std::vector<QPointF> pixels;
    for (const auto& [x, y] : wave.samples) {
        pixels.emplace_back(ColumnOf(metrics, x, false), RowOf(metrics, y, false));
    }
    EXPECT_EQ(Misses(image, pixels, IsRed, 2.0), std::vector<std::string>{});
}

TEST_F(PlotRenderTest, BlankTitleLeavesMoreRoomThanARealOne) {
    const std::vector<float> x{0, 1};
    const std::vector<float> y{0, 1};
    PlotMetrics titled, blank;
    Render(Plot(1, x, y, "[Title1(\"Частотные характеристики\")]"), 400, 300, titled);
    Render(Plot(1, x, y, "[Title1(\" \")]"), 400, 300, blank);
    EXPECT_LT(blank.Top, titled.Top);
}

TEST_F(PlotRenderTest, SecondAxisTakesRoomOnTheRight) {
    const std::vector<float> x{0, 1};
    const std::vector<float> y{0, 1, 5, 6};
    PlotMetrics one, two;
    Render(Plot(2, x, y, "[ManualScale(0,0,1,1)]"), 500, 300, one);
    Render(Plot(2, x, y,
                "[SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"Ga\")][ManualScale(0,0,1,1,5,"
                "6)]"),
           500, 300, two);
    EXPECT_LT(two.Right, one.Right - 15);
}

// Polar graphs: a ray of points from the centre outwards at one angle must show at the angle
// the read-out of its area gives, in both styles.
TEST_F(PlotRenderTest, PolarAnglesFollowTheStyleConventions) {
    struct Case {
        int area; // 1: compass style 3; 2: mathematical style 0
        double angle;
    };
    for (const Case c : {Case{1, 0.0}, Case{1, 90.0}, Case{1, 200.0}, Case{2, 0.0}, Case{2, 90.0},
                         Case{2, 135.0}}) {
        std::vector<float> angles, radii;
        for (int i = 0; i <= 20; ++i) {
            angles.push_back(static_cast<float>(c.angle));
            radii.push_back(static_cast<float>(i / 20.0));
        }
        const std::int32_t document = Plot(1, angles, radii, PolarCommands(c.area, false, false));
        PlotMetrics metrics;
        const QImage image = Render(document, 420, 420, metrics);
        int red = 0;
        for (int row = 0; row < image.height(); ++row) {
            for (int column = 0; column < image.width(); ++column) {
                if (!IsRed(image.pixel(column, row))) {
                    continue;
                }
                const auto read = PolarReadOut(metrics, column, row, c.area);
                if (read.radius < 0.15) {
                    continue; // near the centre a pixel spans many degrees
                }
                ++red;
                double difference = std::abs(read.angle - c.angle);
                difference = std::min(difference, 360.0 - difference);
                EXPECT_LT(difference, 2.0)
                    << "area " << c.area << " angle " << c.angle << " at " << column << "," << row;
            }
        }
        EXPECT_GT(red, 60) << "area " << c.area << " angle " << c.angle;
    }
}

TEST_F(PlotRenderTest, PolarRadiusReadsBackOnTheDrawnCircle) {
    std::vector<float> angles, radii;
    for (int a = 0; a <= 360; ++a) {
        angles.push_back(static_cast<float>(a));
        radii.push_back(0.7f);
    }
    for (const bool main : {true, false}) {
        const std::int32_t document = Plot(1, angles, radii, PolarCommands(1, main, false));
        PlotMetrics metrics;
        const QImage image = Render(document, main ? 260 : 420, main ? 260 : 420, metrics);
        EXPECT_FLOAT_EQ(metrics.YLo, 0.0f);
        EXPECT_FLOAT_EQ(metrics.YHi, 1.0f);
        const double pixel = 1.0 / ((metrics.Right - metrics.Left) / 2.0);
        int red = 0;
        for (int row = 0; row < image.height(); ++row) {
            for (int column = 0; column < image.width(); ++column) {
                if (IsRed(image.pixel(column, row))) {
                    ++red;
                    EXPECT_NEAR(PolarReadOut(metrics, column, row, 1).radius, 0.7, 1.5 * pixel);
                }
            }
        }
        EXPECT_GT(red, 300);
        // The outer circle is the top of the scale: its predicted pixels are drawn black.
        const double cx = (metrics.Left + metrics.Right + 3) / 2.0;
        const double cy = (metrics.Top + metrics.Bottom + 3) / 2.0;
        const double r = (metrics.Right - metrics.Left) / 2.0;
        const QRgb top = image.pixel(static_cast<int>(std::floor(cx + 0.5)),
                                     static_cast<int>(std::floor(cy - r + 0.5)));
        EXPECT_LT(qGray(top), 100);
    }
}

TEST_F(PlotRenderTest, PolarSizeIsInInchesAndShrinksToFit) {
    const std::vector<float> angles{0, 90, 180, 270, 360};
    const std::vector<float> radii{0.5, 0.5, 0.5, 0.5, 0.5};
    PlotMetrics main, window, small;
    Render(Plot(1, angles, radii, PolarCommands(1, true, false)), 300, 300, main);
    Render(Plot(1, angles, radii, PolarCommands(1, false, false)), 450, 450, window);
    Render(Plot(1, angles, radii, PolarCommands(1, false, false)), 200, 200, small);
    EXPECT_EQ(main.Right - main.Left, 192);     // 2 inches at 96 per inch
    EXPECT_EQ(window.Right - window.Left, 317); // 3.3 inches
    EXPECT_EQ(window.Bottom - window.Top, 317);
    EXPECT_LT(small.Right - small.Left, 200);
    EXPECT_GT(small.Right - small.Left, 100);
}

TEST_F(PlotRenderTest, BeamCircleIsGreenAtItsRadius) {
    const std::vector<float> angles{0, 120, 240, 360};
    const std::vector<float> radii{0.3f, 0.3f, 0.3f, 0.3f};
    const std::int32_t document = Plot(1, angles, radii, PolarCommands(1, false, false));
    std::vector<float> circleAngles(360), circleRadii(360, 0.839f);
    for (int a = 0; a < 360; ++a) {
        circleAngles[static_cast<std::size_t>(a)] = static_cast<float>(a);
    }
    engine.DPlot_AddData(document, 0, 360, 2, circleAngles.data(), circleRadii.data());
    ASSERT_GT(engine.DPlot_Command(document, "[Color(2,0,128,0)][LineType(2,3)][LineType(1,1)]"),
              0);
    PlotMetrics metrics;
    const QImage image = Render(document, 420, 420, metrics);
    const double pixel = 1.0 / ((metrics.Right - metrics.Left) / 2.0);
    int green = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (IsGreen(image.pixel(column, row))) {
                ++green;
                EXPECT_NEAR(PolarReadOut(metrics, column, row, 1).radius, 0.839, 1.5 * pixel);
            }
        }
    }
    EXPECT_GT(green, 100);
}

TEST_F(PlotRenderTest, EmptyOrUnusableDataStillRenders) {
    const std::vector<float> x{std::nanf(""), std::nanf("")};
    const std::vector<float> y{std::nanf(""), std::nanf("")};
    for (const char* commands : {"", "[Scale(4)]", "[Scale(264)]"}) {
        PlotMetrics metrics;
        const QImage image = Render(Plot(1, x, y, commands), 300, 200, metrics);
        EXPECT_FALSE(image.isNull()) << commands;
        EXPECT_LT(metrics.Left, metrics.Right) << commands;
    }
}

TEST_F(PlotRenderTest, TinyBitmapsDoNotBreakTheLayout) {
    const std::vector<float> x{0, 1};
    const std::vector<float> y{0, 1};
    for (const char* commands : {"", "[Scale(264)][Size(1,3.3,3.3,0)]"}) {
        PlotMetrics metrics;
        const QImage image = Render(Plot(1, x, y, commands), 12, 9, metrics);
        EXPECT_EQ(image.size(), QSize(12, 9)) << commands;
        EXPECT_LT(metrics.Left, metrics.Right) << commands;
        EXPECT_LT(metrics.Top, metrics.Bottom) << commands;
    }
}

} // namespace
} // namespace lobex::plotter
