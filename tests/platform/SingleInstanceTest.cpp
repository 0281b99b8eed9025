#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Starts a copy of the probe program on the folder and gives the first line it prints.
QString StartProbe(QProcess& process, const QTemporaryDir& folder, const char* seconds) {
    process.start(QStringLiteral(INSTANCE_PROBE), {folder.path(), QString::fromLatin1(seconds)});
    process.waitForReadyRead(10000);
    return QString::fromLatin1(process.readLine()).trimmed();
}

TEST(SingleInstance, ALaterCopyAsksTheFirstToShowItselfAndEnds) {
    QTemporaryDir folder;
    QProcess first;
    ASSERT_EQ(StartProbe(first, folder, "20"), QStringLiteral("primary"));
    QProcess second;
    EXPECT_EQ(StartProbe(second, folder, "20"), QStringLiteral("notified"));
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    if (!first.canReadLine()) {
        first.waitForReadyRead(10000);
    }
    EXPECT_EQ(QString::fromLatin1(first.readLine()).trimmed(), QStringLiteral("shown"));
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST(SingleInstance, TheLockOfACopyThatDiedDoesNotBlockTheNextStart) {
    QTemporaryDir folder;
    QProcess crashed;
    ASSERT_EQ(StartProbe(crashed, folder, "20"), QStringLiteral("primary"));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(10000));
    QProcess next;
    EXPECT_EQ(StartProbe(next, folder, "1"), QStringLiteral("primary"));
    ASSERT_TRUE(next.waitForFinished(10000));
    EXPECT_EQ(next.exitCode(), 3); // nobody asked for it within its second
}

} // namespace
