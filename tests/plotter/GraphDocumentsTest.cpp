#include "LoadHarness.h"
#include "ReadOut.h"
#include "core/LoadFlow.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "plotter/PlotEngine.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

// The graph documents as the graph code composes them, drawn by the real engine: the engine
// takes every command string, and the metrics it reports put the data where it was drawn.
namespace lobex::plotter {
namespace {

bool IsRed(QRgb pixel) {
    return qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel)) > 80;
}
bool IsBlue(QRgb pixel) {
    return qBlue(pixel) - std::max(qRed(pixel), qGreen(pixel)) > 80;
}
bool IsGreen(QRgb pixel) {
    return qGreen(pixel) - std::max(qRed(pixel), qBlue(pixel)) > 40;
}

// A pixel of the colour at the position or one of its neighbours (lines are antialiased and
// one pixel wide, so a value half-way between pixels may colour either).
bool ColourNear(const QImage& image, QPointF position, bool (*colour)(QRgb)) {
    const int column = static_cast<int>(std::lround(position.x()));
    const int row = static_cast<int>(std::lround(position.y()));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.valid(column + dx, row + dy) && colour(image.pixel(column + dx, row + dy))) {
                return true;
            }
        }
    }
    return false;
}

struct World {
    World() {
        engine.SetDecimalSeparator(".");
        state.PlotHost = PlotHostKind::MainWindow;
        data.onShowPattern = [this](int left, int right) {
            return lobex::ShowPattern(graph, left, right);
        };
        EXPECT_TRUE(StartPlotter(link, state, messages));
    }

    std::string Fixture(const char* name) const {
        return (lobex::test::TestDataFolder() / name).string();
    }
    QImage Picture(int slot) const {
        return ToQImage(link.Slots[static_cast<std::size_t>(slot)].Bitmap);
    }
    const PlotMetrics& Metrics(int slot) const {
        return link.Slots[static_cast<std::size_t>(slot)].Metrics;
    }
    const PlotDocument& Document(int slot) const {
        const PlotDocument* document =
            engine.FindDocument(link.Slots[static_cast<std::size_t>(slot)].DocNum);
        EXPECT_NE(document, nullptr);
        return *document;
    }

    PlotEngine engine;
    AppState state;
    lobex::test::RecordingView data;
    HeadlessGraphView view;
    lobex::test::RecordingMessages messages;
    PlotLink link{engine};
    GraphContext graph{state, data, view, messages, link};
    LoadContext load{state, data, messages};
};

// Where the rectangular read-out formulas put a value: their inverse.
QPointF RectangularPixel(const PlotMetrics& m, double x, double y, bool logX) {
    const double tx = logX ? std::log(x / m.XLo) / std::log(static_cast<double>(m.XHi) / m.XLo)
                           : (x - m.XLo) / (static_cast<double>(m.XHi) - m.XLo);
    const double ty = (y - m.YLo) / (static_cast<double>(m.YHi) - m.YLo);
    return {m.Left + tx * (m.Right - m.Left), m.Bottom + ty * (m.Top - m.Bottom)};
}

// Where the polar read-out formulas put an angle and a radius: compass angles for the azimuth
// diagram, mathematical ones for the elevation diagram.
QPointF PolarPixel(const PlotMetrics& m, double angle, double radius, bool compass) {
    const double centreX = (m.Left + m.Right + 3) / 2.0;
    const double centreY = (m.Top + m.Bottom + 3) / 2.0;
    const double pixels = (radius - m.YLo) / (m.YHi - m.YLo) * (m.Right - m.Left) / 2.0;
    const double a = angle * std::numbers::pi / 180.0;
    return compass ? QPointF(centreX + pixels * std::sin(a), centreY - pixels * std::cos(a))
                   : QPointF(centreX + pixels * std::cos(a), centreY - pixels * std::sin(a));
}

TEST(GraphDocuments, ASweepGraphPutsItsCurvesWhereTheMetricsSay) {
    struct Case {
        bool logX;
        int right;
    };
    for (const Case c : {Case{false, 2}, Case{true, 2}, Case{false, 0}}) {
        const bool logX = c.logX;
        World w;
        ASSERT_TRUE(RunFileOpen(w.load, w.Fixture("sweep_50ohm.csv")));
        w.state.LogX = logX;
        w.view.SetSlotSize(kMainSlot, 800, 500);
        PlotXY(w.graph, 1, c.right);
        ASSERT_GT(w.link.Slots[0].DocNum, 0) << w.engine.LastError();
        ASSERT_EQ(w.link.Slots[0].HasBitmap, 1);
        EXPECT_TRUE(w.messages.shown.empty());
        const QImage picture = w.Picture(kMainSlot);
        ASSERT_EQ(picture.size(), QSize(800, 500));
        const PlotMetrics& m = w.Metrics(kMainSlot);
        const std::vector<float>& x = w.state.Data.Series[0].Values;
        const std::vector<float>& r = w.state.Data.Series[1].Values;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const QPointF pixel = RectangularPixel(m, x[i], r[i], logX);
            EXPECT_TRUE(ColourNear(picture, pixel, IsRed))
                << "point " << i << " at " << pixel.x() << "," << pixel.y();
        }
        if (c.right == 0) {
            continue;
        }
        // The second curve is drawn, in blue, on its own axis.
        int blue = 0;
        for (int row = 0; row < picture.height(); ++row) {
            for (int column = 0; column < picture.width(); ++column) {
                blue += IsBlue(picture.pixel(column, row)) ? 1 : 0;
            }
        }
        EXPECT_GT(blue, 100);
        EXPECT_TRUE(w.Document(kMainSlot).OnSecondAxis(2));
        EXPECT_EQ(w.Document(kMainSlot).scaleCode, logX ? 3 : 1);
    }
}

