#include "plotter/PlotEngine.h"
#include "GraphWorld.h"
#include "graphs/CursorReadout.h"
#include "graphs/CurveReading.h"
#include "plotter/CommandParser.h"
#include "plotter/PlotOutput.h"
#include "plotter/PolylineClip.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The engine behind the DPlot calls, and its drawings checked against the metrics it reports:
// the curves lie where the read-out formulas of the windows say they do, for documents made here
// and by the graph code itself.
namespace lobex::plotter {
namespace {

using lobex::test::MakeRecord;

// The engine linked as the graph code links it, numbering its axes with a decimal point.
class PlotEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(world.Start()); }

    // A document of the curves over the same X values; 0 where the engine refuses it.
    std::int32_t Plot(int curves, const std::vector<float>& x, const std::vector<float>& y,
                      const std::string& commands) {
        const DPLOT record = MakeRecord(curves, static_cast<int>(x.size()));
        return engine.DPlot_Plot(record, x.data(), y.data(), commands);
    }
    // A two-curve document of five points: y = x and y = 10 x; spoil changes the record first.
    std::int32_t PlotTwoCurves(const std::string& commands = "[Caption(\"Lobex Data\")]",
                               const std::function<void(DPLOT&)>& spoil = {}) {
        DPLOT record = MakeRecord(2, 5, "SWR");
        SetTextField(record.Title1, "Record title");
        if (spoil) {
            spoil(record);
        }
        return engine.DPlot_Plot(record, fiveX.data(), twoCurvesY.data(), commands);
    }
    const PlotDocument& Document(std::int32_t number) {
        const PlotDocument* document = engine.FindDocument(number);
        EXPECT_NE(document, nullptr);
        static const PlotDocument empty;
        return document != nullptr ? *document : empty;
    }
    QImage Render(std::int32_t document, int width, int height, PlotMetrics& metrics) {
        EXPECT_GT(document, 0) << engine.LastError();
        return ToQImage(engine.DPlot_GetBitmapEx(document, width, height, metrics));
    }

    lobex::test::GraphWorld<PlotEngine> world;
    PlotEngine& engine = world.api;
    std::vector<float> fiveX{1, 2, 3, 4, 5};
    std::vector<float> twoCurvesY{1, 2, 3, 4, 5, 10, 20, 30, 40, 50};
};

TEST(PlotEngineLink, StartLinksStopDropsEveryDocument) {
    PlotEngine engine;
    const DPLOT record = MakeRecord(1, 2);
    const float values[] = {1, 2};
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1); // not started
    std::int32_t wasActive = -1;
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 0);
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 1);
    const std::int32_t first = engine.DPlot_Plot(record, values, values, "");
    EXPECT_GT(first, 0);
    engine.DPlot_Stop();
    EXPECT_EQ(engine.FindDocument(first), nullptr);
    EXPECT_EQ(engine.DPlot_Command(first, "[AutoSize()]"), 0);
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1);
}

