#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/DataGrid.h"
#include "core/Lifecycle.h"
#include "core/Messages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace lobex {
namespace {

using test::Find;
using test::Fixture;
using test::Sample;

class LoadFlowWindowTest : public ::testing::Test {
protected:
    QStringList GridRow(int row) {
        const QAbstractItemModel* model = Find<QTableView>(*window, "ctlGrid")->model();
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells << model->index(row, c).data().toString();
        }
        return cells;
    }

    test::MainWindowHarness harness;
    QTemporaryDir& folder = harness.folder;
    AppState& state = harness.state;
    test::RecordingServices& recorders = harness.recorders;
    std::unique_ptr<frmData>& window = harness.window;
};

TEST_F(LoadFlowWindowTest, ASweepChosenInTheDialogFillsTheGridAndTheCurveLists) {
    recorders.dialogs.dataFile = Sample("yagi3_20m_sweep.csv");
    Find<QRadioButton>(*window, "optSrc(1)")->click();
    Find<QPushButton>(*window, "cmdRun")->click();

    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
    ASSERT_EQ(recorders.dialogs.captions, std::vector<std::string>{"Open File"});
    EXPECT_EQ(state.Loaded.Data.DataKind, KindSweep);
    EXPECT_EQ(GridRow(0), (QStringList{"13.90", "25.53", "-14.40", "2.17", "7.27", "14.33"}));
    EXPECT_EQ(GridRow(25).front(), QStringLiteral("14.40"));
    EXPECT_TRUE(GridRow(26).front().isEmpty());
    EXPECT_EQ(Find<QComboBox>(*window, "cmbRight")->currentText(), QStringLiteral("j X"));
    // Data from a file cannot be saved as CSV: only MMANA's table can.
    EXPECT_FALSE(Find<QAction>(*window, "mnuFileSave")->isEnabled());
}

std::string ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

TEST_F(LoadFlowWindowTest, ThePolarWindowTakesTheDiagramsAndGivesThemBackOnClosing) {
    window->show();
    window->OpenFileFromOutside(Sample("yagi3_20m_farfield.csv"));
    EXPECT_EQ(Find<QLabel>(*window, "lblMaxTotal")->text(), QStringLiteral("11.74"));
    const QRect before = window->geometry();
    window->OpenPolarWindow();
    QWidget* polar = test::PolarWindow();
    ASSERT_NE(polar, nullptr);
    EXPECT_TRUE(polar->isVisible());
    // Drawn in the polar window, at its size.
    EXPECT_EQ(harness.link.Slots[1].ClientRect.Width(),
              Find<QWidget>(*polar, "picPolar1")->width());

    // The close box gives the diagrams back to the main window, drawn again.
    const QPointer<QWidget> closed(polar);
    polar->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed.isNull() || !closed->isVisible());
    EXPECT_EQ(state.View.PlotHost, PlotHostKind::MainWindow);
    EXPECT_EQ(window->geometry(), before);
    EXPECT_FALSE(Find<QWidget>(*window, "picPolar1")->isHidden());
}

TEST_F(LoadFlowWindowTest, LogAxesFollowTheBoxesWhereTheDataAllowThem) {
    window->OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    auto* logX = Find<QCheckBox>(*window, "chkLogX");
    auto* logY = Find<QCheckBox>(*window, "chkLogY");
    // Frequencies are positive; the reactance of the blue curve goes below zero.
    EXPECT_TRUE(logX->isEnabled());
    EXPECT_FALSE(logY->isEnabled());

    logX->click();
    EXPECT_TRUE(state.View.LogX);
    EXPECT_NE(harness.link.PlotCommands.find("[Scale(3)]"), std::string::npos);

    // A click on a disabled box changes nothing.
    logY->click();
    EXPECT_FALSE(state.View.LogY);
}

TEST_F(LoadFlowWindowTest, TheSameCurveOnBothSidesIsDrawnOnce) {
    window->OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    auto* left = Find<QComboBox>(*window, "cmbLeft");
    auto* right = Find<QComboBox>(*window, "cmbRight");
    left->setCurrentIndex(1); // series 2, which the right list shows too
    EXPECT_EQ(right->currentIndex(), 0);
    EXPECT_EQ(harness.link.Record.NumCurves, 1);
}

