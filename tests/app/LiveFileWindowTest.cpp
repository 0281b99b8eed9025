#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/Messages.h"
#include "core/Remembered.h"
#include "session/Comparison.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace lobex {
namespace {

using test::Find;
using test::Sample;

// How long a rewrite may take to show: the user should see it within a second.
constexpr int kShownWithinMs = 1000;

QByteArray ReadAll(const std::string& path) {
    return QByteArray::fromStdString(test::ReadBytes(path));
}

// Each number of the given columns of every data line changed by `change`; the header stays.
QByteArray Rewritten(const QByteArray& text, const std::vector<int>& columns,
                     const std::function<double(double)>& change) {
    QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QList<QByteArray> fields = lines[i].trimmed().split(',');
        for (int c : columns) {
            if (c < fields.size() && fields[c] != "-999.00") {
                fields[c] = QByteArray::number(change(fields[c].toDouble()), 'f', 3);
            }
        }
        lines[i] = lines[i].isEmpty() ? QByteArray() : fields.join(',') + "\r";
    }
    return lines.join('\n');
}

class LiveFileWindowTest : public test::MainWindowTestBase {
protected:
    QString Cell(int row, int column) { return GridRow(row).value(column); }
    // Whether the grid shows the text in the cell within the time a rewrite may take.
    bool Shows(int row, int column, const char* text) {
        return QTest::qWaitFor([&] { return Cell(row, column) == QLatin1String(text); },
                               kShownWithinMs);
    }
    QString Status() { return Find<QLabel>(window, "lblStatus")->text(); }
    // MMANA swept again, on 21 MHz.
    static void SweepOn21MHz(const std::string& path) {
        test::Replace(path, Rewritten(ReadAll(path), {0}, [](double mhz) { return mhz + 7.1; }));
    }
    // MMANA calculated again: two dB more everywhere.
    static void TwoDbMore(const std::string& path) {
        test::Replace(path,
                      Rewritten(ReadAll(path), {2, 3, 4}, [](double dbi) { return dbi + 2.0; }));
    }
};

TEST_F(LiveFileWindowTest, ARewrittenSweepIsShownAgainWithTheCurvesAndLogAxisKeptUnlessTurnedOff) {
    const std::string path = harness.Copy("yagi3_20m_sweep.csv");
    window.OpenFileFromOutside(path);
    auto* left = Find<QComboBox>(window, "cmbLeft");
    auto* right = Find<QComboBox>(window, "cmbRight");
    left->setCurrentIndex(3);  // gain
    right->setCurrentIndex(0); // none
    Find<QCheckBox>(window, "chkLogX")->click();
    ASSERT_TRUE(state.View.LogX);
    ASSERT_EQ(Cell(0, 0), QStringLiteral("13.90"));

    // A rewrite while a dialog asked in the middle of some work (a save, a print) expects the
    // data to stay shows once the dialog closes.
    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    SweepOn21MHz(path);
    EXPECT_FALSE(
        QTest::qWaitFor([&] { return Cell(0, 0) != QStringLiteral("13.90"); }, kShownWithinMs));
    dialog.close();
    EXPECT_TRUE(Shows(0, 0, "21.00")) << Cell(0, 0).toStdString();
    // The graph is drawn from the new numbers, as the user had it.
    ASSERT_FALSE(harness.link.XValues.empty());
    EXPECT_FLOAT_EQ(harness.link.XValues.front(), 21.0f);
    // Which curves stay is DocumentSession's; here they reach the graph.
    EXPECT_EQ(harness.link.Record.NumCurves, 1);
    EXPECT_TRUE(Find<QCheckBox>(window, "chkLogX")->isChecked());
    EXPECT_NE(harness.link.PlotCommands.find("[Scale(3)]"), std::string::npos);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("Файл перечитан: "))) << Status().toStdString();
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
    // A reload is no new file for the recent list.
    EXPECT_EQ(ReadRecentFiles(recorders.settings), std::vector<std::string>{path});

    // Reloading turned off stays off, at the next start too.
    Find<QAction>(window, "mnuFileReload")->trigger();
    SweepOn21MHz(path);
    window.ReloadChangedFile(); // as a late notice would
    EXPECT_EQ(Cell(0, 0), QStringLiteral("21.00"));
    frmData next(state, recorders.services, harness.link);
    next.Form_Load();
    EXPECT_FALSE(Find<QAction>(next, "mnuFileReload")->isChecked());
}

