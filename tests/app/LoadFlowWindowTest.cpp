#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "MultibandNec.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/NecDeckOpen.h"
#include "app/frmData.h"
#include "core/Messages.h"
#include "core/NecRun.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace lobex {
namespace {

using test::Find;
using test::Fixture;
using test::Sample;

using LoadFlowWindowTest = test::MainWindowTestBase;

TEST_F(LoadFlowWindowTest, ThePolarWindowTakesTheDiagramsAndGivesThemBackOnClosing) {
    window.show();
    window.OpenFileFromOutside(Sample("yagi3_20m_farfield.csv"));
    EXPECT_EQ(Find<QLabel>(window, "lblMaxTotal")->text(), QStringLiteral("11.74"));
    const QRect before = window.geometry();
    window.OpenPolarWindow();
    QWidget* polar = test::PolarWindow(); // the one on show
    ASSERT_NE(polar, nullptr);
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
    // The file, its kind, the left list's curve, whether the diagrams show.
    const std::tuple<const char*, std::int16_t, const char*, bool> cases[] = {
        {"sweep_50ohm.csv", KindSweep, "R", false},
        {"table_optimisation_3sets.csv", KindTable, "R", false},
        {"currents_3wires.csv", KindCurrents, "Amplitude", false},
        {"nearfield_electric.csv", KindNearField, "Amplitude", false},
        {"farfield_below_horizon_30deg.csv", KindFarField, "Верт", true},
    };
    Find<QRadioButton>(window, "optSrc(1)")->click();
    for (const auto& [file, kind, leftCurve, pattern] : cases) {
        SCOPED_TRACE(file);
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = Fixture(file);
        Find<QPushButton>(window, "cmdRun")->click();
        EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
        EXPECT_EQ(state.Loaded.Data.DataKind, kind);
        EXPECT_FALSE(GridRow(0).front().isEmpty());
        EXPECT_EQ(Find<QComboBox>(window, "cmbLeft")->currentText().toStdString(), leftCurve);
        EXPECT_EQ(state.View.PatternShown, pattern);
        EXPECT_EQ(harness.link.Slots[pattern ? 1 : 0].HasBitmap, 1);
        // Data from a file cannot be saved as CSV (only MMANA's table can); a sweep saves as
        // Touchstone.
        EXPECT_EQ(Find<QAction>(window, "mnuFileSave")->isEnabled(), kind == KindSweep);
    }
}

// Which file fails with which message and cause is the load's (LoadFlowTest, ReadersTest); here
// the window tells the cause below its message and keeps what it showed.
TEST_F(LoadFlowWindowTest, EachFailedOpenIsToldAndLeavesWhatWasShown) {
    const std::string farField =
        harness.Write("broken.csv", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n"
                                    "0,0,1,2,3\r\n10,0,1,2,3\r\n0,5,1,2,3\r\n10,x5,1,2,3\r\n");
    // The message, and as its detailed text where reading stopped and why.
    const std::tuple<std::string, std::vector<std::string>, std::string> cases[] = {
        {"", {}, ""}, // the dialog was cancelled: no message
        {farField, {std::string(kWrongFormatMessage)}, "строка 5, поле 2: нет числа"},
    };
    Find<QRadioButton>(window, "optSrc(1)")->click();
    const std::string sweep = Sample("yagi3_20m_sweep.csv");
    window.OpenFileFromOutside(sweep);
    const QStringList firstRow = GridRow(0);
    const QString source = Find<QLabel>(window, "lblSource")->text();
    for (const auto& [file, messages, detail] : cases) {
        recorders.messages.shown.clear();
        recorders.dialogs.dataFile = file;
        Find<QPushButton>(window, "cmdRun")->click();
        EXPECT_EQ(recorders.messages.Texts(), messages) << file;
        if (!messages.empty()) {
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

// The messages and status texts of each refusal are pinned in core
// (LoadFlow.ReadsTheTableOutOfTheRunningMmanaOrSaysWhyNot); here the window shows the status and
// keeps the table on show.
TEST_F(MmanaSourceTest, ATableFillsTheGridAndTheSetListAndAFailureKeepsItShown) {
    recorders.mmana.running = true;
    Open();
    EXPECT_EQ(recorders.messages.Texts(), std::vector<std::string>{});
    auto* sets = Find<QComboBox>(window, "cmbParam");
    ASSERT_EQ(sets->count(), 3); // the largest set number
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "21.00", "-13.00"}));

    // Another set, picked as a user picks it, reloads that set and keeps the list.
    sets->setCurrentIndex(1);
    EXPECT_EQ(sets->count(), 3);
    EXPECT_EQ(GridRow(0).mid(0, 3), (QStringList{"5.20", "22.00", "-14.00"}));
    ASSERT_EQ(state.Loaded.Data.DataKind, KindMmanaWindow);

    // MMANA gone: its message, the status, and the table still shown.
    const std::string shown = state.Loaded.Data.DataText;
    recorders.mmana.running = false;
    Open();
    EXPECT_EQ(recorders.messages.shown.size(), 1U);
    EXPECT_EQ(Find<QLabel>(window, "lblStatus")->text().toStdString(), kInputErrorStatus);
    EXPECT_TRUE(Find<QMenu>(window, "mnuFileGraph")->isEnabled());
    EXPECT_EQ(state.Loaded.Data.DataText, shown);
    // The next table read clears the error from the status line, and the read-outs too.
    recorders.mmana.running = true;
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

constexpr int kRunWithinMs = 20000;

// Runs go into a temporary folder of the test's own, so that what a run leaves behind is seen.
class NecDeckOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", scratch_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TMPDIR", oldTmp_); }

    std::vector<std::string> RunFolders() const {
        std::vector<std::string> folders;
        for (const auto& entry :
             std::filesystem::directory_iterator(scratch_.path().toStdString())) {
            if (entry.path().filename().string().rfind("lobex-nec-", 0) == 0) {
                folders.push_back(entry.path().string());
            }
        }
        return folders;
    }

    std::string WriteDeck(const std::string& name, const std::string& text) const {
        const std::string path = scratch_.path().toStdString() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    QTemporaryDir scratch_;
    QByteArray oldTmp_;
    QWidget window_;
    test::RecordingMessages messages_;
    std::vector<std::string> opened_;
    NecDeckOpen run_{&window_, messages_, "Lobex",
                     [this](const std::string&, const std::string& output) {
                         opened_.push_back(output);
                     }};
};

