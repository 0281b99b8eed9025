#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ReadLine(QProcess& process, int timeoutMs) {
    if (!process.canReadLine()) {
        process.waitForReadyRead(timeoutMs);
    }
    return QString::fromLatin1(process.readLine()).trimmed();
}

TEST(SingleInstance, ALaterCopyAsksTheFirstToShowItselfAndEnds) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    QProcess first;
    first.start(QStringLiteral(INSTANCE_PROBE), {folder.path(), QStringLiteral("20")});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_EQ(ReadLine(first, 10000), QStringLiteral("primary"));

    QProcess second;
    second.start(QStringLiteral(INSTANCE_PROBE), {folder.path(), QStringLiteral("20")});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(QString::fromLatin1(second.readAllStandardOutput()).trimmed(),
              QStringLiteral("notified"));

    EXPECT_EQ(ReadLine(first, 10000), QStringLiteral("shown"));
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST(SingleInstance, TheLockOfACopyThatDiedDoesNotBlockTheNextStart) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    QProcess crashed;
    crashed.start(QStringLiteral(INSTANCE_PROBE), {folder.path(), QStringLiteral("20")});
    ASSERT_EQ(ReadLine(crashed, 10000), QStringLiteral("primary"));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(10000));

    QProcess next;
    next.start(QStringLiteral(INSTANCE_PROBE), {folder.path(), QStringLiteral("1")});
    EXPECT_EQ(ReadLine(next, 10000), QStringLiteral("primary"));
    ASSERT_TRUE(next.waitForFinished(10000));
    EXPECT_EQ(next.exitCode(), 3); // nobody asked for it within its second
}

} // namespace