TEST_F(LiveFileWindowTest, AHalfWrittenFileKeepsTheDataAndIsToldOnTheStatusLineOnly) {
    const std::string path = harness.Copy("yagi3_20m_sweep.csv");
    window.OpenFileFromOutside(path);
    const QByteArray whole = ReadAll(path);

    for (int attempt = 0; attempt < 2; ++attempt) {
        test::Replace(path, whole.left(whole.indexOf('\n') + 1)); // the header, no rows yet
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Status().isEmpty(); }, kShownWithinMs));
        EXPECT_EQ(Status().toStdString(), "Файл не перечитан: " + std::string(kWrongFormatMessage));
        EXPECT_EQ(Cell(0, 0), QStringLiteral("13.90"));
        EXPECT_EQ(state.Loaded.Data.DataKind, KindSweep);
        EXPECT_TRUE(Find<QComboBox>(window, "cmbLeft")->isEnabled());
        // The writer finishes: the new data shows.
        test::Replace(path, Rewritten(whole, {1}, [](double r) { return r + 1.0; }));
        EXPECT_TRUE(Shows(0, 1, "26.53"));
        test::Replace(path, whole);
        EXPECT_TRUE(Shows(0, 1, "25.53"));
        Find<QLabel>(window, "lblStatus")->clear();
    }
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{}) << "no box, ever";
}

TEST_F(LiveFileWindowTest,
       ARewrittenPatternKeepsThePickedElevationAndThePolarWindowUntilOtherData) {
    const std::string path = harness.Copy("yagi3_20m_farfield.csv");
    window.show();
    window.OpenFileFromOutside(path);
    auto* sets = Find<QComboBox>(window, "cmbParam");
    const int highest = sets->currentIndex();
    // A pick while MMANA is halfway through an export is DocumentSession's (from memory).
    QTest::keyClick(sets, Qt::Key_Down);
    ASSERT_NE(sets->currentIndex(), highest);
    const QString picked = sets->currentText();
    const int entry = sets->currentIndex();
    window.OpenPolarWindow();
    QWidget* polar = test::PolarWindow();
    ASSERT_NE(polar, nullptr);
    auto* maxTotal = Find<QLabel>(*polar, "lblMaxTotal");
    ASSERT_EQ(maxTotal->text(), QStringLiteral("11.74"));

    TwoDbMore(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return maxTotal->text() == QStringLiteral("13.74"); },
                                kShownWithinMs))
        << maxTotal->text().toStdString();
    EXPECT_TRUE(polar->isVisible());
    EXPECT_EQ(state.View.PlotHost, PlotHostKind::PolarWindow);
    EXPECT_EQ(sets->currentIndex(), entry);
    EXPECT_EQ(sets->currentText(), picked);
    EXPECT_EQ(state.View.SelectedSetText, picked.toStdString());

    // Other data in the file is shown as an open shows it.
    test::Replace(path, ReadAll(Sample("yagi3_20m_sweep.csv")));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return state.Loaded.Data.DataKind == KindSweep; }, kShownWithinMs));
    // The diagrams are back in the main window, which draws the sweep.
    EXPECT_EQ(state.View.PlotHost, PlotHostKind::MainWindow);
    EXPECT_FALSE(Find<QWidget>(window, "picPlot")->isHidden());
    EXPECT_EQ(Cell(0, 0), QStringLiteral("13.90"));
    const PlotSlot& graph = harness.link.Slots[kMainSlot];
    EXPECT_EQ(graph.HasBitmap, 1);
    EXPECT_EQ(graph.ClientRect.Width(), Find<QWidget>(window, "picPlot")->width());
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
}

