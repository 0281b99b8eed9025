#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "WidgetLookup.h"
#include "app/PictureBox.h"
#include "app/frmData.h"
#include "graphs/CurveReading.h"
#include "graphs/ReferenceImpedance.h"
#include "model/Impedance.h"
#include "model/Touchstone.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

// The graph area of the main window: the graph fitted to its box and read under the pointer,
// the numbers derived in the window (the reference impedance and its curves, the pattern's
// further figures, a sweep saved as Touchstone).
namespace lobex {
namespace {

using test::Find;
using test::Fixture;
using test::Sample;

class GraphWindowTest : public test::MainWindowTestBase {
protected:
    // Until the box's graph is drawn again to fit it: the elevation diagram's picture may be
    // lower than its box, to leave its result frames room below the horizon.
    bool ResizeAndWait(QSize size, PictureBox* box, bool lowerAllowed = false) {
        window.resize(size);
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

    // Types a reference impedance and confirms it as the user does, with Enter.
    void EnterZ0(const char* text) {
        auto* z0 = Find<QComboBox>(window, "cmbZ0");
        z0->lineEdit()->setText(QString::fromUtf8(text));
        emit z0->lineEdit()->editingFinished();
    }
    // The SWR at sweep point i against a real z0, as ImpedanceTest pins it by hand.
    double Swr(std::size_t i, double z0) const {
        const auto& series = state.Loaded.Data.Series;
        return Reflect({series[1].Values[i], series[2].Values[i]}, z0).value->swr;
    }
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

TEST_F(GraphWindowTest, TheGraphFollowsItsBoxAndTheReadoutLandsOnTheCurve) {
    Open(Sample("yagi3_20m_sweep.csv"));
    auto* box = Find<PictureBox>(window, "picPlot");
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
        const QLabel* value = Find<QLabel>(window, "lblY");
        EXPECT_TRUE(value->text().startsWith(QString::fromStdString(red.name + "=")));
        // Half a pixel either way moves along the curve by at most this much.
        const double step = data.Series[0].Values[i + 1] - x;
        const double pixel = (slot.Metrics.XHi - slot.Metrics.XLo) /
                             static_cast<double>(slot.Metrics.Right - slot.Metrics.Left);
        const double slope = std::max(std::fabs(red.y[i + 1] - y), std::fabs(y - red.y[i - 1]));
        EXPECT_NEAR(ReadoutNumber(value), y, slope * pixel / step + 0.005) << size.width();
        EXPECT_NEAR(ReadoutNumber(Find<QLabel>(window, "lblX")), x, pixel);
        ASSERT_TRUE(box->Overlay().crosshair.has_value());
        EXPECT_NEAR(box->Overlay().crosshair->x(), std::lround(column), 0.5);
    }
}

TEST_F(GraphWindowTest, ASweepMarksItsLowestSwrAndItsResonance) {
    Open(Fixture("sweep_matched_14150kHz_cr.csv"));
    auto* box = Find<PictureBox>(window, "picPlot");
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

TEST_F(GraphWindowTest, DiagramsAreSquareCentredAndClearOfTheResults) {
    Open(Sample("yagi3_20m_farfield.csv"));
    auto* azimuth = Find<PictureBox>(window, "picPolar1");
    auto* elevation = Find<PictureBox>(window, "picPolar2");
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
        const auto* results = Find<QFrame>(window, "fraPolar2");
        EXPECT_TRUE(results->isVisible());
        EXPECT_GT(results->geometry().top(), (e.Top + e.Bottom) / 2 + 2);
    }
    // A difference graph shows curves in its lower half too: the results go under all of it.
    Find<QAction>(window, "mnuFileComparePin")->trigger();
    Find<QAction>(window, "mnuFileCompareDifference")->trigger();
    ASSERT_TRUE(state.Compare.Difference);
    const PlotSlot& difference = harness.link.Slots[kElevationSlot];
    EXPECT_GT(difference.ClientRect.Height(), elevation->height() / 3);
    EXPECT_GE(Find<QFrame>(window, "fraPolar2")->geometry().top(), difference.ClientRect.bottom);
}

TEST_F(GraphWindowTest, TheChosenZ0RedrawsTheDerivedSwrAndIsSavedWithTouchstoneABadOneRefused) {
    Open(Sample("yagi3_20m_sweep.csv"));
    auto* left = Find<QComboBox>(window, "cmbLeft");
    // The file's five columns, then SWR, |Γ| and return loss at the file's own 50 ohms, then the
    // Smith chart.
    ASSERT_EQ(left->count(), 9);
    EXPECT_EQ(left->itemText(8), QStringLiteral("Диаграмма Вольперта-Смита"));
    EXPECT_EQ(left->itemText(5), QStringLiteral("КСВ при Z0 = 50 Ω"));
    left->setCurrentIndex(5);
    const PlotSlot& slot = harness.link.Slots[kMainSlot];
    ASSERT_EQ(slot.HasBitmap, 1);
    EXPECT_NEAR(harness.link.YValues[0], Swr(0, 50.0), 1e-3);

    EnterZ0("75");
    EXPECT_TRUE(recorders.messages.shown.empty());
    EXPECT_EQ(left->currentText(), QStringLiteral("КСВ при Z0 = 75 Ω"));
    EXPECT_NEAR(harness.link.YValues[0], Swr(0, 75.0), 1e-3); // drawn again at 75
    EXPECT_EQ(recorders.settings.values["Options/ReferenceImpedance"], "75");
    // The documented SWR column stays as the file has it.
    EXPECT_FLOAT_EQ(state.Loaded.Data.Series[3].Values[0], 2.17f);

    for (const char* bad : {"0", "-50", "abc", ""}) {
        SCOPED_TRACE(bad);
        recorders.messages.shown.clear();
        EnterZ0(bad);
        ASSERT_EQ(recorders.messages.Texts(),
                  std::vector<std::string>{std::string(kReferenceImpedanceEntryMessage)});
        EXPECT_EQ(Find<QComboBox>(window, "cmbZ0")->currentText(), QStringLiteral("75"));
        EXPECT_NEAR(harness.link.YValues[0], Swr(0, 75.0), 1e-3);
    }
    // The bandwidth under the graph follows the threshold: none at 2 (the best SWR at 75 ohms
    // is above it), a band at 3.
    auto* bands = Find<QLabel>(window, "lblBands");
    EXPECT_FALSE(bands->text().contains(QStringLiteral("–")));
    Find<QComboBox>(window, "cmbSwrLimit")->activated(2);
    EXPECT_TRUE(bands->text().contains(QStringLiteral("–"))) << bands->text().toStdString();
    EXPECT_EQ(recorders.settings.values["Options/SwrThreshold"], "3");

    // The sweep saved as Touchstone at the chosen Z0.
    const QString path = harness.folder.filePath(QStringLiteral("model.s1p"));
    recorders.dialogs.save = {1, path.toStdString()};
    Find<QAction>(window, "mnuFileSave")->trigger();
    EXPECT_EQ(recorders.dialogs.filters.back(), "Touchstone (*.s1p)|*.s1p");

    // The file's own lines are WriteTouchstone's (ImpedanceTest); here the sweep on show at 75.
    const std::string text = test::ReadBytes(path.toStdString());
    EXPECT_TRUE(text.starts_with("! Lobex: yagi3_20m_sweep.csv\r\n")) << text;
    const Checked<TouchstoneSweep> read = ReadTouchstone(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value->z0, 75.0);
    EXPECT_FLOAT_EQ(read.value->sweep.points.at(0).frequency, 13.9f);
    EXPECT_NEAR(read.value->sweep.points[0].impedance.real(), 25.53, 1e-3);
    EXPECT_NEAR(read.value->sweep.points[0].impedance.imag(), -14.40, 1e-3);
}

TEST_F(GraphWindowTest, AFigureThePatternCannotGiveReadsADash) {
    // Only the horizon: no elevation beam and no average over the sphere, but the ratios.
    Open(Fixture("farfield_single_zenith.csv"));
    EXPECT_EQ(Find<QLabel>(window, "lblFigElevWidth")->text(), QStringLiteral("—"));
    EXPECT_EQ(Find<QLabel>(window, "lblFigDirectivity")->text(), QStringLiteral("—"));
    EXPECT_TRUE(Find<QLabel>(window, "lblFigFB")->text().endsWith(QStringLiteral(" dB")));
    // A whole pattern gives them all; the impedance bar is not shown for it.
    Open(Sample("yagi3_20m_farfield.csv"));
    EXPECT_TRUE(Find<QLabel>(window, "lblFigElevWidth")->text().endsWith(QStringLiteral("°")));
    EXPECT_FALSE(Find<QWidget>(window, "fraImpedance")->isVisible());
}

} // namespace
} // namespace lobex