TEST(GraphDocuments, PolarDiagramsFollowTheirAngleConventions) {
    World w;
    w.view.SetSlotSize(kAzimuthSlot, 380, 343);
    w.view.SetSlotSize(kElevationSlot, 380, 343);
    ASSERT_TRUE(RunFileOpen(w.load, w.Fixture("farfield_below_horizon_30deg.csv")));
    // The main window gets no circle.
    EXPECT_EQ(w.Document(kAzimuthSlot).curves.size(), 2U);
    // The total gain alone, so that no other curve is drawn over it.
    ASSERT_TRUE(lobex::ShowPattern(w.graph, 3, 0));
    for (const int slot : {kAzimuthSlot, kElevationSlot}) {
        ASSERT_EQ(w.link.Slots[static_cast<std::size_t>(slot)].HasBitmap, 1) << slot;
        const QImage picture = w.Picture(slot);
        const PlotMetrics& m = w.Metrics(slot);
        const PlotCurve& curve = w.Document(slot).curves.at(0);
        ASSERT_EQ(w.Document(slot).curves.size(), 1U);
        for (std::size_t i = 0; i < curve.x.size(); ++i) {
            const QPointF pixel = PolarPixel(m, curve.x[i], curve.y[i], slot == kAzimuthSlot);
            EXPECT_TRUE(ColourNear(picture, pixel, IsRed))
                << "slot " << slot << " angle " << curve.x[i] << " at " << pixel.x() << ","
                << pixel.y();
            // The read-out of the window finds the same angle there.
            if (curve.y[i] > 0.2f) {
                const test::PolarValue value = test::PolarReadOut(m, pixel.x(), pixel.y(), slot);
                const double expected = std::fmod(curve.x[i] + 360.0, 360.0);
                const double difference = std::fabs(value.angle - expected);
                EXPECT_LT(std::min(difference, 360.0 - difference), 0.5) << curve.x[i];
            }
        }
    }
}

TEST(GraphDocuments, ThePolarWindowDrawsTheMinus3dBCircleInGreen) {
    World w;
    w.state.PlotHost = PlotHostKind::PolarWindow;
    w.view.SetSlotSize(kAzimuthSlot, 500, 500);
    w.view.SetSlotSize(kElevationSlot, 500, 500);
    ASSERT_TRUE(RunFileOpen(w.load, w.Fixture("farfield_below_horizon_30deg.csv")));
    const PlotDocument& document = w.Document(kAzimuthSlot);
    ASSERT_EQ(document.curves.size(), 3U);
    EXPECT_EQ(document.StyleOf(3).color, (Rgb{0, 128, 0}));
    EXPECT_EQ(document.StyleOf(3).lineType, 3);
    EXPECT_EQ(document.StyleOf(2).lineType, 1);
    const float radius = document.curves[2].y.front();

    // Every green pixel reads back as the circle's radius, and the circle goes all round.
    const QImage picture = w.Picture(kAzimuthSlot);
    const PlotMetrics& m = w.Metrics(kAzimuthSlot);
    const double pixelsPerUnit = (m.Right - m.Left) / 2.0 / (m.YHi - m.YLo);
    std::array<int, 12> sectors{};
    int green = 0;
    for (int row = 0; row < picture.height(); ++row) {
        for (int column = 0; column < picture.width(); ++column) {
            if (!IsGreen(picture.pixel(column, row))) {
                continue;
            }
            ++green;
            const test::PolarValue value = test::PolarReadOut(m, column, row, 1);
            EXPECT_NEAR(value.radius, radius, 1.5 / pixelsPerUnit) << column << "," << row;
            ++sectors[static_cast<std::size_t>(value.angle / 30.0) % 12];
        }
    }
    EXPECT_GT(green, 100);
    for (const int count : sectors) {
        EXPECT_GT(count, 0);
    }
}

} // namespace
} // namespace lobex::plotter