TEST_F(PlotEngineTest, TheRecordGivesCurvesAndStartingLabels) {
    // Fewer points than the stride in curve 2.
    const PlotDocument& document = Document(PlotTwoCurves("", [](DPLOT& r) { r.NP[1] = 3; }));
    ASSERT_EQ(document.curves.size(), 2U);
    EXPECT_EQ(document.curves[0].x, fiveX);
    EXPECT_EQ(document.curves[1].x, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(document.curves[0].y, (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(document.curves[1].y, (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(document.xLabel, "Parameter");
    EXPECT_EQ(document.yLabel, "SWR");
    EXPECT_EQ(document.title1, "Record title");
    // Curve 1 is red; curve 2 is blue only when a Color command says so.
    EXPECT_EQ(document.styles[0].color, (Rgb{255, 0, 0}));
    EXPECT_NE(document.styles[1].color, (Rgb{0, 0, 255}));
}

TEST_F(PlotEngineTest, RefusesRecordsAndPlotStringsItCannotUse) {
    const auto refused = [this](const char* name, const std::function<void(DPLOT&)>& spoil) {
        EXPECT_EQ(PlotTwoCurves("", spoil), 0) << name;
    };
    refused("data format 0", [](DPLOT& r) { r.DataFormat = 0; });
    refused("21 curves", [](DPLOT& r) { r.NumCurves = 21; });
    refused("curve without points", [](DPLOT& r) { r.NP[1] = 0; });
    refused("curve longer than the stride", [](DPLOT& r) { r.NP[0] = 6; });
    EXPECT_EQ(engine.DPlot_Plot(MakeRecord(2, 5), nullptr, twoCurvesY.data(), ""), 0);
    for (const char* commands : {"[AutoSize()", "[Frobnicate()]", "[AutoSize()][FileClose()]"}) {
        EXPECT_EQ(PlotTwoCurves(commands), 0) << commands;
        EXPECT_FALSE(engine.LastError().empty()) << commands;
    }
}

TEST_F(PlotEngineTest, EditFlagFollowsChangesClearEditFlagAndFileClose) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_TRUE(Document(number).edited);
    engine.DPlot_Command(number, "[ClearEditFlag()]");
    EXPECT_FALSE(Document(number).edited);
    // Any change sets it again; command names ignore case.
    EXPECT_GT(engine.DPlot_Command(number, "[setmetafiledims(4,2)][COLOR(1,1,2,3)]"), 0);
    EXPECT_EQ(Document(number).styles[0].color, (Rgb{1, 2, 3}));
    EXPECT_TRUE(Document(number).edited);
    EXPECT_GT(engine.DPlot_Command(number, "[FileClose()]"), 0);
    EXPECT_EQ(engine.FindDocument(number), nullptr);
    EXPECT_EQ(engine.DPlot_Command(number, "[ClearEditFlag()]"), 0);
}

TEST_F(PlotEngineTest, RefusedCommandsChangeNothing) {
    const std::vector<std::string> refused = {
        "[Frobnicate()]", "[FontPoints(1,0)]", "[Size(1,0,2,0)]", "[ManualScale(1,2,3)]",
        "[SelectCurve(21)]", "[Color(2,0,0,256)]", "[Scale(5)]", "[NumTicks(4,18,5)]",
        "[LineWidth(0,10)]", "[NotePosition(0.0,1.0)]" /* no note yet */, "[SetMetafileDims(0,3)]",
        "[FileSaveAs(4100,\"x.bin\")]", "[AutoSize()", "[Legend(21,\"x\")]" /* no such curve */,
        // A good command before a bad one is not carried out either.
        "[Color(1,0,255,0)][Title1(\"new\")][Scale(5)]"};
    for (const std::string& command : refused) {
        const std::int32_t number = PlotTwoCurves();
        EXPECT_EQ(engine.DPlot_Command(number, command), 0) << command;
        EXPECT_FALSE(engine.LastError().empty()) << command;
        EXPECT_EQ(Document(number).styles[0].color, (Rgb{255, 0, 0})) << command;
        EXPECT_EQ(Document(number).title1, "Record title") << command;
    }
    for (const std::int32_t missing : {0, -1, 12345}) {
        EXPECT_EQ(engine.DPlot_Command(missing, "[AutoSize()]"), 0) << missing;
    }
}

TEST_F(PlotEngineTest, AddDataAppendsOrReplacesACurveAndIgnoresWhatItCannotUse) {
    const std::int32_t number = PlotTwoCurves();
    const float values[] = {1, 2, 3};
    engine.DPlot_AddData(number, 0, 3, 4, values, values);  // a gap after curve 2
    engine.DPlot_AddData(number, 0, 3, 0, values, values);  // no curve 0
    engine.DPlot_AddData(number, 0, 3, 3, nullptr, values); // no X array
    engine.DPlot_AddData(number + 100, 0, 3, 3, values, values);
    EXPECT_EQ(Document(number).curves.size(), 2U);

    std::vector<float> angles(360), radii(360, 0.839f);
    std::iota(angles.begin(), angles.end(), 0.0f);
    engine.DPlot_AddData(number, 0, 360, 3, angles.data(), radii.data());
    ASSERT_EQ(Document(number).curves.size(), 3U);
    EXPECT_EQ(Document(number).curves[2].x, angles);
    EXPECT_EQ(Document(number).curves[2].y, radii);
    engine.DPlot_AddData(number, 0, 360, 1, angles.data(), radii.data());
    EXPECT_EQ(Document(number).curves[0].y, radii);
    EXPECT_EQ(Document(number).curves.size(), 3U);
}

// A document of fixed size: its bitmaps fill their size once asked to, and only its bitmaps;
// a copy still has the fixed plotting area.
TEST_F(PlotEngineTest, BitmapsFillTheirAreaOnlyWhenAskedAndCopiesKeepTheFixedSize) {
    const std::int32_t number = PlotTwoCurves("[Size(1,2,1.5,0)]");
    const auto frameWidth = [this, number](int width, int height) {
        PlotMetrics metrics;
        engine.DPlot_GetBitmapEx(number, width, height, metrics);
        return metrics.Right - metrics.Left;
    };
    EXPECT_NEAR(frameWidth(800, 600), 192, 1);
    EXPECT_NEAR(frameWidth(1200, 900), 192, 1);
    engine.SetBitmapsFillArea(true);
    const int filled = frameWidth(800, 600);
    EXPECT_GT(filled, 600);
    EXPECT_GT(frameWidth(1200, 900), filled);
    PlotMetrics copy;
    ASSERT_FALSE(engine.RenderDocumentImage(number, 800, 600, &copy).isNull());
    EXPECT_NEAR(copy.Right - copy.Left, 192, 1);
}

// Re Γ and Im Γ over a square, whatever the shape of the picture: its read-outs use the
// metrics as a rectangular graph's.
TEST_F(PlotEngineTest, ASmithChartIsSquareInAnyPicture) {
    const std::int32_t document =
        Plot(1, {0.0f, 0.5f}, {0.0f, 0.2f}, "[Scale(12)][SwrCircle(2,\"SWR 2\")]");
    ASSERT_GT(document, 0);
    for (const auto& [width, height] : {std::pair{600, 300}, std::pair{300, 600}}) {
        PlotMetrics m;
        ASSERT_FALSE(engine.DPlot_GetBitmapEx(document, width, height, m).IsNull());
        EXPECT_EQ(m.Right - m.Left, m.Bottom - m.Top);
        EXPECT_GT(m.Left, 0);
        EXPECT_LT(m.Right, width);
        EXPECT_LT(m.Bottom, height);
        EXPECT_EQ(std::tuple(m.XLo, m.YLo, m.XHi, m.YHi), std::tuple(-1.0f, -1.0f, 1.0f, 1.0f));
    }
    EXPECT_EQ(engine.DPlot_Command(document, "[SwrCircle(0.5)]"), 0); // no SWR below 1
}

using Colour = bool (*)(QRgb);
// A pixel the curve's colour clearly dominates (antialiased edges are lighter).
bool IsRed(QRgb pixel) {
    return qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) > 80;
}
bool IsGreen(QRgb pixel) {
    return qGreen(pixel) - std::max(qRed(pixel), qBlue(pixel)) > 40;
}

// Where the read-outs over a picture put a data value.
QPointF RectangularPixel(const PlotMetrics& m, double x, double y, bool logX, bool logY) {
    return {ColumnOf(m, x, logX).value_or(-1.0), RowOf(m, y, logY).value_or(-1.0)};
}
// What the windows' polar read-out finds under a pixel (area 1 azimuth, 2 elevation) on a scale
// of range 1 above a floor of 0, where the fourth power of the gain is the radius.
PolarReadout ReadBack(const PlotMetrics& m, double px, double py, int area) {
    return ReadPolar(m, px, py, area, 1.0f, 0.0f, 3.14159274f);
}
// The inverse of the polar read-out: compass angles for the azimuth diagram, mathematical ones
// for the elevation diagram.
QPointF PolarPixel(const PlotMetrics& m, double angle, double radius, bool compass) {
    const double pixels = (radius - m.YLo) / (m.YHi - m.YLo) * (m.Right - m.Left) / 2.0;
    const double a = angle * std::numbers::pi / 180.0;
    const QPointF centre((m.Left + m.Right + 3) / 2.0, (m.Top + m.Bottom + 3) / 2.0);
    return centre + (compass ? QPointF(pixels * std::sin(a), -pixels * std::cos(a))
                             : QPointF(pixels * std::cos(a), -pixels * std::sin(a)));
}

// The predicted pixels (at `ratio` device pixels per unit) without the colour, as "column,row"
// for the failure message; slack 1 accepts a neighbour (a value half-way between pixels).
std::vector<std::string> Misses(const QImage& image, const std::vector<QPointF>& pixels,
                                Colour colour, double ratio = 1.0, int slack = 0) {
    std::vector<std::string> misses;
    for (const QPointF& p : pixels) {
        const int column = static_cast<int>(std::floor(p.x() * ratio + ratio / 2.0));
        const int row = static_cast<int>(std::floor(p.y() * ratio + ratio / 2.0));
        bool found = false;
        for (int dy = -slack; dy <= slack && !found; ++dy) {
            for (int dx = -slack; dx <= slack && !found; ++dx) {
                found = image.valid(column + dx, row + dy) &&
                        colour(image.pixel(column + dx, row + dy));
            }
        }
        if (!found) {
            misses.push_back(std::to_string(column) + "," + std::to_string(row));
        }
    }
    return misses;
}

// Calls check on every pixel of the colour; returns how many there were.
int ForEachPixel(const QImage& image, Colour colour, const std::function<void(int, int)>& check) {
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        for (int column = 0; column < image.width(); ++column) {
            if (colour(image.pixel(column, row))) {
                ++count;
                check(column, row);
            }
        }
    }
    return count;
}

// A polar document with the azimuth diagram's conventions.
const std::string kPolar = "[Scale(264)][ManualScale(0,0,360,1)][PolarPlotStyle(3)]";

TEST_F(PlotEngineTest, RectangularCurvesLandWhereTheMetricsPutThem) {
    // What, X from x0 to x1 in that many points, y = f(x), the axes logarithmic, the commands, the
    // device pixels per bitmap pixel.
    const std::tuple<const char*, double, double, int, std::function<double(double)>, bool, bool,
                     std::string, double>
        cases[] = {
            {"linear", 13.9, 14.42, 27, [](double x) { return 1.5 + 0.6 * std::sin(12.0 * x); },
             false, false, "[ManualScale(13.9,0.9,14.42,2.1)][XAxisLabel(\"Частота, MHz\")]", 1.0},
            {"logarithmic", 3.0, 3000.0, 40,
             [](double x) { return 2.0 + 40000.0 / (1.0 + x * x / 6400.0); }, true, true,
             "[ManualScale(3,2.3,3000,40000)][Scale(4)]", 1.0},
            {"high density", 0.0, 1.0, 15, [](double x) { return x * x; }, false, false,
             "[ManualScale(0,0,1,1)]", 2.0},
        };
    for (const auto& [name, x0, x1, points, f, logX, logY, commands, ratio] : cases) {
        SCOPED_TRACE(name);
        std::vector<float> x, y;
        for (int i = 0; i < points; ++i) {
            const double t = static_cast<double>(i) / (points - 1);
            x.push_back(static_cast<float>(logX ? x0 * std::pow(x1 / x0, t) : x0 + (x1 - x0) * t));
            y.push_back(static_cast<float>(f(x.back())));
        }
        engine.SetDevicePixelRatio(ratio);
        PlotMetrics metrics;
        const QImage image = Render(Plot(1, x, y, commands), 700, 450, metrics);
        ASSERT_EQ(image.size(), QSize(700, 450) * ratio);
        EXPECT_LE(metrics.XLo, x0);
        EXPECT_GE(metrics.XHi, x1);
        // The inner vertices: the ends may sit on the frame.
        std::vector<QPointF> pixels;
        for (std::size_t i = 1; i + 1 < x.size(); ++i) {
            pixels.push_back(RectangularPixel(metrics, x[i], y[i], logX, logY));
        }
        EXPECT_EQ(Misses(image, pixels, IsRed, ratio), std::vector<std::string>{});
    }
}

TEST_F(PlotEngineTest, CurvesStayInsideThePlottingAreaAndGapsBreakThem) {
    // The limits cut the curve; what lies beyond must not spill over the axes.
    std::vector<float> x, y;
    for (int i = 0; i < 50; ++i) {
        x.push_back(static_cast<float>(i / 4.9));
        y.push_back(static_cast<float>(10.0 * std::sin(i / 4.9)));
    }
    PlotMetrics m;
    const QImage cut = Render(Plot(1, x, y, "[ManualScale(2,-5,8,5)]"), 500, 400, m);
    int outside = 0;
    const int inside = ForEachPixel(cut, IsRed, [&](int column, int row) {
        outside +=
            column < m.Left - 1 || column > m.Right + 1 || row < m.Top - 1 || row > m.Bottom + 1;
    });
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);

    // No value, and on a log Y axis no value below zero, is bridged by a line.
    const QImage gaps = Render(Plot(1, {1, 2, 3, 4, 5, 6}, {1, 2, std::nanf(""), 4, -3, 6},
                                    "[ManualScale(1,1,6,6)][Scale(2)]"),
                               400, 300, m);
    EXPECT_TRUE(
        Misses(gaps, {RectangularPixel(m, 1.5, std::sqrt(2.0), false, true)}, IsRed).empty());
    EXPECT_EQ(Misses(gaps, {RectangularPixel(m, 3.0, 3.0, false, true)}, IsRed).size(), 1U);
}

TEST_F(PlotEngineTest, BitmapsOfAnySizeOrUnusableDataRenderAtTheSizeAsked) {
    const std::vector<float> none{std::nanf(""), std::nanf("")};
    // X, Y, the commands, the bitmap's width and height.
    const std::tuple<std::vector<float>, std::vector<float>, const char*, int, int> cases[] = {
        {none, none, "", 300, 200},
        {none, none, "[Scale(264)]", 300, 200},
        {{0, 1}, {0, 1}, "[Scale(264)][Size(1,3.3,3.3,0)]", 12, 9},
        {{1, 2, 3}, {3, 1, 2}, "", 257, 263}, // an odd size is kept as asked
    };
    for (const auto& [x, y, commands, width, height] : cases) {
        PlotMetrics metrics;
        const PlotBitmap bitmap =
            engine.DPlot_GetBitmapEx(Plot(1, x, y, commands), width, height, metrics);
        EXPECT_EQ(ToQImage(bitmap).size(), QSize(width, height)) << commands;
        EXPECT_EQ(bitmap.Pixels.size(), static_cast<std::size_t>(width * height));
        EXPECT_LT(metrics.Left, metrics.Right) << commands;
        EXPECT_LT(metrics.Top, metrics.Bottom) << commands;
    }
    // No bitmap of no width, nor of one too wide to hold.
    PlotMetrics plain;
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(PlotTwoCurves(), 0, 100, plain).IsNull());
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(PlotTwoCurves(), 100000, 100, plain).IsNull());
    // A log axis whose limit is 0 starts above it.
    PlotMetrics metrics;
    Render(Plot(1, {0, 1, 10, 100}, {1, 2, 3, 4}, "[ManualScale(0,1,100,4)][Scale(3)]"), 400, 300,
           metrics);
    EXPECT_GT(metrics.XLo, 0.0f);
    EXPECT_LE(metrics.XLo, 1.0f);
}