TEST_F(LoadFlowWindowTest, ThePointerReadsTheGraphInsideThePlottingAreaOnly) {
    window->show();
    window->OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    const PlotMetrics& m = harness.link.Slots[0].Metrics;
    auto* plot = Find<QWidget>(*window, "picPlot");
    auto* x = Find<QLabel>(*window, "lblX");
    auto* y = Find<QLabel>(*window, "lblY");

    QTest::mouseMove(plot, QPoint(m.Left, m.Bottom));
    EXPECT_EQ(x->text(), QStringLiteral("X=13.90"));
    // The red curve's value at that frequency, under its own name.
    EXPECT_TRUE(y->text().startsWith(QStringLiteral("R=")));
    QTest::mouseMove(plot, QPoint(m.Left - 1, m.Bottom));
    EXPECT_TRUE(y->text().isEmpty());
}

TEST_F(LoadFlowWindowTest, EveryKindOfFileOpensThroughTheDialogAndIsDrawn) {
    struct Case {
        const char* file;
        std::int16_t kind;
        const char* leftCurve;
        bool pattern;
    };
    const Case cases[] = {
        {"sweep_50ohm.csv", KindSweep, "R", false},
        {"sweep_matched_14150kHz_cr.csv", KindSweep, "R", false},
        {"table_optimisation_3sets.csv", KindTable, "R", false},
        {"currents_3wires.csv", KindCurrents, "Amplitude", false},
        {"nearfield_electric.csv", KindNearField, "Amplitude", false},
        {"farfield_below_horizon_30deg.csv", KindFarField, "Верт", true},
    };
    Find<QRadioButton>(*window, "optSrc(1)")->click();
    for (const Case& c : cases) {
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = Fixture(c.file);
        Find<QPushButton>(*window, "cmdRun")->click();
        for (const auto& message : recorders.messages.shown) {
            ADD_FAILURE() << c.file << ": " << message.text;
        }
        EXPECT_EQ(state.Loaded.Data.DataKind, c.kind) << c.file;
        EXPECT_FALSE(GridRow(0).front().isEmpty()) << c.file;
        EXPECT_EQ(Find<QComboBox>(*window, "cmbLeft")->currentText().toStdString(), c.leftCurve)
            << c.file;
        EXPECT_EQ(state.View.PatternShown, c.pattern) << c.file;
        EXPECT_EQ(harness.link.Slots[c.pattern ? 1 : 0].HasBitmap, 1) << c.file;
    }
}