TEST_F(LiveFileWindowTest, RecentFilesOpenFromTheFileMenuAndAMissingOneIsDropped) {
    const std::string sweep = harness.Copy("yagi3_20m_sweep.csv");
    const std::string pattern = harness.Copy("yagi3_20m_farfield.csv");
    auto* recent = Find<QMenu>(window, "mnuFileRecent");
    EXPECT_FALSE(recent->menuAction()->isEnabled()) << "nothing opened yet";
    window.OpenFileFromOutside(sweep);
    window.OpenFileFromOutside(pattern);
    window.OpenFileFromOutside(sweep);
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text(),
              "&1 " + QDir::toNativeSeparators(QString::fromStdString(sweep)));
    EXPECT_EQ(recent->actions()[1]->text(),
              "&2 " + QDir::toNativeSeparators(QString::fromStdString(pattern)));

    // The second entry opens its file and comes first.
    recent->actions()[1]->trigger();
    EXPECT_EQ(state.Loaded.Data.DataKind, KindFarField);

    // A file gone since: said once, dropped from the menu and the settings, nothing loaded.
    QFile::remove(QString::fromStdString(sweep));
    recent->actions()[1]->trigger();
    ASSERT_EQ(recorders.messages.shown.size(), 1u);
    EXPECT_EQ(recorders.messages.shown[0].text,
              "Файл не найден:\r\n" + sweep + "\r\nОн убран из списка последних файлов.");
    EXPECT_EQ(recorders.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(state.Loaded.Data.DataKind, KindFarField);
    EXPECT_EQ(ReadRecentFiles(recorders.settings), std::vector<std::string>{pattern});
    QCoreApplication::processEvents(); // the old entries go once their click is over
    EXPECT_EQ(recent->actions().size(), 1);
}

TEST_F(LiveFileWindowTest, APinnedReferenceShowsBeforeAgainstAfterOfEachCalculation) {
    const std::string path = harness.Copy("yagi3_20m_farfield.csv");
    window.show();
    window.OpenFileFromOutside(path);
    auto* table = Find<QTableWidget>(window, "tblCompare");
    const auto figure = [table](int row, int column) {
        return table->item(row, column)->text().toStdString();
    };
    Find<QAction>(window, "mnuFileComparePin")->trigger();
    ASSERT_FALSE(table->isHidden());
    EXPECT_TRUE(Find<QWidget>(window, "fraMax")->isHidden()) << "the table takes its place";
    EXPECT_EQ(figure(1, 0), "Эталон 1: yagi3_20m_farfield.csv");
    EXPECT_EQ(figure(1, 1), "11.74\n+0.0");
    // The figures the row has no room for are under the pointer.
    const QString tip = table->item(1, 2)->toolTip();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("Эталон 1: yagi3_20m_farfield.csv\n")))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("\nКНД: "))) << tip.toStdString();

    // MMANA calculates again: the diagrams and the table show the new result against the old.
    TwoDbMore(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return figure(0, 1) == "13.74"; }, kShownWithinMs));
    EXPECT_EQ(figure(1, 1), "11.74\n-2.0");
    const auto& commands = harness.api.commands;
    EXPECT_TRUE(std::any_of(commands.begin(), commands.end(), [](const auto& command) {
        return command.second.find("[Legend(3,\"Эталон 1: yagi3_20m_farfield.csv\")]"
                                   "[Color(4,0,0,255)][LineType(4,2)]") != std::string::npos;
    }));

    // A sweep does not compare with a pattern: said, and nothing changes.
    recorders.dialogs.dataFile = Sample("yagi3_20m_sweep.csv");
    Find<QAction>(window, "mnuFileCompare")->trigger();
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{std::string(kCompareOtherKind)});
    EXPECT_EQ(table->rowCount(), 2);

    Find<QAction>(window, "mnuFileCompareClear")->trigger();
    EXPECT_TRUE(table->isHidden());
    EXPECT_FALSE(Find<QWidget>(window, "fraMax")->isHidden());
    EXPECT_TRUE(state.Compare.Results.empty());
}

} // namespace
} // namespace lobex
