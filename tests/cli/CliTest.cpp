#include "LoadHarness.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace lobex::cli {
namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    QJsonObject json;
};

CliRun RunCommand(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
                  const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.code = command(args, out, err);
    run.out = out.str();
    run.err = err.str();
    if (command == RunInfo && run.code != 2) {
        QJsonParseError error;
        run.json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    }
    return run;
}

CliRun Info(const std::vector<std::string>& args) {
    return RunCommand(RunInfo, args);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Data(const char* name) {
    return (test::TestDataFolder() / name).string();
}

float F(const QJsonValue& value) {
    return static_cast<float>(value.toDouble());
}

TEST(CliInfo, EveryCorpusExportLoadsAndEveryOtherFileIsRefused) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::CorpusFolder())) {
        const std::filesystem::path& path = entry.path();
        const std::string folder = path.parent_path().filename().string();
        if (!entry.is_regular_file() || folder == "maa" || path.filename() == "SOURCES.md") {
            continue;
        }
        const CliRun run = Info({path.string()});
        if (folder == "farfield_csv") {
            EXPECT_EQ(run.code, 0) << path;
            EXPECT_EQ(run.json["kind"].toInt(), 5) << path;
            EXPECT_TRUE(run.json["messages"].toArray().isEmpty()) << path;
            const QJsonObject pattern = run.json["pattern"].toObject();
            EXPECT_EQ(pattern["elevation_cut_available"].toBool(), true) << path;
            EXPECT_EQ(run.json["rows"].toInt(), 2 * pattern["points"].toInt() - 1) << path;
        } else {
            EXPECT_EQ(run.code, 1) << path;
            EXPECT_FALSE(run.json["messages"].toArray().isEmpty()) << path;
        }
        ++files;
    }
    EXPECT_EQ(files, 4);
}

TEST(CliInfo, ReportsTheLargeGridAndItsPattern) {
    const CliRun run =
        Info({(test::CorpusFolder() / "farfield_csv" / "APET_LazyH-16m_1deg.csv").string()});
    ASSERT_EQ(run.code, 0);
    const QJsonObject pattern = run.json["pattern"].toObject();
    EXPECT_EQ(pattern["columns"].toInt(), 361); // 0..359 and the 360 copy
    EXPECT_EQ(pattern["points"].toInt(), 90);
    EXPECT_EQ(run.json["rows"].toInt(), 179);
    EXPECT_EQ(run.json["columns"].toArray().size(), 4);
    EXPECT_EQ(run.json["set_list"].toArray().size(), 90);
    EXPECT_GT(F(pattern["beam_width"]), 0.0f);
    EXPECT_EQ(F(pattern["plot_range"]), F(pattern["max_gain"]) + 60.0f);
}

TEST(CliInfo, DescribesEachKindOfFixture) {
    struct Case {
        const char* name;
        int kind;
        int rows;
        std::vector<std::string> setList;
    };
    const Case cases[] = {
        {"sweep_50ohm.csv", 3, 7, {}},
        {"sweep_75ohm_blank_lines.csv", 3, 4, {}},
        {"table_optimisation_3sets.csv", 6, 4, {"1", "2", "3"}},
        {"table_val_descending.csv", 6, 5, {"1"}},
        {"currents_3wires.csv", 4, 5, {"1", "2", "3"}},
        {"nearfield_electric.csv", 2, 4, {}},
        {"farfield_below_horizon_30deg.csv", 5, 13, {"90", "60", "30", "0"}},
    };
    for (const Case& c : cases) {
        const CliRun run = Info({Data(c.name)});
        EXPECT_EQ(run.code, 0) << c.name;
        EXPECT_EQ(run.json["kind"].toInt(), c.kind) << c.name;
        EXPECT_EQ(run.json["rows"].toInt(), c.rows) << c.name;
        std::vector<std::string> entries;
        for (const QJsonValue& entry : run.json["set_list"].toArray()) {
            entries.push_back(entry.toString().toStdString());
        }
        EXPECT_EQ(entries, c.setList) << c.name;
        EXPECT_EQ(run.json["min"].toArray().size(), run.json["columns"].toArray().size());
        EXPECT_EQ(run.json.contains("pattern"), c.kind == 5) << c.name;
    }
}

TEST(CliInfo, MinAndMaxOfATableAreThoseOfTheGrid) {
    // 0.1234567 shows as 0.12346; the series read back from the grid say the same.
    test::TempFolder folder;
    const std::string path = folder.Write("t.csv", "Optim\r\n1 1 0.1234567 50 0 1.0 7.1 20 30\r\n"
                                                   "2 1 0.25 51 0 1.0 7.1 20 30\r\n");
    const CliRun run = Info({path});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(F(run.json["min"].toArray()[0]), 0.12346f);
    EXPECT_EQ(F(run.json["max"].toArray()[1]), 51.0f);
}