TEST_F(LoadFlowWindowTest, CtrlCCopiesTheSelectedRowsAsABlockAndTheSelectionStaysOnData) {
    window->OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    auto* grid = Find<QTableView>(*window, "ctlGrid");
    const QAbstractItemModel* model = grid->model();
    // Rows 2 to 3 and, below the data, empty rows that are no part of the block.
    grid->selectionModel()->select(QItemSelection(model->index(1, 0), model->index(2, 0)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int empty = state.Loaded.Data.GridRowCount; // the first row below the data
    grid->selectionModel()->select(
        QItemSelection(model->index(empty, 0), model->index(empty + 1, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              GridRow(1).join(QLatin1Char('\t')) + QLatin1Char('\n') +
                  GridRow(2).join(QLatin1Char('\t')) + QLatin1Char('\n'));

    // Moving below the last data row goes back to it.
    grid->setCurrentIndex(model->index(40, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->currentIndex().row(), state.Loaded.Data.GridRowCount - 1);
}

TEST_F(LoadFlowWindowTest, EachFailedOpenIsToldAndLeavesWhatWasShown) {
    QFile odd(folder.filePath(QStringLiteral("model.pf3")));
    ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
    odd.write("x");
    odd.close();
    QFile junk(folder.filePath(QStringLiteral("junk.CSV")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this,is,not\r\nany,MMANA,export\r\n");
    junk.close();
    const std::pair<std::string, std::string_view> cases[] = {
        {"", ""}, // the dialog was cancelled: no message
        {odd.fileName().toStdString(), kUnknownFormatMessage},
        {junk.fileName().toStdString(), kWrongFormatMessage},
        {folder.filePath(QStringLiteral("gone.csv")).toStdString(), kFileNotFoundMessage},
    };
    Find<QRadioButton>(*window, "optSrc(1)")->click();
    const std::string sweep = Sample("yagi3_20m_sweep.csv");
    window->OpenFileFromOutside(sweep);
    const QStringList firstRow = GridRow(0);
    const QString source = Find<QLabel>(*window, "lblSource")->text();
    for (const auto& [file, message] : cases) {
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = file;
        Find<QPushButton>(*window, "cmdRun")->click();
        // One message per broken file, and none for a cancelled dialog.
        std::vector<std::string> expected;
        if (!message.empty()) {
            expected.emplace_back(message);
        }
        EXPECT_EQ(recorders.messages.Texts(), expected) << file;
        // The sweep on show stays whole: data, grid, graph, controls and where it came from.
        EXPECT_TRUE(Find<QMenu>(*window, "mnuFileGraph")->isEnabled()) << file;
        EXPECT_EQ(state.Loaded.CurrentFile, sweep) << file;
        EXPECT_EQ(GridRow(0), firstRow) << file;
        EXPECT_EQ(harness.link.Slots[0].HasBitmap, 1) << file;
        EXPECT_EQ(Find<QLabel>(*window, "lblSource")->text(), source) << file;
    }
    // Switching the source keeps it too: only the next load that succeeds replaces it.
    Find<QRadioButton>(*window, "optSrc(0)")->click();
    EXPECT_EQ(GridRow(0), firstRow);
}

TEST_F(LoadFlowWindowTest, AFileDroppedOnTheWindowOpens) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Sample("yagi3_20m_sweep.csv")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(state.Loaded.Data.DataKind, KindSweep);
    EXPECT_TRUE(recorders.dialogs.captions.empty());
}

class MmanaSourceTest : public LoadFlowWindowTest {
protected:
    MmanaSourceTest() { recorders.mmana.text = ReadAll(Fixture("table_optimisation_3sets.csv")); }

    void Open() { Find<QPushButton>(*window, "cmdRun")->click(); }
};

// The messages and status texts of each refusal are pinned in core (LoadFlowTest); here the
// window shows the status and keeps the table on show.
TEST_F(MmanaSourceTest, EachFailureShowsItsStatusAndKeepsTheTableShown) {
    struct Case {
        bool running;
        std::string text;
        std::size_t messages;
        std::string_view status;
    };
    const Case cases[] = {
        {false, "x", 1, kInputErrorStatus},
        {true, "", 0, "Данные не найдены в MMANA"},
    };
    recorders.mmana.running = true;
    Open();
    ASSERT_EQ(state.Loaded.Data.DataKind, KindMmanaWindow);
    const std::string shown = state.Loaded.Data.DataText;
    for (const Case& c : cases) {
        recorders.mmana.running = c.running;
        recorders.mmana.text = c.text;
        recorders.messages.shown.clear();
        Open();
        EXPECT_EQ(recorders.messages.shown.size(), c.messages) << c.status;
        EXPECT_EQ(Find<QLabel>(*window, "lblStatus")->text().toStdString(), c.status);
        EXPECT_TRUE(Find<QMenu>(*window, "mnuFileGraph")->isEnabled());
        EXPECT_EQ(state.Loaded.Data.DataText, shown);
    }
    // The next table read clears the error from the status line, and the read-outs too.
    recorders.mmana.running = recorders.mmana.hasMemo = true;
    recorders.mmana.text = ReadAll(Fixture("table_optimisation_3sets.csv"));
    Find<QLabel>(*window, "lblX")->setText(QStringLiteral("stale"));
    Open();
    EXPECT_EQ(Find<QLabel>(*window, "lblStatus")->text(), QString());
    EXPECT_EQ(Find<QLabel>(*window, "lblX")->text(), QString());
}

TEST_F(MmanaSourceTest, ATableFillsTheGridAndTheSetListAndKeepsACopy) {
    recorders.mmana.running = true;
    Open();
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(ReadAll(state.Paths.DataInFile), recorders.mmana.text + "\r\n");
    auto* sets = Find<QComboBox>(*window, "cmbParam");
    ASSERT_EQ(sets->count(), 3); // the largest set number
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "21.00", "-13.00"}));

    // Another set, picked as a user picks it, reloads that set and keeps the list.
    sets->setCurrentIndex(1);
    EXPECT_EQ(sets->count(), 3);
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "22.00", "-14.00"}));
}

TEST_F(MmanaSourceTest, SaveExportsWhatTheGridShowsAsCsv) {
    recorders.mmana.running = true;
    Open();
    const std::string csv = folder.filePath(QStringLiteral("export.csv")).toStdString();
    recorders.dialogs.save = {1, csv};
    Find<QAction>(*window, "mnuFileSave")->trigger();

    const std::string written = ReadAll(csv);
    EXPECT_NE(written.find("\r\n1,1,5.20,21.00,-13.00,1.50,7.10,15.00,22.50\r\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(Find<QLabel>(*window, "lblStatus")->text().toStdString(), SavedStatus(csv));
}

// Finding MMANA under Wine runs a helper program, which takes a moment.
TEST_F(MmanaSourceTest, TheWaitCursorShowsWhileMmanaIsLookedFor) {
    std::optional<Qt::CursorShape> cursor;
    recorders.mmana.whileFinding = [&cursor] {
        const QCursor* shown = QApplication::overrideCursor();
        cursor = shown != nullptr ? shown->shape() : Qt::ArrowCursor;
    };
    Open();
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace lobex
