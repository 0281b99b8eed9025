#include "MainWindowHarness.h"
#include "WidgetLookup.h"
#include "app/PictureBox.h"
#include "app/frmData.h"
#include "graphs/CursorReadout.h"
#include "graphs/CurveReading.h"
#include "plotter/PlotOutput.h"

#include <QFrame>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

using test::Find;
using test::Fixture;
using test::Sample;

class GraphFitWindowTest : public ::testing::Test {
protected:
    void Open(const std::string& path) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), 30000));
        window->OpenFileFromOutside(path);
    }

    // Resizes the window and waits until the graph in `box` has been drawn again at the box's
    // new size.
    // Until the box's graph is drawn again to fit it: the elevation diagram's picture may be
    // lower than its box, to leave its result frames room below the horizon.
    bool ResizeAndWait(QSize size, PictureBox* box, bool lowerAllowed = false) {
        window->resize(size);
        return QTest::qWaitFor(
            [box, lowerAllowed] {
                const QSize picture = box->Picture().deviceIndependentSize().toSize();
                return picture.width() == box->width() &&
                       (lowerAllowed ? picture.height() > 0 && picture.height() <= box->height()
                                     : picture.height() == box->height());
            },
            30000);
    }

    // The number a read-out shows after its "name=".
    static double ReadoutNumber(const QLabel* label) {
        QString text = label->text().section(QLatin1Char('='), 1);
        return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    }

    test::MainWindowHarness harness;
    AppState& state = harness.state;
    std::unique_ptr<frmData>& window = harness.window;
};

