#include "platform/FileChangeWatcher.h"
#include "platform/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
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

TEST(Settings, MissingValuesGiveTheDefaultsAndWrittenOnesSurviveUnderTheirSectionAndKey) {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("lobex.ini"));
    {
        QtSettingsStore store(ini);
        EXPECT_EQ(ReadSetting(store, kJpegQualitySetting), "75");
        WriteSetting(store, kDataPathSetting, "/home/ra3xyz/Антенны/");
        WriteSetting(store, kJpegQualitySetting, "90");
    }
    QSettings raw(ini, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Paths/DataPath")).toString(),
              QStringLiteral("/home/ra3xyz/Антенны/"));
    EXPECT_EQ(raw.value(QStringLiteral("JPEG/Quality")).toString(), QStringLiteral("90"));
}

// Starts a copy of the probe program on the folder and gives the first line it prints.
QString StartProbe(QProcess& process, const QString& folder, const char* seconds) {
    process.start(QStringLiteral(INSTANCE_PROBE), {folder, QString::fromLatin1(seconds)});
    process.waitForReadyRead(10000);
    return QString::fromLatin1(process.readLine()).trimmed();
}

TEST(SingleInstance, ALaterCopyAsksTheFirstToShowItselfAndEnds) {
    QTemporaryDir folder;
    QProcess first;
    ASSERT_EQ(StartProbe(first, folder.path(), "20"), QStringLiteral("primary"));
    QProcess second;
    EXPECT_EQ(StartProbe(second, folder.path(), "20"), QStringLiteral("notified"));
    ASSERT_TRUE(second.waitForFinished(10000));
    if (!first.canReadLine()) {
        first.waitForReadyRead(10000);
    }
    EXPECT_EQ(QString::fromLatin1(first.readLine()).trimmed(), QStringLiteral("shown"));
}

// The lock of a copy that died, or a lock file a crash left empty, names no running copy. A copy
// that cannot make the lock at all (below a plain file nothing can be made, not even by the
// superuser; or something of another kind stands in the lock's way) runs unguarded rather than
// waiting on a first copy that does not exist.
TEST(SingleInstance, AStaleLockOrNoneAtAllDoesNotKeepTheNextStartOut) {
    QTemporaryDir scratch;
    const QString crashed = scratch.filePath(QStringLiteral("crashed"));
    const QString empty = scratch.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(crashed) && QDir().mkpath(empty));
    QProcess dead;
    ASSERT_EQ(StartProbe(dead, crashed, "20"), QStringLiteral("primary"));
    dead.kill();
    ASSERT_TRUE(dead.waitForFinished(10000));
    ASSERT_TRUE(QFile(empty + QStringLiteral("/lobex.lock")).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile(scratch.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(scratch.path()).mkpath(QStringLiteral("lobex.lock/inside")));
    const std::pair<QString, const char*> cases[] = {
        {crashed, "primary"},
        {empty, "primary"},
        {scratch.filePath(QStringLiteral("file/folder")), "unguarded"},
        {scratch.path(), "unguarded"},
    };
    for (const auto& [folder, answer] : cases) {
        QProcess next;
        EXPECT_EQ(StartProbe(next, folder, "1"), QLatin1String(answer)) << folder.toStdString();
        ASSERT_TRUE(next.waitForFinished(10000));
    }
}

} // namespace
} // namespace lobex