// FastLines draws a bitmap's curves in straight pieces: every line type keeps its ink and its
// look (a handful of pixels clearly off at most, where the edges' antialiasing differs), at a
// high density too, and vector pictures do not change at all.
TEST_F(PlotEngineTest, FastLinesLookTheSameAndLeaveVectorPicturesAlone) {
    // A pattern with two sharp nulls in 1-degree steps, as a compared diagram draws it.
    std::vector<float> angles, radii;
    for (int a = 0; a <= 360; ++a) {
        angles.push_back(static_cast<float>(a));
        radii.push_back(static_cast<float>(0.15 + 0.85 * std::abs(std::cos(a * 0.0174533))));
    }
    const std::pair<std::string, double> cases[] = {{"", 1.0},
                                                    {"[LineType(1,2)]", 1.0},
                                                    {"[LineType(1,3)][LineWidth(1,15)]", 1.0},
                                                    {"[LineType(1,5)]", 1.0},
                                                    {"[LineWidth(1,25)]", 1.0},
                                                    {"[LineType(1,4)][LineWidth(1,25)]", 1.0},
                                                    {"[LineType(1,2)]", 2.0}};
    for (const auto& [style, ratio] : cases) {
        engine.SetDevicePixelRatio(ratio);
        const std::string commands = kPolar + "[GridLineType(0)]" + style;
        const std::int32_t joined = Plot(1, angles, radii, commands);
        const std::int32_t pieces = Plot(1, angles, radii, commands + "[FastLines(1)]");
        PlotMetrics m;
        const QImage a = Render(joined, 400, 400, m);
        const QImage b = Render(pieces, 400, 400, m);
        double inkA = 0.0, inkB = 0.0; // red over white: green falls with the line's coverage
        int off = 0;
        for (int i = 0; i < a.width() * a.height(); ++i) {
            const QRgb p = a.pixel(i % a.width(), i / a.width());
            const QRgb q = b.pixel(i % a.width(), i / a.width());
            inkA += qRed(p) - qGreen(p);
            inkB += qRed(q) - qGreen(q);
            off += std::abs(qGreen(p) - qGreen(q)) > 96;
        }
        EXPECT_NEAR(inkB / inkA, 1.0, 0.03) << style << ratio; // short dots overlap most
        EXPECT_LE(off, 6) << style << ratio;
        EXPECT_EQ(RenderSvg(*engine.FindDocument(joined), {4.0, 4.0}, {}),
                  RenderSvg(*engine.FindDocument(pieces), {4.0, 4.0}, {}))
            << style;
    }
}