TEST_F(NecDeckOpenTest, ADeckOpensItsOutputAndAFailureKeepsItWithNec2csText) {
    const std::string deck = (test::TestDataFolder() / "nec" / "yagi3.nec").string();
    run_.Run(deck);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run_.Running(); }, kRunWithinMs));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(std::filesystem::path(opened_[0]).filename(), "yagi3.out");
    EXPECT_GT(std::filesystem::file_size(opened_[0]), 1000u);

    // The output on show stays while a broken deck fails beside it.
    run_.Run(WriteDeck("broken.nec", "CM broken\nCE\nXX 1 2 3\nEN\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run_.Running(); }, kRunWithinMs));
    EXPECT_EQ(opened_.size(), 1u);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].text.find("nec2c failed on"), std::string::npos)
        << messages_.shown[0].text;
    EXPECT_TRUE(std::filesystem::exists(opened_[0]));
    EXPECT_EQ(RunFolders().size(), 1u) << "only the folder of the output on show";
}

TEST_F(NecDeckOpenTest, CancelStopsNec2cAndLeavesNoFolder) {
    // A long run: many frequencies of a fine pattern.
    const std::string deck =
        WriteDeck("slow.nec", "CM slow\nCE\nGW 1 41 0 -5 0 0 5 0 0.005\nGE 0\nEX 0 1 21 0 1 0\n"
                              "FR 0 400 0 0 10 0.05\nRP 0 181 361 1000 0 0 1 1\nEN\n");
    run_.Run(deck);
    ASSERT_TRUE(run_.Running());
    EXPECT_EQ(RunFolders().size(), 1u);
    QTest::qWait(200);
    run_.Cancel();
    EXPECT_FALSE(run_.Running());
    EXPECT_TRUE(RunFolders().empty());
    QTest::qWait(100);
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(NecDeckOpenTest, KilledCopiesFoldersGoAtTheNextStartAndLiveOnesStay) {
    // Processes that have ended, one reaped and one not yet (as a killed copy may stay a while):
    // their folders are left as a killed copy leaves them.
    const auto ended = [](bool reaped) {
        const pid_t child = fork();
        if (child == 0) {
            _exit(0);
        }
        siginfo_t info{};
        waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | (reaped ? 0 : WNOWAIT));
        return child;
    };
    const pid_t gone = ended(true);
    const pid_t zombie = ended(false);
    const std::string base = scratch_.path().toStdString() + "/lobex-nec-";
    for (const std::string& folder :
         {base + std::to_string(gone) + "-aB3xYz", base + std::to_string(zombie) + "-zZ0000",
          base + std::to_string(getpid()) + "-live01"}) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/model.out") << "output";
    }
    RemoveStaleNecFolders();
    waitpid(zombie, nullptr, 0);
    EXPECT_EQ(RunFolders(), std::vector<std::string>{base + std::to_string(getpid()) + "-live01"});
}

