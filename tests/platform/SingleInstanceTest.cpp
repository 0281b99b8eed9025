#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Starts a copy of the probe program on the folder and gives the first line it prints.
QString StartProbe(QProcess& process, const QString& folder, const char* seconds,
                   const QString& file = {}) {
    QStringList arguments{folder, QString::fromLatin1(seconds)};
    if (!file.isEmpty()) {
        arguments << file;
    }
    process.start(QStringLiteral(INSTANCE_PROBE), arguments);
    process.waitForReadyRead(10000);
    return QString::fromLatin1(process.readLine()).trimmed();
}

void MakeEmptyFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// "lobex FILE" while a copy runs: the first copy comes forward and opens the file.
TEST(SingleInstance, ALaterCopyAsksTheFirstToShowItselfAndOpenItsFileAndEnds) {
    for (const QString& file : {QString(), QStringLiteral("/home/ra3/Антенны/yagi 3el.csv")}) {
        QTemporaryDir folder;
        QProcess first;
        ASSERT_EQ(StartProbe(first, folder.path(), "20"), QStringLiteral("primary"));
        QProcess second;
        EXPECT_EQ(StartProbe(second, folder.path(), "20", file), QStringLiteral("notified"));
        ASSERT_TRUE(second.waitForFinished(10000));
        ASSERT_TRUE(first.waitForFinished(10000));
        const QStringList said = QString::fromUtf8(first.readAll()).split('\n', Qt::SkipEmptyParts);
        QStringList expected{QStringLiteral("shown")};
        if (!file.isEmpty()) {
            expected << QStringLiteral("open ") + file;
        }
        EXPECT_EQ(said, expected) << file.toStdString();
    }
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