// The graph code's own documents in the polar window: the real cuts in both angle conventions,
// and the -3 dB circle in green.
TEST_F(PlotEngineTest, PolarDiagramsOfTheGraphCodeFollowTheirAngleConventions) {
    world.state.View.PlotHost = PlotHostKind::PolarWindow;
    ASSERT_TRUE(world.OpenTestData("farfield_below_horizon_30deg.csv"));
    // The total gain alone, so that no other curve is drawn over it; the circle is curve 2.
    ASSERT_TRUE(lobex::ShowPattern(world.graph, 3, 0));
    for (const int slot : {kAzimuthSlot, kElevationSlot}) {
        ASSERT_EQ(world.Slot(slot).HasBitmap, 1) << slot;
        const PlotMetrics& m = world.Slot(slot).Metrics;
        const QImage picture = ToQImage(world.Slot(slot).Bitmap);
        const PlotDocument& document = *world.api.FindDocument(world.Slot(slot).DocNum);
        ASSERT_EQ(document.curves.size(), 2U);
        const PlotCurve& curve = document.curves[0];
        std::vector<QPointF> pixels;
        int read = 0;
        for (std::size_t i = 0; i < curve.x.size(); ++i) {
            pixels.push_back(PolarPixel(m, curve.x[i], curve.y[i], slot == kAzimuthSlot));
            // The read-out of the window finds the same angle there.
            const PolarReadout value = ReadBack(m, pixels.back().x(), pixels.back().y(), slot);
            if (curve.y[i] > 0.2f && value.inside) {
                ++read;
                const double difference = std::fabs(value.angle - std::fmod(curve.x[i] + 360, 360));
                EXPECT_LT(std::min(difference, 360.0 - difference), 0.5) << curve.x[i];
            }
        }
        EXPECT_GE(read, 3) << slot;
        EXPECT_EQ(Misses(picture, pixels, IsRed, 1.0, 1), std::vector<std::string>{})
            << "slot " << slot;
        // Every green pixel reads back as the circle's radius, and the circle goes all round.
        const float radius = document.curves[1].y.front();
        const double pixel = (m.YHi - m.YLo) / ((m.Right - m.Left) / 2.0);
        std::array<int, 12> sectors{};
        const int green = ForEachPixel(picture, IsGreen, [&](int column, int row) {
            const PolarReadout value = ReadBack(m, column, row, 1);
            EXPECT_NEAR(std::pow(value.gain, 4.0), radius, 1.5 * pixel) << column << "," << row;
            ++sectors[static_cast<std::size_t>(value.angle / 30.0) % 12];
        });
        EXPECT_GT(green, 100);
        EXPECT_EQ(std::count(sectors.begin(), sectors.end(), 0), 0);
    }
}

