#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/DataGrid.h"
#include "core/Lifecycle.h"
#include "core/Messages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace lobex {
namespace {

using test::Find;
using test::Fixture;
using test::Sample;

class LoadFlowWindowTest : public test::MainWindowTestBase {
protected:
    QTemporaryDir& folder = harness.folder;
};

TEST_F(LoadFlowWindowTest, ThePolarWindowTakesTheDiagramsAndGivesThemBackOnClosing) {
    window.show();
    window.OpenFileFromOutside(Sample("yagi3_20m_farfield.csv"));
    EXPECT_EQ(Find<QLabel>(window, "lblMaxTotal")->text(), QStringLiteral("11.74"));
    const QRect before = window.geometry();
    window.OpenPolarWindow();
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
    EXPECT_EQ(window.geometry(), before);
    EXPECT_FALSE(Find<QWidget>(window, "picPolar1")->isHidden());
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
        {"table_optimisation_3sets.csv", KindTable, "R", false},
        {"currents_3wires.csv", KindCurrents, "Amplitude", false},
        {"nearfield_electric.csv", KindNearField, "Amplitude", false},
        {"farfield_below_horizon_30deg.csv", KindFarField, "Верт", true},
    };
    Find<QRadioButton>(window, "optSrc(1)")->click();
    for (const Case& c : cases) {
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = Fixture(c.file);
        Find<QPushButton>(window, "cmdRun")->click();
        for (const auto& message : recorders.messages.shown) {
            ADD_FAILURE() << c.file << ": " << message.text;
        }
        EXPECT_EQ(state.Loaded.Data.DataKind, c.kind) << c.file;
        EXPECT_FALSE(GridRow(0).front().isEmpty()) << c.file;
        EXPECT_EQ(Find<QComboBox>(window, "cmbLeft")->currentText().toStdString(), c.leftCurve)
            << c.file;
        EXPECT_EQ(state.View.PatternShown, c.pattern) << c.file;
        EXPECT_EQ(harness.link.Slots[c.pattern ? 1 : 0].HasBitmap, 1) << c.file;
        // Data from a file cannot be saved as CSV (only MMANA's table can); a sweep saves as
        // Touchstone.
        EXPECT_EQ(Find<QAction>(window, "mnuFileSave")->isEnabled(), c.kind == KindSweep) << c.file;
    }
    EXPECT_EQ(recorders.dialogs.captions.front(), "Open File");
}

TEST_F(LoadFlowWindowTest, EachFailedOpenIsToldAndLeavesWhatWasShown) {
    const std::string junk = harness.Write("junk.CSV", "this,is,not\r\nany,MMANA,export\r\n");
    const std::string farField =
        harness.Write("broken.csv", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n"
                                    "0,0,1,2,3\r\n10,0,1,2,3\r\n0,5,1,2,3\r\n10,x5,1,2,3\r\n");
    // The message, and as its detailed text where reading stopped and why.
    const std::tuple<std::string, std::string_view, std::string> cases[] = {
        {"", "", ""}, // the dialog was cancelled: no message
        {junk, kWrongFormatMessage, "строка 1: заголовок не узнан"},
        {folder.filePath(QStringLiteral("gone.csv")).toStdString(), kFileNotFoundMessage, ""},
        {folder.path().toStdString() + "/sub.csv", kWrongFormatMessage, "это папка"},
        {farField, kWrongFormatMessage, "строка 5, поле 2: нет числа"},
    };
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub.csv")));
    Find<QRadioButton>(window, "optSrc(1)")->click();
    const std::string sweep = Sample("yagi3_20m_sweep.csv");
    window.OpenFileFromOutside(sweep);
    const QStringList firstRow = GridRow(0);
    const QString source = Find<QLabel>(window, "lblSource")->text();
    for (const auto& [file, message, detail] : cases) {
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = file;
        Find<QPushButton>(window, "cmdRun")->click();
        // One message per broken file, and none for a cancelled dialog.
        std::vector<std::string> expected;
        if (!message.empty()) {
            expected.emplace_back(message);
        }
        EXPECT_EQ(recorders.messages.Texts(), expected) << file;
        if (!message.empty()) {
            EXPECT_EQ(recorders.messages.shown.at(0).detail, detail) << file;
        }
        // The sweep on show stays whole: data, grid, graph, controls and where it came from.
        EXPECT_TRUE(Find<QMenu>(window, "mnuFileGraph")->isEnabled()) << file;
        EXPECT_EQ(state.Loaded.CurrentFile, sweep) << file;
        EXPECT_EQ(GridRow(0), firstRow) << file;
        EXPECT_EQ(harness.link.Slots[0].HasBitmap, 1) << file;
        EXPECT_EQ(Find<QLabel>(window, "lblSource")->text(), source) << file;
    }
    // Switching the source keeps it too: only the next load that succeeds replaces it.
    Find<QRadioButton>(window, "optSrc(0)")->click();
    EXPECT_EQ(GridRow(0), firstRow);
}

