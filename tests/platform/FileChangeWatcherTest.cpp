#include "platform/FileChangeWatcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lobex {
namespace {

// Long enough that a writer pausing between its pieces is never taken for finished.
constexpr int kPauseMs = 800;
constexpr int kReportWithinMs = 5000;

class FileChangeWatcherTest : public ::testing::Test {
protected:
    // Notices and timers need the application's event loop.
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "platform_tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    FileChangeWatcherTest() {
        Replace(path, "first");
        QObject::connect(&watcher, &FileChangeWatcher::Changed, [this] {
            QFile file(QString::fromStdString(watcher.Path()));
            reported << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        });
        watcher.Watch(path.toStdString());
    }
    static void Replace(const QString& path, const QByteArray& bytes) {
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        ASSERT_TRUE(file.commit());
    }
    bool WaitForReports(qsizetype count) {
        return QTest::qWaitFor([&] { return reported.size() >= count; }, kReportWithinMs);
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("export.csv"));
    FileChangeWatcher watcher{kPauseMs};
    QList<QByteArray> reported;
};

TEST_F(FileChangeWatcherTest, AFileWrittenInPiecesIsReportedOnceWhole) {
    // Other files of the folder come and go unreported.
    Replace(folder.filePath(QStringLiteral("other.csv")), "noise");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("14.1,50,");
    file.flush();
    QTest::qWait(50);
    file.write("0\r\n14.2,51,1\r\n");
    file.close();

    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(reported, QList<QByteArray>{"14.1,50,0\r\n14.2,51,1\r\n"});
}

TEST_F(FileChangeWatcherTest, AFileReplacedByRenameIsFollowedUntilAnotherIsWatched) {
    Replace(path, "second");
    ASSERT_TRUE(WaitForReports(1));
    // The replaced file is watched again: the next replacement is noticed too.
    Replace(path, "third!");
    ASSERT_TRUE(WaitForReports(2));
    // Gone for a while, then back: reported once it is back.
    QFile::remove(path);
    Replace(path, "fourth");
    ASSERT_TRUE(WaitForReports(3));
    EXPECT_EQ(reported, (QList<QByteArray>{"second", "third!", "fourth"}));

    watcher.Watch({});
    Replace(path, "fifth");
    Replace(path, "sixth");
    Replace(folder.filePath(QStringLiteral("other.csv")), "seventh");
    watcher.Watch(folder.filePath(QStringLiteral("other.csv")).toStdString());
    Replace(folder.filePath(QStringLiteral("other.csv")), "eighth");
    ASSERT_TRUE(WaitForReports(4));
    EXPECT_EQ(reported.back(), "eighth") << "nothing of the file no longer watched";
}

} // namespace
} // namespace lobex