TEST_F(NecDeckOpenTest, TheMenuComputesAModelThatTheTitleSourceAndRecentFilesName) {
    test::MainWindowHarness harness;
    const std::string model = scratch_.path().toStdString() + "/yagi3.maa";
    std::filesystem::copy_file(test::TestDataFolder() / "maa" / "yagi3.maa", model);
    harness.recorders.dialogs.openFile = model;
    auto* compute = Find<QAction>(*harness.window, "mnuFileComputeNec");
    ASSERT_TRUE(compute->isEnabled()) << "nec2c is installed for the tests";
    compute->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.state.View.PatternShown; }, kRunWithinMs));
    EXPECT_TRUE(harness.window->windowTitle().startsWith(QStringLiteral("yagi3.maa (NEC-2) - ")))
        << harness.window->windowTitle().toStdString();
    const auto label = [&](const char* name) {
        return Find<QLabel>(*harness.window, name)->text().toStdString();
    };
    EXPECT_EQ(label("lblSource"), model + " (NEC-2)");
    EXPECT_EQ(label("lblStatus"), kComputedWithNecStatus);
    EXPECT_TRUE(Find<QAction>(*harness.window, "mnuFileRecent(0)")
                    ->text()
                    .contains(QString::fromStdString(model)));
    EXPECT_GT(harness.state.Loaded.Pattern.MaxGain, 5.0f) << "a 3-element Yagi's forward gain";

    // The model rewritten is computed again from itself: the output it replaces had a folder
    // that goes with it.
    const std::string before = harness.state.Loaded.CurrentFile;
    const std::size_t told = harness.recorders.messages.shown.size();
    harness.window->ReloadChangedFile();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return harness.state.Loaded.CurrentFile != before; }, kRunWithinMs));
    EXPECT_EQ(harness.recorders.messages.shown.size(), told) << "nothing asked, nothing told";
    EXPECT_EQ(label("lblStatus"), kComputedWithNecStatus);
    EXPECT_EQ(RunFolders().size(), 1u);
}

TEST_F(NecDeckOpenTest, ALargeOutputIsReadWhileTheWindowGoesOnAndALaterOpenWins) {
    test::MainWindowHarness harness;
    const std::string large = scratch_.path().toStdString() + "/multiband.out";
    ASSERT_TRUE(test::WriteMultibandNecOutput(large));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(5);

    QElapsedTimer clock;
    clock.start();
    harness.window->OpenFileFromOutside(large);
    EXPECT_FALSE(harness.state.View.PatternShown) << "the open returns before the read ends";
    const int ticksBefore = ticks;
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.state.View.PatternShown; }, kRunWithinMs));
    const qint64 readMs = clock.elapsed();
    EXPECT_GT(ticks, ticksBefore) << "the event loop ran during the read";
    EXPECT_TRUE(harness.window->windowTitle().startsWith(QStringLiteral("multiband.out - ")));
    EXPECT_TRUE(harness.recorders.messages.shown.empty());

    // A file opened while the large one is read stays on show when that read ends.
    harness.window->OpenFileFromOutside(large);
    harness.window->OpenFileFromOutside(test::Sample("yagi3_20m_sweep.csv"));
    QTest::qWait(static_cast<int>(3 * readMs) + 200);
    EXPECT_TRUE(harness.window->windowTitle().startsWith(QStringLiteral("yagi3_20m_sweep.csv")))
        << harness.window->windowTitle().toStdString();
    EXPECT_EQ(harness.state.Loaded.Data.DataKind, KindSweep);
}

// A deck rewritten runs again: its output is read as a reload reads a file, the frequency kept.
TEST_F(NecDeckOpenTest, ADeckRunAgainKeepsItsFrequency) {
    test::MainWindowHarness harness;
    const std::string yagi = test::ReadBytes(test::TestDataFolder() / "nec" / "yagi3.nec");
    harness.window->OpenFileFromOutside(WriteDeck("yagi3.nec", yagi));
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.state.View.PatternShown; }, kRunWithinMs));
    harness.window->PickNec(14.2, NecPart::Pattern);
    std::string moved = yagi;
    moved.replace(moved.find("FR 0 5 0 0 14.0 0.1"), 19, "FR 0 3 0 0 14.0 0.15");
    WriteDeck("yagi3.nec", moved);
    const std::string before = harness.state.Loaded.CurrentFile;
    harness.window->ReloadChangedFile();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return harness.state.Loaded.CurrentFile != before; }, kRunWithinMs));
    EXPECT_EQ(Find<QComboBox>(*harness.window, "cmbNecFrequency")->currentText(),
              QStringLiteral("14.15"));
}

} // namespace
} // namespace lobex
