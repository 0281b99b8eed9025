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

TEST(CliFileNames, InfoAndPlotUseExactlyTheLatin1NamesGiven) {
    const lobex::test::TempFolder folder;
    const std::string input = PathToUtf8(folder.Path()) + "/caf\xe9.csv";
    fs::copy_file(Data("sweep_50ohm.csv"), Utf8Path(input));

    const ProgramRun info = RunWithBytes({"info", input});
    EXPECT_EQ(info.code, 0) << info.err;
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(info.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << info.out.toStdString();
    // The name's stray byte is written as the character of its Latin-1 reading.
    EXPECT_EQ(json["file"].toString(),
              QString::fromStdString(PathToUtf8(folder.Path())) + QStringLiteral("/caf\u00e9.csv"));
    EXPECT_EQ(json["kind"].toInt(), 3);

    for (const std::string name : {"out\xe9.png", "out\xe9.svg"}) {
        const std::string out = PathToUtf8(folder.Path()) + "/" + name;
        const ProgramRun run = RunWithBytes({"plot", input, "--out", out});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_GT(fs::file_size(Utf8Path(out)), 100U) << name;
    }
    std::vector<std::string> names = NamesIn(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"caf\xe9.csv", "out\xe9.png", "out\xe9.svg"}));
}

} // namespace
} // namespace lobex::cli::test
