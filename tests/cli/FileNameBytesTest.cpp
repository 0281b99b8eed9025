#include "ByteArguments.h"
#include "CliRun.h"
#include "core/Utf8Path.h"

#include <QJsonDocument>

#include <filesystem>
#include <fstream>

// File names that are not UTF-8 (a Latin-1 "é" here) are bytes like any other: the file they
// name is the one read and written.
namespace lobex::cli::test {
namespace {

namespace fs = std::filesystem;

ProgramRun RunWithBytes(const std::vector<std::string>& arguments) {
    QProcess process;
    lobex::test::StartWithByteArguments(process, QStringLiteral(LOBEX_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(),
            process.readAllStandardError().toStdString()};
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(PathToUtf8(entry.path().filename()));
    }
    return names;
}

TEST(CliFileNames, InfoLoadsALatin1NamedFileAndPrintsValidJson) {
    const lobex::test::TempFolder folder;
    const std::string file = PathToUtf8(folder.Path()) + "/caf\xe9.csv";
    fs::copy_file(Data("sweep_50ohm.csv"), Utf8Path(file));

    const ProgramRun run = RunWithBytes({"info", file});
    EXPECT_EQ(run.code, 0) << run.err;
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    // The name's stray byte is written as the character of its Latin-1 reading.
    EXPECT_TRUE(run.out.contains("caf\\u00e9.csv\"")) << run.out.toStdString();
    EXPECT_EQ(json["file"].toString(),
              QString::fromStdString(PathToUtf8(folder.Path())) + QStringLiteral("/caf\u00e9.csv"));
    EXPECT_EQ(json["kind"].toInt(), 3);
    EXPECT_GT(json["rows"].toInt(), 0);
    EXPECT_TRUE(json["messages"].toArray().isEmpty());
}

TEST(CliFileNames, PlotWritesExactlyTheLatin1NameItWasGiven) {
    const lobex::test::TempFolder folder;
    const std::string input = PathToUtf8(folder.Path()) + "/caf\xe9.csv";
    fs::copy_file(Data("sweep_50ohm.csv"), Utf8Path(input));

    for (const std::string name : {"out\xe9.png", "out\xe9.svg"}) {
        const std::string out = PathToUtf8(folder.Path()) + "/" + name;
        const ProgramRun run = RunWithBytes({"plot", input, "--out", out});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(fs::is_regular_file(Utf8Path(out))) << name;
        EXPECT_GT(fs::file_size(Utf8Path(out)), 100U) << name;
    }
    std::vector<std::string> names = NamesIn(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"caf\xe9.csv", "out\xe9.png", "out\xe9.svg"}));
}

} // namespace
} // namespace lobex::cli::test
