#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

namespace lobex::test {

// The tests run in a Wine prefix of their own, never the user's; call once per suite.
inline void UseTestWinePrefix() {
    qputenv("WINEPREFIX", WINE_PREFIX);
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
}

// Stops the test prefix's server and whatever still runs in it.
inline void StopTestWineServer() {
    QProcess::execute(QStandardPaths::findExecutable(QStringLiteral("wineserver")),
                      {QStringLiteral("-k")});
}

// The stand-in MMANA under Wine, ended when the test ends.
class StandInMmana {
public:
    StandInMmana() = default;
    StandInMmana(const StandInMmana&) = delete;
    StandInMmana& operator=(const StandInMmana&) = delete;
    ~StandInMmana() { Stop(); }

    // Starts it with its arguments (a table file, nothing for an empty memo, "--no-memo") and
    // waits until its window is up; the first start in a new prefix creates the prefix.
    void Start(const QStringList& arguments) {
        process_.start(QStandardPaths::findExecutable(QStringLiteral("wine")),
                       QStringList{QStringLiteral(FAKE_MMANA)} + arguments);
        ASSERT_TRUE(process_.waitForStarted(10000));
        while (!process_.canReadLine() && process_.waitForReadyRead(120000)) {
        }
        ASSERT_EQ(process_.readLine().trimmed(), QByteArray("ready"));
    }

    void Stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
            // Killing the wine launcher can leave the Windows process and its window behind,
            // found by the next test: end everything in the test prefix.
            StopTestWineServer();
        }
    }

private:
    QProcess process_;
};

} // namespace lobex::test
