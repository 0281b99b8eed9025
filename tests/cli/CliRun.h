#pragma once

#include "LoadHarness.h"
#include "cli/Commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

// A lobex-cli command run in process, or the program run as a user runs it.
namespace lobex::cli::test {

using lobex::test::CorpusFolder;
using lobex::test::TestDataFolder;
using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    QJsonObject json; // the output read as JSON, when asked for
};

inline CliRun RunCommand(Command command, const std::vector<std::string>& args, bool json) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.code = command(args, out, err);
    run.out = out.str();
    run.err = err.str();
    if (json && run.code != 2) {
        QJsonParseError error;
        run.json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    }
    return run;
}

// The program itself: exit code, standard output and standard error.
struct ProgramRun {
    int code = -1;
    QByteArray out;
    std::string err;
};
inline ProgramRun Finished(QProcess& process) {
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(),
            process.readAllStandardError().toStdString()};
}
inline ProgramRun RunProgram(const QStringList& args,
                             const QString& program = QStringLiteral(LOBEX_CLI)) {
    QProcess process;
    process.start(program, args);
    return Finished(process);
}

inline CliRun Info(const std::vector<std::string>& args) {
    return RunCommand(RunInfo, args, true);
}
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::string Data(const char* name) {
    return (TestDataFolder() / name).string();
}
inline std::string Corpus(const char* folder, const char* name) {
    return (CorpusFolder() / folder / name).string();
}
inline std::string Text(const QJsonValue& value) {
    return value.toString().toStdString();
}
inline float F(const QJsonValue& value) {
    return static_cast<float>(value.toDouble());
}

// The messages of a run as icon and text.
inline std::vector<std::pair<int, std::string>> Messages(const CliRun& run) {
    std::vector<std::pair<int, std::string>> messages;
    for (const QJsonValue& message : run.json["messages"].toArray()) {
        messages.emplace_back(message.toObject()["icon"].toInt(), Text(message.toObject()["text"]));
    }
    return messages;
}

} // namespace lobex::cli::test
