#include "MainWindowHarness.h"
#include "WidgetLookup.h"
#include "graphs/ReferenceImpedance.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <complex>
#include <sstream>
#include <string>

// The numbers derived in the window: the reference impedance and its curves, the pattern's
// further figures, a sweep saved as Touchstone.
namespace lobex {
namespace {

using test::Find;

class ImpedanceWindowTest : public ::testing::Test {
protected:
    ImpedanceWindowTest() { harness.window->show(); }

    void Open(const std::string& path) {
        harness.window->OpenFileFromOutside(path);
        recorders.messages.shown.clear();
    }
    // Types a reference impedance and confirms it as the user does, with Enter.
    void EnterZ0(const char* text) {
        auto* z0 = Find<QComboBox>(window, "cmbZ0");
        z0->lineEdit()->setText(QString::fromUtf8(text));
        emit z0->lineEdit()->editingFinished();
    }
    // The SWR a user would work out by hand at sweep point i against a real z0.
    double HandSwr(std::size_t i, double z0) const {
        const std::complex<double> z(state.Loaded.Data.Series[1].Values[i],
                                     state.Loaded.Data.Series[2].Values[i]);
        const double g = std::abs((z - z0) / (z + z0));
        return (1 + g) / (1 - g);
    }

    test::MainWindowHarness harness;
    AppState& state = harness.state;
    test::RecordingServices& recorders = harness.recorders;
    frmData& window = *harness.window;
};

TEST_F(ImpedanceWindowTest, TheChosenZ0RedrawsTheDerivedSwrAndABadOneIsRefused) {
    Open(test::Sample("yagi3_20m_sweep.csv"));
    auto* left = Find<QComboBox>(window, "cmbLeft");
    // The file's five columns, then SWR, |Γ| and return loss at the file's own 50 ohms, then the
    // Smith chart.
    ASSERT_EQ(left->count(), 9);
    EXPECT_EQ(left->itemText(8), QStringLiteral("Диаграмма Вольперта-Смита"));
    EXPECT_EQ(left->itemText(5), QStringLiteral("КСВ при Z0 = 50 Ω"));
    left->setCurrentIndex(5);
    const PlotSlot& slot = harness.link.Slots[kMainSlot];
    ASSERT_EQ(slot.HasBitmap, 1);
    EXPECT_NEAR(harness.link.YValues[0], HandSwr(0, 50.0), 1e-3);

    EnterZ0("75");
    EXPECT_TRUE(recorders.messages.shown.empty());
    EXPECT_EQ(left->currentText(), QStringLiteral("КСВ при Z0 = 75 Ω"));
    EXPECT_NEAR(harness.link.YValues[0], HandSwr(0, 75.0), 1e-3); // drawn again at 75
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
        EXPECT_NEAR(harness.link.YValues[0], HandSwr(0, 75.0), 1e-3);
    }
    // The bandwidth under the graph follows the threshold: none at 2 (the best SWR at 75 ohms
    // is above it), a band at 3.
    auto* bands = Find<QLabel>(window, "lblBands");
    EXPECT_FALSE(bands->text().contains(QStringLiteral("–")));
    Find<QComboBox>(window, "cmbSwrLimit")->activated(2);
    EXPECT_TRUE(bands->text().contains(QStringLiteral("–"))) << bands->text().toStdString();
    EXPECT_EQ(recorders.settings.values["Options/SwrThreshold"], "3");
}

TEST_F(ImpedanceWindowTest, AFigureThePatternCannotGiveReadsADash) {
    // Only the horizon: no elevation beam and no average over the sphere, but the ratios.
    Open(test::Fixture("farfield_single_zenith.csv"));
    EXPECT_EQ(Find<QLabel>(window, "lblFigElevWidth")->text(), QStringLiteral("—"));
    EXPECT_EQ(Find<QLabel>(window, "lblFigDirectivity")->text(), QStringLiteral("—"));
    EXPECT_TRUE(Find<QLabel>(window, "lblFigFB")->text().endsWith(QStringLiteral(" dB")));
    // A whole pattern gives them all; the impedance bar is not shown for it.
    Open(test::Sample("yagi3_20m_farfield.csv"));
    EXPECT_TRUE(Find<QLabel>(window, "lblFigElevWidth")->text().endsWith(QStringLiteral("°")));
    EXPECT_FALSE(Find<QWidget>(window, "fraImpedance")->isVisible());
}

TEST_F(ImpedanceWindowTest, SavingASweepWritesTouchstoneAtTheChosenZ0) {
    Open(test::Sample("yagi3_20m_sweep.csv"));
    EnterZ0("75");
    const QString path = harness.folder.filePath(QStringLiteral("model.s1p"));
    recorders.dialogs.save = {1, path.toStdString()};
    Find<QAction>(window, "mnuFileSave")->trigger();
    EXPECT_EQ(recorders.dialogs.filters.back(), "Touchstone (*.s1p)|*.s1p");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::istringstream lines(file.readAll().toStdString());
    std::string line;
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with("!") && line.find("yagi3_20m_sweep.csv") != std::string::npos);
    while (std::getline(lines, line) && line.starts_with("!")) {
    }
    EXPECT_EQ(line, "# MHz S RI R 75\r");
    // The first frequency read back by hand: Z = Z0 (1 + S) / (1 - S).
    double f = 0, re = 0, im = 0;
    ASSERT_TRUE(lines >> f >> re >> im);
    const std::complex<double> z =
        75.0 * (1.0 + std::complex(re, im)) / (1.0 - std::complex(re, im));
    EXPECT_NEAR(f, 13.9, 1e-6);
    EXPECT_NEAR(z.real(), 25.53, 1e-3);
    EXPECT_NEAR(z.imag(), -14.40, 1e-3);
}

} // namespace
} // namespace lobex
