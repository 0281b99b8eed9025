#include "Recorders.h"
#include "StandInMmana.h"
#include "app/frmData.h"
#include "core/Lifecycle.h"
#include "graphs/PlotLink.h"
#include "platform/MmanaWindowLink.h"
#include "plotter/PlotEngine.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

// The whole road from an MMANA running under Wine to the main window: the stand-in MMANA, the
// helper, the link, and the window's own load flow with the source "MMANA".
class WineLoadFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::UseTestWinePrefix(); }
    static void TearDownTestSuite() { test::StopTestWineServer(); }

    WineLoadFlowTest() {
        PrepareStartupState(state, {"/opt/lobex", folder.path().toStdString(), ".", '/'});
        window.Form_Load();
        StartPlotter(plotLink, state, messages);
    }
    void StartMmana(const QStringList& arguments) { mmana.Start(arguments); }

    QString Status() const {
        return window.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
    }
    void Open() { window.findChild<QPushButton*>(QStringLiteral("cmdRun"))->click(); }

    QTemporaryDir folder;
    AppState state;
    test::RecordingMessages messages;
    test::MemorySettings settings;
    test::RecordingHelp help;
    test::FakeFileDialogs dialogs;
    std::unique_ptr<MmanaWindowLink> link = CreateMmanaWindowLink(UTILS_FOLDER);
    Services services{messages, settings, help, dialogs, *link};
    plotter::PlotEngine engine;
    PlotLink plotLink{engine};
    frmData window{state, services, plotLink};
    test::StandInMmana mmana;
};

TEST_F(WineLoadFlowTest, AnOptimisationTableFillsTheGridTheSetListAndTheCopy) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "Wine's windows need a display; run under xvfb-run";
    }
    const QString table = QStringLiteral(LOBEX_TEST_DATA_DIR "/table_optimisation_3sets.csv");
    StartMmana({table});
    Open();

    for (const auto& message : messages.shown) {
        ADD_FAILURE() << message.text;
    }
    EXPECT_EQ(state.Loaded.Data.DataKind, KindMmanaWindow);
    QFile copy(QString::fromStdString(state.Paths.DataInFile));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    QFile original(table);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), original.readAll() + "\r\n");
    auto* sets = window.findChild<QComboBox*>(QStringLiteral("cmbParam"));
    EXPECT_EQ(sets->count(), 3);
    const QAbstractItemModel* grid =
        window.findChild<QTableView*>(QStringLiteral("ctlGrid"))->model();
    EXPECT_EQ(grid->index(0, 0).data().toString(), QStringLiteral("5.20"));
    EXPECT_EQ(plotLink.Slots[0].HasBitmap, 1);
}

TEST_F(WineLoadFlowTest, EachWayOfNotFindingTheTableGetsItsMessageAndStatus) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "Wine's windows need a display; run under xvfb-run";
    }
    Open();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "MMANA не загружена");
    EXPECT_EQ(Status(), QStringLiteral("Ошибка ввода данных"));

    messages.shown.clear();
    StartMmana({});
    Open();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Status(), QStringLiteral("Данные не найдены в MMANA"));
    mmana.Stop();

    const QString notATable = folder.filePath(QStringLiteral("notes.txt"));
    QFile file(notATable);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Some notes\r\nthat are no result table at all, not even close\r\n");
    file.close();
    StartMmana({notATable});
    Open();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Неправильный формат данных");
    EXPECT_EQ(Status(), QStringLiteral("Ошибка ввода данных"));
}

} // namespace
} // namespace lobex

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