// The clipping that keeps the curves inside the plotting area, on its own.
// "(x,y)(x,y) | (x,y)...": pieces in drawing order, readable in a failure message.
std::string Text(const std::vector<QPolygonF>& pieces) {
    std::ostringstream out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out << (i > 0 ? " | " : "");
        for (const QPointF& p : pieces[i]) {
            out << '(' << p.x() << ',' << p.y() << ')';
        }
    }
    return out.str();
}

TEST(ClipPolyline, KeepsWhatLiesInsideTheRectangleAndCutsTheRestAtItsEdges) {
    const QRectF box(0.0, 0.0, 10.0, 10.0);
    // What, the line, the pieces left of it.
    const std::tuple<const char*, QPolygonF, std::vector<QPolygonF>> cases[] = {
        {"inside stays whole", {{1, 1}, {5, 5}, {9, 2}}, {{{1, 1}, {5, 5}, {9, 2}}}},
        {"along an edge counts as inside",
         {{0, 0}, {10, 0}, {10, 10}},
         {{{0, 0}, {10, 0}, {10, 10}}}},
        {"leaving ends at the right edge", {{5, 5}, {15, 5}}, {{{5, 5}, {10, 5}}}},
        {"crossing keeps the part between the edges", {{5, -10}, {5, 20}}, {{{5, 0}, {5, 10}}}},
        {"slanted through the bottom edge", {{2, 6}, {6, 14}}, {{{2, 6}, {4, 10}}}},
        {"leaving and coming back makes two pieces",
         {{5, 5}, {15, 5}, {5, 8}},
         {{{5, 5}, {10, 5}}, {{10, 6.5}, {5, 8}}}},
        {"a gap outside splits the curve",
         {{2, 2}, {2, -4}, {8, -4}, {8, 2}},
         {{{2, 2}, {2, 0}}, {{8, 0}, {8, 2}}}},
        {"cutting a corner off", {{-2, 8}, {8, -2}}, {{{0, 6}, {6, 0}}}},
        {"passing outside a corner", {{-5, 4}, {4, -5}}, {}},
        {"round the rectangle without entering", {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}}, {}},
        {"one point inside", {{3, 4}}, {{{3, 4}}}},
        {"no points", {}, {}},
    };
    for (const auto& [name, line, expected] : cases) {
        EXPECT_EQ(Text(ClipPolyline(line, box)), Text(expected)) << name;
    }
}

