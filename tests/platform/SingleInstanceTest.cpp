#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Starts a copy of the probe program on the folder and gives the first line it prints.
QString StartProbe(QProcess& process, const QString& folder, const char* seconds) {
    process.start(QStringLiteral(INSTANCE_PROBE), {folder, QString::fromLatin1(seconds)});
    process.waitForReadyRead(10000);
    return QString::fromLatin1(process.readLine()).trimmed();
}

void MakeEmptyFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
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

// The lock of a copy that died, or a lock file a crash left empty, names no running copy.
TEST(SingleInstance, AStaleLockDoesNotKeepTheNextStartOut) {
    for (const bool crashed : {true, false}) {
        QTemporaryDir folder;
        QProcess dead;
        if (crashed) {
            ASSERT_EQ(StartProbe(dead, folder.path(), "20"), QStringLiteral("primary"));
            dead.kill();
            ASSERT_TRUE(dead.waitForFinished(10000));
        } else {
            MakeEmptyFile(folder.filePath(QStringLiteral("lobex.lock")));
        }
        QProcess next;
        EXPECT_EQ(StartProbe(next, folder.path(), "1"), QStringLiteral("primary")) << crashed;
        ASSERT_TRUE(next.waitForFinished(10000));
    }
}

// A copy that cannot make the lock is told apart from one that finds another copy holding it:
// it runs unguarded rather than waiting on a first copy that does not exist.
TEST(SingleInstance, WhereNoLockCanBeMadeTheCopyRunsUnguarded) {
    QTemporaryDir scratch;
    MakeEmptyFile(scratch.filePath(QStringLiteral("file")));
    // Below a plain file nothing can be made, not even by the superuser.
    QProcess probe;
    EXPECT_EQ(StartProbe(probe, scratch.filePath(QStringLiteral("file/folder")), "1"),
              QStringLiteral("unguarded"));
    ASSERT_TRUE(probe.waitForFinished(10000));

    // Something of another kind in the lock's way.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("lobex.lock/inside")));
    QProcess blocked;
    EXPECT_EQ(StartProbe(blocked, folder.path(), "1"), QStringLiteral("unguarded"));
    ASSERT_TRUE(blocked.waitForFinished(10000));
}

} // namespace
