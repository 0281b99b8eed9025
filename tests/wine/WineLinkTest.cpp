#include "StandInMmana.h"
#include "platform/MmanaWindowLink.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

class WineLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::UseTestWinePrefix(); }
    static void TearDownTestSuite() { test::StopTestWineServer(); }

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "Wine's windows need a display; run under xvfb-run";
        }
    }
    QString TableFile(const QByteArray& bytes) {
        const QString path = files_.filePath(QStringLiteral("table.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    std::unique_ptr<MmanaWindowLink> link_ = CreateMmanaWindowLink(UTILS_FOLDER);
    test::StandInMmana mmana_;
    QTemporaryDir files_;
};

TEST_F(WineLinkTest, AWindowWithoutAMemoIsToldApart) {
    mmana_.Start({QStringLiteral("--no-memo")});
    const std::uintptr_t main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    EXPECT_EQ(link_->FindMemo(main), 0U);
}

TEST_F(WineLinkTest, AnEmptyMemoGivesNoTextAndWithoutTheHelperMmanaIsNotFound) {
    EXPECT_EQ(link_->FindMainWindow(), 0U); // not running
    mmana_.Start({});
    const std::uintptr_t main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    EXPECT_EQ(link_->CopyMemoText(link_->FindMemo(main)), "");
    const auto withoutHelper = CreateMmanaWindowLink(files_.path().toStdString() + "/");
    EXPECT_EQ(withoutHelper->FindMainWindow(), 0U);
}

// A Russian MMANA writes its labels in Windows-1251: the memo's text comes decoded, and the
// command line reads the table out of the running MMANA as the window does.
TEST_F(WineLinkTest, CopiesTheMemoTextDecodedAndTheCommandLineReadsItsTable) {
    QFile fixture(QStringLiteral(LOBEX_TEST_DATA_DIR "/table_optimisation_3sets.csv"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray text = fixture.readAll();
    mmana_.Start({TableFile(text + "\xd7\xe0\xf1\xf2\xee\xf2\xe0")});
    const std::uintptr_t main = link_->FindMainWindow();
    ASSERT_NE(main, 0U);
    const std::uintptr_t memo = link_->FindMemo(main);
    ASSERT_NE(memo, 0U);
    EXPECT_EQ(link_->CopyMemoText(memo), text.toStdString() + "Частота");

    QProcess info;
    info.start(QStringLiteral(LOBEX_CLI), {QStringLiteral("info"), QStringLiteral("--mmana"),
                                           QStringLiteral("--set"), QStringLiteral("2")});
    ASSERT_TRUE(info.waitForFinished(60000));
    const QByteArray json = info.readAllStandardOutput();
    EXPECT_EQ(info.exitCode(), 0) << json.toStdString();
    EXPECT_TRUE(json.contains("\"set_list\": [\"1\", \"2\", \"3\"]")) << json.toStdString();
    EXPECT_TRUE(json.contains("\"set_selected\": 1")) << json.toStdString();

    QProcess table;
    table.start(QStringLiteral(LOBEX_CLI), {QStringLiteral("table"), QStringLiteral("--mmana"),
                                            QStringLiteral("--decimal"), QStringLiteral(",")});
    ASSERT_TRUE(table.waitForFinished(60000));
    EXPECT_EQ(table.exitCode(), 0);
    const QList<QByteArray> lines = table.readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 2);
    // MMANA's columns keep the grid's own Russian captions.
    EXPECT_EQ(lines[0], QByteArray("Парам\tR\tj X\tКСВ\tУсил\tВпер/Назад\tЗенит"));
    EXPECT_TRUE(lines[1].startsWith("5,20\t21,00\t-13,00")) << lines[1].toStdString();
}

} // namespace
} // namespace lobex