// Whether a pixel near (column, row) of the picture is the red of the first curve.
bool RedNear(const QImage& picture, double column, double row) {
    const double ratio = picture.devicePixelRatio();
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint at(static_cast<int>(std::lround((column + 0.5) * ratio)) + dx,
                            static_cast<int>(std::lround((row + 0.5) * ratio)) + dy);
            const QColor c = picture.pixelColor(at);
            if (c.red() > 200 && c.green() < 120 && c.blue() < 120) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(GraphFitWindowTest, TheGraphFollowsItsBoxAndTheReadoutLandsOnTheCurve) {
    Open(Sample("yagi3_20m_sweep.csv"));
    auto* box = Find<PictureBox>(*window, "picPlot");
    const PlotSlot& slot = harness.link.Slots[kMainSlot];
    ASSERT_EQ(slot.HasBitmap, 1);
    EXPECT_EQ(box->Picture().deviceIndependentSize().toSize(), box->size());

    for (const QSize size : {QSize(1500, 950), QSize(1000, 640)}) {
        const QSize before = box->size();
        ASSERT_TRUE(ResizeAndWait(size, box)) << size.width();
        EXPECT_NE(box->size(), before);
        EXPECT_EQ(QSize(slot.Bitmap.Width, slot.Bitmap.Height), box->size());

        // A point of the red curve, well inside: the pointer above it reads its value, and
        // the picture shows the curve there.
        const DataSet& data = state.Loaded.Data;
        const DrawnCurve& red = slot.Curves.curves.front();
        const std::size_t i = data.Series[0].Values.size() / 3;
        const double x = data.Series[0].Values[i];
        const double y = red.y[i];
        const double column = ColumnOf(slot.Metrics, x, false).value();
        const double row = RowOf(slot.Metrics, y, false).value();
        EXPECT_TRUE(RedNear(box->Picture(), column, row)) << size.width();

        QTest::mouseMove(box, QPoint(static_cast<int>(std::lround(column)), slot.Metrics.Top + 5));
        const QLabel* value = Find<QLabel>(*window, "lblY");
        EXPECT_TRUE(value->text().startsWith(QString::fromStdString(red.name + "=")));
        // Half a pixel either way moves along the curve by at most this much.
        const double step = data.Series[0].Values[i + 1] - x;
        const double pixel = (slot.Metrics.XHi - slot.Metrics.XLo) /
                             static_cast<double>(slot.Metrics.Right - slot.Metrics.Left);
        const double slope = std::max(std::fabs(red.y[i + 1] - y), std::fabs(y - red.y[i - 1]));
        EXPECT_NEAR(ReadoutNumber(value), y, slope * pixel / step + 0.005) << size.width();
        EXPECT_NEAR(ReadoutNumber(Find<QLabel>(*window, "lblX")), x, pixel);
        ASSERT_TRUE(box->Overlay().crosshair.has_value());
        EXPECT_NEAR(box->Overlay().crosshair->x(), std::lround(column), 0.5);
    }
}

TEST_F(GraphFitWindowTest, ASweepMarksItsLowestSwrAndItsResonance) {
    Open(Fixture("sweep_matched_14150kHz_cr.csv"));
    auto* box = Find<PictureBox>(*window, "picPlot");
    const PlotMetrics& m = harness.link.Slots[kMainSlot].Metrics;
    const std::vector<PictureMark>& marks = box->Overlay().marks;
    ASSERT_EQ(marks.size(), 2U);
    const std::string& sep = state.DecimalSeparator;
    // Lowest SWR 2.00 at 14.150 MHz; the reactance crosses zero between -2 and 6 ohms.
    EXPECT_EQ(marks[0].text.toStdString(), "КСВ мин. 2" + sep + "00");
    EXPECT_NEAR(marks[0].column, ColumnOf(m, 14.15, false).value(), 0.01);
    EXPECT_EQ(marks[1].text.toStdString(), "Резонанс 14" + sep + "113");
    EXPECT_NEAR(marks[1].column, ColumnOf(m, 14.1125, false).value(), 0.01);
    // The red curve is R: neither mark lies on it.
    EXPECT_FALSE(marks[0].row.has_value());
    EXPECT_EQ(box->Overlay().area, QRect(QPoint(m.Left, m.Top), QPoint(m.Right, m.Bottom)));
}

TEST_F(GraphFitWindowTest, DiagramsAreSquareCentredAndClearOfTheResults) {
    Open(Sample("yagi3_20m_farfield.csv"));
    auto* azimuth = Find<PictureBox>(*window, "picPolar1");
    auto* elevation = Find<PictureBox>(*window, "picPolar2");
    int diameter = 0;
    for (const QSize size : {QSize(1100, 700), QSize(1600, 1000)}) {
        ASSERT_TRUE(ResizeAndWait(size, azimuth));
        ASSERT_TRUE(ResizeAndWait(size, elevation, true));
        const PlotMetrics& m = harness.link.Slots[kAzimuthSlot].Metrics;
        EXPECT_EQ(m.Right - m.Left, m.Bottom - m.Top);
        EXPECT_NEAR((m.Left + m.Right + 3) / 2.0, azimuth->width() / 2.0, 1.5);
        // The diagram takes most of the box's shorter side, more in a larger window.
        const int side = std::min(azimuth->width(), azimuth->height());
        EXPECT_GT(m.Right - m.Left, side * 6 / 10);
        EXPECT_GT(m.Right - m.Left, diameter);
        diameter = m.Right - m.Left;

        // The results start below the elevation diagram's horizon.
        const PlotMetrics& e = harness.link.Slots[kElevationSlot].Metrics;
        const auto* results = Find<QFrame>(*window, "fraPolar2");
        EXPECT_TRUE(results->isVisible());
        EXPECT_GT(results->geometry().top(), (e.Top + e.Bottom) / 2 + 2);
    }
    // A difference graph shows curves in its lower half too: the results go under all of it.
    Find<QAction>(*window, "mnuFileComparePin")->trigger();
    Find<QAction>(*window, "mnuFileCompareDifference")->trigger();
    ASSERT_TRUE(state.Compare.Difference);
    const PlotSlot& difference = harness.link.Slots[kElevationSlot];
    EXPECT_GT(difference.ClientRect.Height(), elevation->height() / 3);
    EXPECT_GE(Find<QFrame>(*window, "fraPolar2")->geometry().top(), difference.ClientRect.bottom);
}

} // namespace
} // namespace lobex