TEST(CliInfo, PicksASetAsAUserWould) {
    const CliRun run = Info({Data("table_optimisation_3sets.csv"), "--set", "3"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.json["set_selected"].toInt(), 2);
    EXPECT_EQ(F(run.json["min"].toArray()[1]), 23.0f); // R of set 3 starts at 23
    const CliRun wire = Info({Data("currents_3wires.csv"), "--set", "3"});
    ASSERT_EQ(wire.code, 0);
    EXPECT_EQ(wire.json["rows"].toInt(), 1);
    const CliRun elevation = Info({Data("farfield_below_horizon_30deg.csv"), "--set", "1"});
    ASSERT_EQ(elevation.code, 0);
    EXPECT_EQ(elevation.json["set_selected"].toInt(), 1);

    const CliRun missing = Info({Data("table_optimisation_3sets.csv"), "--set", "9"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no entry 9"), std::string::npos);
    const CliRun none = Info({Data("sweep_50ohm.csv")});
    EXPECT_TRUE(none.json["set_selected"].isNull());
}

TEST(CliInfo, RecordsEveryMessageInOrder) {
    test::TempFolder folder;
    const CliRun run = Info({folder.Write("t.csv", "Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n")});
    EXPECT_EQ(run.code, 1);
    const QJsonArray messages = run.json["messages"].toArray();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].toObject()["icon"].toInt(), 16);
    EXPECT_EQ(messages[0].toObject()["text"].toString().toStdString(), "Subscript out of range");
    EXPECT_EQ(messages[1].toObject()["icon"].toInt(), 64);
    EXPECT_EQ(messages[1].toObject()["text"].toString().toStdString(),
              "Неправильный формат данных");
    const CliRun wrongEnding = Info({folder.Write("model.pf3", "x")});
    EXPECT_EQ(wrongEnding.json["messages"].toArray()[0].toObject()["text"].toString().toStdString(),
              "Неизвестный Формат Файла");
}

TEST(CliTable, PrintsTheGridAsTheUserSeesIt) {
    const CliRun run = RunCommand(RunTable, {Data("table_val_descending.csv")});
    ASSERT_EQ(run.code, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[0], "Val\tPara\tR\tjX\tSWR\tGa\tF/B");
    // Descending in the file, ascending in the grid.
    EXPECT_EQ(lines[1], "2.00\t30.00\t4.00\t1.20\t7.20\t16.00\t25.00");
    EXPECT_EQ(lines[5], "3.00\t18.00\t-20.00\t2.00\t6.80\t12.00\t25.00");
}

TEST(CliTable, UsesTheDecimalSymbolAsked) {
    const CliRun comma = RunCommand(RunTable, {Data("sweep_50ohm.csv"), "--decimal", ","});
    ASSERT_EQ(comma.code, 0);
    const std::vector<std::string> lines = Lines(comma.out);
    EXPECT_EQ(lines[0], "Частота\tR\tj X\tКСВ\tУсил\tВпер/Назад");
    EXPECT_EQ(lines[1], "14,00\t23,10\t-18,00\t2,51\t6,95\t17,84");
    // The series read back through the comma are the same numbers.
    const CliRun point = Info({Data("table_optimisation_3sets.csv"), "--decimal", "."});
    const CliRun decimalComma = Info({Data("table_optimisation_3sets.csv"), "--decimal", ","});
    EXPECT_EQ(point.json["min"], decimalComma.json["min"]);
    EXPECT_EQ(point.json["max"], decimalComma.json["max"]);
}

TEST(CliUsage, RefusesWhatItCannotUnderstand) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"a.csv", "b.csv"},
        {"a.csv", "--set"},
        {"a.csv", "--set", "two"},
        {"a.csv", "--decimal"},
        {"a.csv", "--colour"},
    };
    for (const auto& args : wrong) {
        const CliRun info = RunCommand(RunInfo, args);
        EXPECT_EQ(info.code, 2);
        EXPECT_NE(info.err.find("Usage: lobex-cli info"), std::string::npos);
        EXPECT_EQ(RunCommand(RunTable, args).code, 2);
    }
    const CliRun help = RunCommand(RunTable, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("Usage: lobex-cli table"), std::string::npos);
}

TEST(CliProgram, DispatchesToItsCommands) {
    const auto run = [](const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(LOBEX_CLI), args);
        process.waitForFinished(30000);
        return std::make_pair(process.exitCode(), process.readAllStandardOutput().toStdString());
    };
    EXPECT_EQ(run({}).first, 2);
    EXPECT_EQ(run({"colour"}).first, 2);
    const auto help = run({"--help"});
    EXPECT_EQ(help.first, 0);
    EXPECT_NE(help.second.find("info"), std::string::npos);
    EXPECT_NE(help.second.find("table"), std::string::npos);
    const auto info = run({"info", QString::fromStdString(Data("sweep_50ohm.csv"))});
    EXPECT_EQ(info.first, 0);
    EXPECT_EQ(
        QJsonDocument::fromJson(QByteArray::fromStdString(info.second)).object()["kind"].toInt(),
        3);
    EXPECT_EQ(run({"table", "missing.csv"}).first, 1);
}

} // namespace
} // namespace lobex::cli
