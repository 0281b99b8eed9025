#include "platform/MmanaWindowLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

// Stops the test prefix's server and whatever still runs in it.
void StopTestWineServer() {
    QProcess::execute(QStandardPaths::findExecutable(QStringLiteral("wineserver")),
                      {QStringLiteral("-k")});
}

// The stand-in MMANA under Wine, in a prefix of the tests' own (never the user's), ended when
// the test ends.
class WineLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("WINEPREFIX", WINE_PREFIX);
        qputenv("WINEDEBUG", "-all");
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
    }
    static void TearDownTestSuite() { StopTestWineServer(); }

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "Wine's windows need a display; run under xvfb-run";
        }
    }
    void TearDown() override { StopMmana(); }

    // Starts it with its arguments (a table file, nothing for an empty memo, "--no-memo") and
    // waits until its window is up; the first start in a new prefix creates the prefix.
    void StartMmana(const QStringList& arguments) {
        mmana_.start(QStandardPaths::findExecutable(QStringLiteral("wine")),
                     QStringList{QStringLiteral(FAKE_MMANA)} + arguments);
        ASSERT_TRUE(mmana_.waitForStarted(10000));
        while (!mmana_.canReadLine() && mmana_.waitForReadyRead(120000)) {
        }
        ASSERT_EQ(mmana_.readLine().trimmed(), QByteArray("ready"));
    }
    void StopMmana() {
        if (mmana_.state() != QProcess::NotRunning) {
            mmana_.kill();
            mmana_.waitForFinished(10000);
            // Killing the wine launcher can leave the Windows process and its window behind,
            // found by the next test: end everything in the test prefix.
            StopTestWineServer();
        }
    }

    std::unique_ptr<MmanaWindowLink> link_ = CreateMmanaWindowLink(UTILS_FOLDER);
    QProcess mmana_;
    QTemporaryDir files_;
};

TEST_F(WineLinkTest, NoMmanaAWindowWithoutAMemoAndAnEmptyMemoAreToldApart) {
    EXPECT_EQ(link_->FindMainWindow(), 0U); // not running
    StartMmana({QStringLiteral("--no-memo")});
    std::uintptr_t main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    EXPECT_EQ(link_->FindMemo(main), 0U);
    StopMmana();

    StartMmana({});
    main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    EXPECT_EQ(link_->CopyMemoText(link_->FindMemo(main)), "");
    // Without the helper MMANA is not found.
    const auto withoutHelper = CreateMmanaWindowLink(files_.path().toStdString() + "/");
    EXPECT_EQ(withoutHelper->FindMainWindow(), 0U);
}

// A Russian MMANA writes its labels in Windows-1251: the memo's text comes decoded, and the
// command line reads the table out of the running MMANA as the window does.
TEST_F(WineLinkTest, CopiesTheMemoTextDecodedAndTheCommandLineReadsItsTable) {
    QFile fixture(QStringLiteral(LOBEX_TEST_DATA_DIR "/table_optimisation_3sets.csv"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray text = fixture.readAll();
    QFile shown(files_.filePath(QStringLiteral("table.txt")));
    ASSERT_TRUE(shown.open(QIODevice::WriteOnly));
    shown.write(text + "\xd7\xe0\xf1\xf2\xee\xf2\xe0");
    shown.close();
    StartMmana({shown.fileName()});
    const std::uintptr_t main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    const std::uintptr_t memo = link_->FindMemo(main);
    ASSERT_NE(memo, 0U);
    EXPECT_EQ(link_->CopyMemoText(memo), text.toStdString() + "Частота");

    // Set 2 picked: MMANA's memo read again for it.
    QProcess table;
    table.start(QStringLiteral(LOBEX_CLI),
                {QStringLiteral("table"), QStringLiteral("--mmana"), QStringLiteral("--set"),
                 QStringLiteral("2"), QStringLiteral("--decimal"), QStringLiteral(",")});
    ASSERT_TRUE(table.waitForFinished(60000));
    EXPECT_EQ(table.exitCode(), 0);
    const QList<QByteArray> lines = table.readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 2);
    // MMANA's columns keep the grid's own Russian captions.
    EXPECT_EQ(lines[0], QByteArray("Парам\tR\tj X\tКСВ\tУсил\tВпер/Назад\tЗенит"));
    EXPECT_TRUE(lines[1].startsWith("5,20\t22,00\t-14,00")) << lines[1].toStdString();
}

// Where no Wine server runs for the user's prefix, MMANA cannot be running: the link says so
// without starting Wine, which would first create a prefix. Tried for a prefix that is missing,
// one whose server is not running, and none set (the home's own).
TEST(NoWineServer, NoPrefixIsCreatedOrFilled) {
    QTemporaryDir scratch;
    const QByteArray home = qgetenv("HOME");
    const QByteArray oldPrefix = qgetenv("WINEPREFIX");
    const QString homeFolder = scratch.filePath(QStringLiteral("home"));
    QDir(scratch.path()).mkdir(QStringLiteral("home"));
    qputenv("HOME", homeFolder.toLocal8Bit());
    const auto link = CreateMmanaWindowLink(UTILS_FOLDER);
    const QString prefix = scratch.filePath(QStringLiteral("prefix"));
    const auto isEmpty = [](const QString& folder) {
        return QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    for (const int kind : {0, 1, 2}) {
        if (kind == 2) {
            qunsetenv("WINEPREFIX");
        } else {
            qputenv("WINEPREFIX", prefix.toLocal8Bit());
        }
        if (kind == 1) {
            // Wine started on an empty prefix would fill it with its registry and drive_c.
            ASSERT_TRUE(QDir().mkpath(prefix));
        }
        EXPECT_EQ(link->FindMainWindow(), 0U) << kind;
        EXPECT_EQ(QFileInfo::exists(prefix), kind >= 1) << kind; // made by the test at 1
        EXPECT_TRUE(isEmpty(prefix)) << kind;
        EXPECT_TRUE(isEmpty(homeFolder)) << kind;
    }
    qputenv("HOME", home);
    qputenv("WINEPREFIX", oldPrefix);
}

} // namespace
} // namespace lobex