// The commands as read: Name(args) each, numbers as numbers, texts in <>, omitted ones as _.
std::string Describe(const ParseResult& result) {
    std::ostringstream out;
    for (const PlotCommand& command : result.commands) {
        out << command.name << '(';
        for (std::size_t i = 0; i < command.arguments.size(); ++i) {
            const CommandArgument& argument = command.arguments[i];
            out << (i > 0 ? "," : "");
            if (argument.IsText()) {
                out << '<' << argument.text << '>';
            } else if (argument.IsNumber()) {
                out << argument.number;
            } else {
                out << '_';
            }
        }
        out << ')';
    }
    return out.str();
}

TEST(CommandParser, ReadsCommandsTextsAndNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"[FontPoints(1,8)][GridLineType(1,1)][AutoSize()]",
         "FontPoints(1,8)GridLineType(1,1)AutoSize()"},
        {R"([TextFont(2,10,500,0,0,0,0,"MS Sans Serif")][Title1("Частотные характеристики")])",
         "TextFont(2,10,500,0,0,0,0,<MS Sans Serif>)Title1(<Частотные характеристики>)"},
        {R"([XAxisLabel("")][Title1(" ")])", "XAxisLabel(<>)Title1(< >)"},
        // Labels come from data files: a text ends only at a quote followed by "," or ")".
        {R"cmd([Y2AxisLabel("R "a" [Ом], (x)")][FileSaveAs(4097,"C:\tmp\a,b.emf")])cmd",
         R"cmd(Y2AxisLabel(<R "a" [Ом], (x)>)FileSaveAs(4097,<C:\tmp\a,b.emf>))cmd"},
        // Scale limits need the decimal point: "1,8" is two limits.
        {"[ManualScale(1.8,-0.25,14.35,1e-05)]", "ManualScale(1.8,-0.25,14.35,1e-05)"},
        {"[Title1(\"\xD3\xE3\xEE\xEB\")]", "Title1(<Угол>)"}, // Windows-1251
        {"[ManualScale(,0,,1)]", "ManualScale(_,0,_,1)"},
        {" [ Color ( 2 , 0 , 0 , 255 ) ]\r\n[FileClose()] ", "Color(2,0,0,255)FileClose()"},
    };
    for (const auto& [text, expected] : cases) {
        const ParseResult result = ParseCommands(text);
        EXPECT_TRUE(result.ok()) << text << ": " << result.error;
        EXPECT_EQ(Describe(result), expected) << text;
    }
}

TEST(CommandParser, RefusesBrokenStringsWhole) {
    for (const char* text :
         {"FontPoints(1,8)", "[FontPoints(1,8)", "[FontPoints 1,8)]", "[(1,8)]",
          R"([Title1("unterminated)])", "[ManualScale(1.8.1,0,1,1)]", "[ManualScale(abc,0,1,1)]",
          "[ManualScale(inf,0,1,1)]", "[AutoSize()]x", "[AutoSize()]["}) {
        const ParseResult result = ParseCommands(text);
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_TRUE(result.commands.empty()) << text;
    }
}

TEST(CommandParser, NumberFormsBeyondTheCommandsAbove) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {".5", 0.5}, {"-1.5E+20", -1.5e20}, {"0x0099FF", 39423.0}, {"0x", {}},
        {"1e", {}},  {"1e999", {}},
    };
    for (const auto& [token, value] : cases) {
        EXPECT_EQ(ParseNumber(token), value) << token;
    }
}

} // namespace
} // namespace lobex::plotter
