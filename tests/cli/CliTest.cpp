#include "CliRun.h"
#include "cli/Json.h"
#include "cli/LocaleDecimal.h"
#include "core/FarField.h"
#include "core/Messages.h"

#include <cmath>
#include <filesystem>
#include <limits>

#ifndef _WIN32
#include "ByteArguments.h"
#include "FolderEntries.h"

#include <sys/stat.h>
#endif

namespace lobex::cli::test {
namespace {

// Loading every corpus file and fixture is tested in core; here what info prints of a load.
TEST(CliInfo, ReportsTheLargeGridAndItsPattern) {
    const CliRun run = Info({Corpus("farfield_csv", "APET_LazyH-16m_1deg.csv")});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(run.json["messages"].toArray().isEmpty());
    const QJsonObject pattern = run.json["pattern"].toObject();
    EXPECT_EQ(pattern["columns"].toInt(), 361); // 0..359 and the 360 copy
    EXPECT_EQ(pattern["points"].toInt(), 90);
    EXPECT_TRUE(pattern["elevation_cut_available"].toBool());
    EXPECT_EQ(run.json["rows"].toInt(), 179);
    EXPECT_EQ(run.json["set_list"].toArray().size(), 90);
    EXPECT_EQ(F(pattern["plot_range"]), F(pattern["max_gain"]) + 60.0f);
    // The figures under their own names (the values are worked out by hand in the model
    // tests), null where the grid cannot give it: its zenith 90 is missing, so no average.
    const QJsonObject figures = pattern["figures"].toObject();
    EXPECT_EQ(figures.size(), 10);
    const std::pair<const char*, double> expected[] = {
        {"front_to_side", 15.28}, {"side_lobe_azimuth", 180.0}, {"elevation_beam_low", 10.861538}};
    for (const auto& [name, value] : expected) {
        EXPECT_NEAR(figures[name].toDouble(), value, 1e-4) << name;
    }
    EXPECT_TRUE(figures["average_gain"].isNull() && figures["directivity"].isNull());
}

TEST(CliInfo, PicksASetByItsItemDataAsAUserWould) {
    const CliRun table = Info({Data("table_optimisation_3sets.csv"), "--set", "3"});
    EXPECT_EQ(table.code, 0);
    EXPECT_EQ(table.json["set_selected"].toInt(), 2);
    EXPECT_EQ(F(table.json["min"][1]), 23.0f); // R of set 3 starts at 23
    // The elevation list's item data is the zenith index: 1 is 60 degrees.
    const CliRun elevation = Info({Data("farfield_below_horizon_30deg.csv"), "--set", "1"});
    EXPECT_EQ(elevation.code, 0);
    EXPECT_EQ(elevation.json["set_selected"].toInt(), 1);
    const CliRun missing = Info({Data("table_optimisation_3sets.csv"), "--set", "9"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no entry 9"), std::string::npos);
}

// Where and why a reader stops is tested with each reader; here how info and table tell it: the
// one message with its icon in JSON, its text and then its detail on standard error.
TEST(CliInfo, AFailedLoadKeepsItsMessageAndNamesWhereAndWhyInJsonAndOnStandardError) {
    lobex::test::TempFolder folder;
    const std::string wrong(kWrongFormatMessage);
    // A far-field point cut over two LF lines is a short line, not one point.
    const std::string cut =
        std::string(kFarFieldHeader) + "\n0.0,0.0,1.00\n2.00,3.00\n0.0,90.0,1.00,2.00,3.00\n";
    struct Case {
        std::string file;
        int icon;
        std::string text, detail;
    };
    std::vector<Case> cases = {
        {(folder.Path() / "missing.csv").string(), 64, "Файл не найден", ""},
        {folder.Write("s.csv", "Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n"), 16,
         "Subscript out of range", "строка 2: нет поля 9"},
        {folder.Write("cut.csv", cut), 64, wrong, "строка 2: нет поля 4"},
    };
#ifndef _WIN32
    // A pipe is refused before it is opened, so nothing waits for a writer.
    const std::string pipe = (folder.Path() / "pipe.csv").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    cases.push_back({pipe, 64, wrong, "это канал (FIFO), а не файл"});
    // Reading the process's own memory from its start fails for every user, root included.
    std::filesystem::create_symlink("/proc/self/mem", folder.Path() / "memory.csv");
    cases.push_back({(folder.Path() / "memory.csv").string(), 16, "Ошибка чтения данных",
                     "ошибка ввода-вывода при чтении"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun info = Info({c.file});
        EXPECT_EQ(info.code, 1);
        EXPECT_EQ(Messages(info), (std::vector<std::pair<int, std::string>>{{c.icon, c.text}}));
        EXPECT_EQ(Text(info.json["messages"][0]["detail"]), c.detail);
        const CliRun table = RunCommand(RunTable, {c.file}, false);
        EXPECT_EQ(table.code, 1);
        const std::string said = "lobex-cli table: " + c.file + ": ";
        EXPECT_EQ(table.err,
                  said + c.text + "\n" + (c.detail.empty() ? "" : said + c.detail + "\n"));
    }
}

TEST(CliTable, PrintsTheGridAsTheUserSeesItWithTheDecimalSymbolAsked) {
    const CliRun run = RunCommand(RunTable, {Data("table_val_descending.csv")}, false);
    ASSERT_EQ(run.code, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[0], "Val\tPara\tR\tjX\tSWR\tGa\tF/B");
    // The grid's first row (its order is the grid's tests').
    EXPECT_EQ(lines[1], "2.00\t30.00\t4.00\t1.20\t7.20\t16.00\t25.00");

    const CliRun comma = RunCommand(RunTable, {Data("sweep_50ohm.csv"), "--decimal", ","}, false);
    ASSERT_EQ(comma.code, 0);
    EXPECT_EQ(Lines(comma.out).at(0), "Частота\tR\tj X\tКСВ\tУсил\tВпер/Назад");
    EXPECT_EQ(Lines(comma.out).at(1), "14,00\t23,10\t-18,00\t2,51\t6,95\t17,84");
}

TEST(CliUsage, EachCommandRefusesWhatItCannotUnderstandWithItsUsage) {
    struct Case {
        Command command;
        const char* usage;
        std::vector<std::vector<std::string>> wrong;
        const char* helpMentions;
    };
    const Case cases[] = {
        {RunInfo, "Usage: lobex-cli info", {{}, {"a.csv", "--set", "two"}}, "--set"},
        {RunTable, "Usage: lobex-cli table", {{"a.csv", "b.csv"}}, "--set"},
        {RunModel,
         "Usage: lobex-cli model",
         {{"a.csv"},
          {"a.csv", "--out"},
          {"a.csv", "--out", "m.glb", "--floor", "5"},
          {"a.csv", "--out", "m.glb", "--floor", "forty"},
          {"a.csv", "--out", "m.glb", "--text"},
          {"a.csv", "--out", "m.x", "--antenna", "d.maa"},
          {"a.csv", "--out", "m.glb", "--antenna"},
          {"a.csv", "--out", "m.obj"}},
         "--text"},
        {RunAntenna, "Usage: lobex-cli antenna", {{"--scale", "a.maa"}}, "antenna"},
        {RunPlot,
         "Usage: lobex-cli plot",
         {{"sweep.csv", "--out", "graph.xyz"},
          {"sweep.csv", "--out", "graph.jpg", "--quality", "101"},
          {"sweep.csv", "--out", "graph.png", "--size", "640"}},
         "--print-commands"},
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& args : c.wrong) {
            const CliRun run = RunCommand(c.command, args, false);
            EXPECT_EQ(run.code, 2) << c.usage << " " << args.size();
            EXPECT_NE(run.err.find(c.usage), std::string::npos) << run.err;
            EXPECT_TRUE(run.out.empty()) << c.usage;
        }
        const CliRun help = RunCommand(c.command, {"--help"}, false);
        EXPECT_EQ(help.code, 0) << c.usage;
        EXPECT_NE(help.out.find(c.helpMentions), std::string::npos) << help.out;
    }
}

// The grid's numbers follow the locale as the window shows them, without Qt in lobex-cli.
TEST(CliLocale, TheDecimalSymbolIsTheOneQtsLocaleDataGive) {
    const std::pair<const char*, const char*> cases[] = {
        {"ru_RU.UTF-8", ","}, {"de_CH", "."}, {"de_AT@euro", ","}, {"en_US.UTF-8", "."},
        {"C", "."},           {"es_MX", "."}, {"pt-BR", ","},      {"fa_IR", "\u066b"},
    };
    for (const auto& [name, decimal] : cases) {
        EXPECT_EQ(DecimalSeparatorOfLocale(name), decimal) << name;
    }
}

// The elevations of a 0.1-degree grid as the file's decimals give them, not float noise.
TEST(CliInfo, ElevationsAndBeamOfAFineGridAreItsDecimals) {
    std::string csv = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n";
    for (const char* azimuth : {"30.0", "30.1", "30.2", "30.3"}) {
        for (const char* zenith : {"72.0", "72.1", "72.2"}) {
            const bool peak = std::string(zenith) == "72.1" && std::string(azimuth) != "30.3";
            csv += std::string(zenith) + "," + azimuth + ",-999.00," + (peak ? "11.74" : "0.00") +
                   "," + (peak ? "11.74" : "0.00") + "\r\n";
        }
    }
    lobex::test::TempFolder folder;
    const CliRun run = Info({folder.Write("fine.csv", csv)});
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("\"max_elevation\": 17.9,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"beam_width\": 0.2,"), std::string::npos) << run.out; // 2 steps
    EXPECT_NE(run.out.find("\"set_list\": [\"18\", \"17.9\", \"17.8\"]"), std::string::npos)
        << run.out;
}

// Replacing the input would destroy what was read: refused whatever the output's name (which
// names are one file is the atomic writer's test).
TEST(CliOutput, AnOutputThatIsTheInputIsRefusedAndNothingWritten) {
    lobex::test::TempFolder folder;
    const std::string before = lobex::test::ReadBytes(Data("farfield_below_horizon_30deg.csv"));
    const std::string input = folder.Write("FF.csv", before);
    const std::string link = (folder.Path() / "link.x").string();
    const std::string hard = (folder.Path() / "hard.png").string();
    std::filesystem::create_symlink(input, link);
    std::filesystem::create_hard_link(input, hard);
    const std::string fresh = input + ".png"; // a new name is no input
    const std::pair<Command, std::vector<std::string>> cases[] = {
        {RunModel, {input, "--text", "--out", link}},
        {RunPlot, {input, "--out", fresh}},
        {RunPlot, {input, "--out", hard}},
    };
    for (const auto& [command, args] : cases) {
        const bool refused = args.back() != fresh;
        const CliRun run = RunCommand(command, args, false);
        EXPECT_EQ(run.code, refused ? 1 : 0) << args.back() << run.err;
        EXPECT_EQ(run.err.find("is the input file") != std::string::npos, refused) << run.err;
        EXPECT_EQ(lobex::test::ReadBytes(input), before) << args.back();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    // A model named after its input is no model name at all.
    EXPECT_EQ(RunCommand(RunModel, {input, "--out", input}, false).code, 2);
    EXPECT_EQ(lobex::test::ReadBytes(input), before);
}

// Pictures come from lobex-plot beside lobex-cli (as every plot test runs it); everything else
// runs without it.
TEST(CliProgram, DispatchesToItsCommandsAndPlotRunsTheDrawingProgramBesideIt) {
    const lobex::test::TempFolder folder;
    const std::filesystem::path alone = folder.Path() / "lobex-cli";
    std::filesystem::copy_file(LOBEX_CLI, alone);
    const QString program = QString::fromStdString(alone.string());
    const QString sweep = QString::fromStdString(Data("sweep_50ohm.csv"));
    const QString picture = QString::fromStdString((folder.Path() / "graph.png").string());

    const ProgramRun plot = RunProgram({"plot", sweep, "--out", picture}, program);
    EXPECT_EQ(plot.code, 1);
    EXPECT_EQ(
        plot.err.rfind("lobex-cli plot: cannot run " + (folder.Path() / "lobex-plot").string(), 0),
        0U)
        << plot.err;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "graph.png"));
    EXPECT_EQ(RunProgram({"info", sweep}, program).code, 0);
    EXPECT_EQ(RunProgram({}, program).code, 2);
    const ProgramRun version = RunProgram({"--version"}, program);
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith("lobex-cli 1.")) << version.out.toStdString();
}

#ifndef _WIN32
// File names that are not UTF-8 (a Latin-1 "é" here) are bytes like any other: the file they
// name is the one read and written.
TEST(CliFileNames, InfoAndPlotUseExactlyTheLatin1NamesGiven) {
    const auto run = [](const std::vector<std::string>& arguments) {
        QProcess process;
        lobex::test::StartWithByteArguments(process, QStringLiteral(LOBEX_CLI), arguments);
        return Finished(process);
    };
    const lobex::test::TempFolder folder;
    const std::string input = folder.Path().string() + "/caf\xe9.csv";
    std::filesystem::copy_file(Data("sweep_50ohm.csv"), input);

    const ProgramRun info = run({"info", input});
    EXPECT_EQ(info.code, 0) << info.err;
    for (const std::string name : {"out\xe9.png", "out\xe9.svg"}) {
        const std::string out = folder.Path().string() + "/" + name;
        const ProgramRun plot = run({"plot", input, "--out", out});
        EXPECT_EQ(plot.code, 0) << plot.err;
        EXPECT_GT(std::filesystem::file_size(out), 100U) << name;
    }
    EXPECT_EQ(lobex::test::FolderEntries(folder.Path()),
              (std::vector<std::string>{"caf\xe9.csv", "out\xe9.png", "out\xe9.svg"}));
}
#endif

QJsonObject Parse(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

TEST(JsonWriter, WritesTextAnyJsonReaderTakesBack) {
    const std::vector<float> floats = {
        0.1f, -177.29f, 1e-6f, 3.4e38f, std::nanf(""), std::numeric_limits<float>::infinity()};
    JsonWriter json;
    json.BeginObject();
    json.Key("text").String("quote \" backslash \\ line\r\nend\ttab \x01 Угол");
    json.Key("floats").Numbers(floats);
    json.Key("nested").BeginArray();
    json.BeginObject().Key("a").Number(64LL).Key("b").Bool(false).EndObject();
    json.BeginObject().EndObject();
    json.EndArray();
    json.Key("none").Null();
    json.Key("empty").Strings({});
    json.EndObject();

    const QJsonObject object = Parse(json.Text());
    EXPECT_EQ(Text(object["text"]), "quote \" backslash \\ line\r\nend\ttab \x01 Угол");
    const QJsonArray read = object["floats"].toArray();
    ASSERT_EQ(read.size(), 6);
    // Read back as doubles and narrowed, each is the float that was written.
    for (qsizetype i = 0; i < 4; ++i) {
        EXPECT_EQ(F(read[i]), floats[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_TRUE(read[4].isNull() && read[5].isNull()); // NaN and infinity
    EXPECT_EQ(object["nested"].toArray()[0].toObject()["a"].toInt(), 64);
    EXPECT_TRUE(object["nested"].toArray()[1].toObject().isEmpty());
    EXPECT_TRUE(object["none"].isNull());
    EXPECT_TRUE(object["empty"].toArray().isEmpty());
}

TEST(JsonWriter, BytesThatAreNotUtf8AreWrittenAsTheirLatin1Reading) {
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xe9.csv", R"("caf\u00e9.csv")"},
        // Valid UTF-8 stays as it is, beside a stray byte.
        {"\xd0\xa3\xd0\xb3\xd0\xbe\xd0\xbb \xff", "\"\xd0\xa3\xd0\xb3\xd0\xbe\xd0\xbb \\u00ff\""},
        // A sequence cut short at the end, an overlong form and an encoded surrogate.
        {"\xc0\xaf", R"("\u00c0\u00af")"},
        {"\xed\xa0\x80", R"("\u00ed\u00a0\u0080")"},
    };
    for (const auto& [bytes, quoted] : cases) {
        EXPECT_EQ(JsonQuote(bytes), quoted);
        JsonWriter json;
        json.BeginObject().Key("file").String(bytes).EndObject();
        EXPECT_FALSE(Parse(json.Text())["file"].toString().isEmpty());
    }
}
} // namespace
} // namespace lobex::cli::test