TEST_F(LoadFlowWindowTest, AFileDroppedOnTheWindowOpens) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Sample("yagi3_20m_sweep.csv")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(state.Loaded.Data.DataKind, KindSweep);
    EXPECT_TRUE(recorders.dialogs.captions.empty());
}

class MmanaSourceTest : public LoadFlowWindowTest {
protected:
    MmanaSourceTest() {
        recorders.mmana.text = test::ReadBytes(Fixture("table_optimisation_3sets.csv"));
    }

    void Open() { Find<QPushButton>(window, "cmdRun")->click(); }
};

// The messages and status texts of each refusal are pinned in core (LoadFlowTest); here the
// window shows the status and keeps the table on show.
TEST_F(MmanaSourceTest, ATableFillsTheGridAndTheSetListAndEachFailureKeepsItShown) {
    struct Case {
        bool running;
        std::string text;
        std::size_t messages;
        std::string_view status;
    };
    const Case cases[] = {{false, "x", 1, kInputErrorStatus},
                          {true, "", 0, "Данные не найдены в MMANA"}};
    recorders.mmana.running = true;
    Open();
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(test::ReadBytes(state.Paths.DataInFile), recorders.mmana.text + "\r\n");
    auto* sets = Find<QComboBox>(window, "cmbParam");
    ASSERT_EQ(sets->count(), 3); // the largest set number
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "21.00", "-13.00"}));

    // Another set, picked as a user picks it, reloads that set and keeps the list.
    sets->setCurrentIndex(1);
    EXPECT_EQ(sets->count(), 3);
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "22.00", "-14.00"}));
    ASSERT_EQ(state.Loaded.Data.DataKind, KindMmanaWindow);

    // Each failure shows its status and keeps the table shown.
    const std::string shown = state.Loaded.Data.DataText;
    for (const Case& c : cases) {
        recorders.mmana.running = c.running;
        recorders.mmana.text = c.text;
        recorders.messages.shown.clear();
        Open();
        EXPECT_EQ(recorders.messages.shown.size(), c.messages) << c.status;
        EXPECT_EQ(Find<QLabel>(window, "lblStatus")->text().toStdString(), c.status);
        EXPECT_TRUE(Find<QMenu>(window, "mnuFileGraph")->isEnabled());
        EXPECT_EQ(state.Loaded.Data.DataText, shown);
    }
    // The next table read clears the error from the status line, and the read-outs too.
    recorders.mmana.running = recorders.mmana.hasMemo = true;
    recorders.mmana.text = test::ReadBytes(Fixture("table_optimisation_3sets.csv"));
    Find<QLabel>(window, "lblX")->setText(QStringLiteral("stale"));
    Open();
    EXPECT_EQ(Find<QLabel>(window, "lblStatus")->text(), QString());
    EXPECT_EQ(Find<QLabel>(window, "lblX")->text(), QString());
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
