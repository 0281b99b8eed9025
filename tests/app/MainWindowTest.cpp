#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/DataGrid.h"
#include "core/Lifecycle.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::Find;

class MainWindowTest : public ::testing::Test {
protected:
    test::MainWindowHarness harness;
    QTemporaryDir& folder = harness.folder;
    AppState& state = harness.state;
    test::RecordingServices& recorders = harness.recorders;
    std::unique_ptr<frmData>& window = harness.window;
};

TEST_F(MainWindowTest, StartsWithTheEmptyGridAndTheControlsOfNoData) {
    auto* grid = Find<QTableView>(*window, "ctlGrid");
    ASSERT_NE(grid, nullptr);
    const QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->rowCount(), 20);
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        header << caption;
        EXPECT_GE(grid->columnWidth(c), 53); // never narrower than 800 twips
        EXPECT_EQ(grid->columnWidth(c), grid->columnWidth(0));
        // The caption fits its column with room for the header's padding.
        EXPECT_LE(grid->horizontalHeader()->fontMetrics().horizontalAdvance(caption) + 8,
                  grid->columnWidth(c))
            << caption.toStdString();
    }
    EXPECT_EQ(header.join(QLatin1Char('|')), QString::fromUtf8(kGridLanguageHeader.data()));
    EXPECT_EQ(grid->currentIndex().row(), 0);

    EXPECT_FALSE(Find<QAction>(*window, "mnuFileSave")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*window, "cmbParam")->isEnabled());
    EXPECT_TRUE(Find<QFrame>(*window, "fraControls2")->isHidden());
    EXPECT_FALSE(Find<QFrame>(*window, "fraControls1")->isHidden());
    EXPECT_FALSE(Find<QMenu>(*window, "mnuTools")->menuAction()->isVisible());
    EXPECT_TRUE(Find<QWidget>(*window, "picPolar1")->isHidden());
    EXPECT_FALSE(Find<QWidget>(*window, "picPlot")->isHidden());
}

TEST_F(MainWindowTest, FillCombosListsTheCurvesOfEachKind) {
    for (int i = 0; i < kSeriesCount; ++i) {
        std::string& label = state.Loaded.Data.Series[static_cast<std::size_t>(i)].Label;
        label = "S";
        label += std::to_string(i);
    }
    // kind passed -> number of curves offered
    const std::pair<int, int> cases[] = {{0, 6}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    auto* left = Find<QComboBox>(*window, "cmbLeft");
    auto* right = Find<QComboBox>(*window, "cmbRight");
    for (const auto& [kind, curves] : cases) {
        window->FillCombos(kind);
        ASSERT_EQ(left->count(), curves) << kind;
        ASSERT_EQ(right->count(), curves + 1) << kind;
        EXPECT_EQ(right->itemText(0), QStringLiteral("None"));
        EXPECT_EQ(right->itemData(0).toInt(), 0);
        for (int k = 0; k < curves; ++k) {
            EXPECT_EQ(left->itemText(k), QStringLiteral("S%1").arg(k + 1));
            EXPECT_EQ(left->itemData(k).toInt(), k + 1);
            EXPECT_EQ(right->itemText(k + 1), QStringLiteral("S%1").arg(k + 1));
            EXPECT_EQ(right->itemData(k + 1).toInt(), k + 1);
        }
        EXPECT_EQ(left->currentIndex(), 0);
        EXPECT_EQ(right->currentIndex(), 0);
        EXPECT_FALSE(left->isHidden());
        EXPECT_FALSE(right->isHidden());
    }
}

TEST_F(MainWindowTest, TheCloseBoxIsRefusedWithAMessage) {
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(recorders.messages.shown.size(), 1U);
    const test::RecordedMessage& message = recorders.messages.shown[0];
    EXPECT_EQ(message.text,
              "Чтобы выйти из программы, нажмите кнопку Выход,\r\nлибо меню Файл->Выход");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.caption, "Lobex");
}

TEST_F(MainWindowTest, ExitByButtonOrMenuClosesTheWindowAndDeletesTheTemporaryBitmap) {
    for (const bool byMenu : {false, true}) {
        test::MainWindowHarness h;
        QFile bitmap(QString::fromStdString(h.state.Paths.TempBitmapFile));
        ASSERT_TRUE(bitmap.open(QIODevice::WriteOnly));
        bitmap.write("BM");
        bitmap.close();
        h.window->show();
        if (byMenu) {
            Find<QAction>(*h.window, "mnuFileExit")->trigger();
        } else {
            QTest::mouseClick(Find<QPushButton>(*h.window, "cmdExit"), Qt::LeftButton);
        }
        EXPECT_FALSE(h.window->isVisible()) << byMenu;
        EXPECT_TRUE(h.recorders.messages.shown.empty()) << byMenu;
        EXPECT_FALSE(bitmap.exists()) << byMenu;
        EXPECT_EQ(h.state.View.PlotHost, PlotHostKind::None) << byMenu;
    }
}

TEST_F(MainWindowTest, HelpOpensTheDocumentBesideTheProgramOrSaysItCannot) {
    Find<QAction>(*window, "mnuHelpContent")->trigger();
    ASSERT_EQ(recorders.help.opened.size(), 1U);
    EXPECT_EQ(recorders.help.opened[0], "/opt/lobex/Help/Lobex.html");
    EXPECT_TRUE(recorders.messages.shown.empty());

    recorders.help.answer = false;
    Find<QAction>(*window, "mnuHelpContent")->trigger();
    ASSERT_EQ(recorders.messages.shown.size(), 1U);
    EXPECT_NE(recorders.messages.shown[0].text.find("/opt/lobex/Help/Lobex.html"),
              std::string::npos);
}

// The real program, as a user or a script starts it.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TMPDIR"), home.path());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        program.setProcessEnvironment(environment);
        program.setProgram(QStringLiteral(LOBEX_EXE));
    }
    ~ProgramTest() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, ScreenshotSavesAPictureOfTheMainWindowAndEnds) {
    const QString picture = home.filePath(QStringLiteral("main.png"));
    program.setArguments({QStringLiteral("--screenshot"), picture});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 800);
    EXPECT_GE(image.height(), 500);
}

TEST_F(ProgramTest, ASecondCopyEndsAtOnceAndLeavesTheFirstRunning) {
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    QTest::qWait(1500); // let the first copy take its lock

    QProcess second;
    second.setProcessEnvironment(program.processEnvironment());
    second.start(QStringLiteral(LOBEX_EXE), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(ProgramTest, AnUnknownOptionIsRefusedWithUsage) {
    program.setArguments({QStringLiteral("--bogus")});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("usage"));
}

} // namespace
} // namespace lobex
