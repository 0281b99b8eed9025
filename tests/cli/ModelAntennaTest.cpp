#include "LoadHarness.h"
#include "cli/Commands.h"
#include "core/FarField.h"
#include "scene/XFile.h"
#include "view3d/ModelFile.h"
#include "view3d/PatternMesh.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace lobex::cli {
namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    QJsonObject json;
};

// Runs a command in process; its output is read as JSON unless it is usage text.
CliRun RunCommand(Command command, const std::vector<std::string>& args, bool json = true) {
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

std::string Data(const char* name) {
    return (test::TestDataFolder() / name).string();
}

std::string CorpusFile(const char* folder, const char* name) {
    return (test::CorpusFolder() / folder / name).string();
}

std::string Text(const QJsonValue& value) {
    return value.toString().toStdString();
}

float F(const QJsonValue& value) {
    return static_cast<float>(value.toDouble());
}

std::vector<float> Floats(const QJsonValue& value) {
    std::vector<float> numbers;
    for (const QJsonValue& number : value.toArray()) {
        numbers.push_back(F(number));
    }
    return numbers;
}

// The messages of a run as icon and text.
std::vector<std::pair<int, std::string>> Messages(const CliRun& run) {
    std::vector<std::pair<int, std::string>> messages;
    for (const QJsonValue& message : run.json["messages"].toArray()) {
        messages.emplace_back(message.toObject()["icon"].toInt(), Text(message.toObject()["text"]));
    }
    return messages;
}

// What the 3D button writes for a far-field file, made here from the same reader and writer.
PatternMesh ExpectedMesh(const std::string& csv) {
    test::LoadHarness harness;
    EXPECT_TRUE(ReadFarFieldGrid(harness.ctx, csv));
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(harness.state.FarField, kPiValue, mesh, refusal));
    ComputePatternFaces(mesh);
    return mesh;
}

TEST(CliModel, WritesTheBinaryModelTheThreeDButtonWrites) {
    test::TempFolder folder;
    const std::string csv = CorpusFile("farfield_csv", "APET_LazyH-16m_1deg.csv");
    const std::string out = (folder.Path() / "lazy-h.x").string();
    const CliRun run = RunCommand(RunModel, {csv, "--out", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["form"]), "binary");
    EXPECT_TRUE(run.json["written"].toBool());
    EXPECT_EQ(run.json["vertices"].toInt(), 90 * 361);
    EXPECT_EQ(run.json["faces"].toInt(), 89 * 360);
    EXPECT_TRUE(run.json["messages"].toArray().isEmpty());
    const std::string bytes = test::ReadBytes(out);
    EXPECT_EQ(run.json["bytes"].toInteger(), static_cast<qint64>(bytes.size()));
    PatternMesh expected = ExpectedMesh(csv);
    EXPECT_TRUE(bytes == BinaryModelBytes(expected)) << "the file differs from the writer's";
    // And Assimp, an independent reader, takes it: two triangles a face.
    XFileContent content;
    std::string error;
    ASSERT_TRUE(ImportXFile(bytes, content, error)) << error;
    EXPECT_EQ(content.Frames.at(0).Meshes.at(0).Mesh.FaceCount(), 2U * 89U * 360U);
}

TEST(CliModel, WritesTheTextModelTheConversionToolWrites) {
    test::TempFolder folder;
    const std::string csv = Data("farfield_below_horizon_30deg.csv");
    const std::string out = (folder.Path() / "pattern.x").string();
    const CliRun run = RunCommand(RunModel, {"--text", csv, "--out", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["form"]), "text");
    EXPECT_EQ(run.json["vertices"].toInt(), 7 * 13);
    EXPECT_EQ(run.json["faces"].toInt(), 6 * 12);
    const std::string text = test::ReadBytes(out);
    PatternMesh expected = ExpectedMesh(csv);
    EXPECT_EQ(text, TextModelText(expected, "."));
    XFileContent content;
    std::string error;
    ASSERT_TRUE(ReadXFileFromMemory(text, content, error)) << error;
    EXPECT_EQ(content.Frames.at(0).Meshes.at(0).Mesh.FaceCount(), 2U * 6U * 12U);
}

TEST(CliModel, EveryCorpusFarFieldFileMakesAModel) {
    test::TempFolder folder;
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::CorpusFolder() / "farfield_csv")) {
        const std::string out = (folder.Path() / "model.x").string();
        const CliRun run = RunCommand(RunModel, {entry.path().string(), "--out", out});
        EXPECT_EQ(run.code, 0) << entry.path();
        XFileContent content;
        std::string error;
        EXPECT_TRUE(ReadXFile(out, content, error)) << entry.path() << ": " << error;
        ++files;
    }
    EXPECT_EQ(files, 3);
}

TEST(CliModel, ARefusedFileWritesNothingAndSaysWhy) {
    test::TempFolder folder;
    const std::string out = folder.Write("kept.x", "an earlier model");
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {Data("sweep_50ohm.csv"), "Неправильный формат данных"},
        {folder.Write("floor.csv", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n"
                                   "0.0,0.0,-80.00,-80.00,-80.00\r\n"
                                   "90.0,0.0,-80.00,-80.00,-80.00\r\n"
                                   "0.0,180.0,-80.00,-80.00,-80.00\r\n"
                                   "90.0,180.0,-80.00,-80.00,-80.00\r\n"),
         "Усиление диаграммы нигде не превышает -60 dBi."},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCommand(RunModel, {c.file, "--out", out});
        EXPECT_EQ(run.code, 1) << c.file;
        EXPECT_FALSE(run.json["written"].toBool());
        EXPECT_EQ(run.json["bytes"].toInt(), 0);
        const auto messages = Messages(run);
        ASSERT_EQ(messages.size(), 1U) << c.file;
        EXPECT_EQ(messages[0].first, 64);
        EXPECT_NE(messages[0].second.find(c.message), std::string::npos) << messages[0].second;
        EXPECT_EQ(test::ReadBytes(out), "an earlier model");
    }
    const CliRun unwritable =
        RunCommand(RunModel, {Data("farfield_below_horizon_30deg.csv"), "--out",
                              (folder.Path() / "no folder" / "m.x").string()});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(Messages(unwritable), (std::vector<std::pair<int, std::string>>{
                                        {16, "Ошибка записи в файл. Данные не сохранены."}}));
}

TEST(CliModel, RefusesWhatItCannotUnderstand) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"a.csv"},
        {"--out", "m.x"},
        {"a.csv", "--out"},
        {"a.csv", "b.csv", "--out", "m.x"},
        {"a.csv", "--out", "m.x", "--binary"},
    };
    for (const auto& args : wrong) {
        const CliRun run = RunCommand(RunModel, args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("Usage: lobex-cli model"), std::string::npos);
    }
    const CliRun help = RunCommand(RunModel, {"--help"}, false);
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--text"), std::string::npos);
}

TEST(CliAntenna, TheDipoleComesOutScaledIntoTheView) {
    test::TempFolder folder;
    const std::string file = folder.Write("dipole.maa", "Dipole\r\n"
                                                        "*\r\n"
                                                        "14.1\r\n"
                                                        "***Wires***\r\n"
                                                        "1\r\n"
                                                        "0.0,\t-5.0,\t10.0,\t0.0,\t5.0,\t10.0,\t"
                                                        "8.000e-04,\t-1\r\n"
                                                        "***Source***\r\n"
                                                        "2,\t0\r\n"
                                                        "w1c,\t0.0,\t1.0\r\n"
                                                        "w1,\t0.0,\t1.0\r\n"
                                                        "***Load***\r\n"
                                                        "1,\t1\r\n"
                                                        "w1b,\t0,\t50.0,\t0.0\r\n");
    const CliRun run = RunCommand(RunAntenna, {file});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["name"]), "Dipole");
    EXPECT_EQ(Text(run.json["frequency"]), "14.1");
    const QJsonArray wires = run.json["wires"].toArray();
    ASSERT_EQ(wires.size(), 1);
    // (0, -5, 10)-(0, 5, 10) is stored as (-5, 10, 0)-(5, 10, 0); the extent is 15.
    EXPECT_EQ(Floats(wires[0].toObject()["end1"]), (std::vector<float>{-0.5f, 1.0f, 0.0f}));
    EXPECT_EQ(Floats(wires[0].toObject()["end2"]), (std::vector<float>{0.5f, 1.0f, 0.0f}));
    EXPECT_EQ(F(wires[0].toObject()["radius"]), 8.0e-4f);
    const QJsonArray sources = run.json["sources"].toArray();
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(Text(sources[0].toObject()["place"]), "w1c");
    EXPECT_EQ(Floats(sources[0].toObject()["position"]), (std::vector<float>{0.0f, 1.0f, 0.0f}));
    EXPECT_TRUE(sources[0].toObject()["valid"].toBool());
    // A place without an end letter has no position.
    EXPECT_EQ(Text(sources[1].toObject()["place"]), "w1");
    EXPECT_FALSE(sources[1].toObject()["valid"].toBool());
    EXPECT_EQ(run.json["loads"].toArray(), QJsonArray{"w1b"});
    EXPECT_TRUE(run.json["messages"].toArray().isEmpty());
    const QStringList keys = run.json.keys();
    EXPECT_EQ(std::set<QString>(keys.begin(), keys.end()),
              (std::set<QString>{"name", "frequency", "wires", "sources", "loads", "messages"}));
}

// The largest coordinate range over every wire end.
float Extent(const QJsonArray& wires) {
    float smallest = 0.0f;
    float largest = 0.0f;
    bool first = true;
    for (const QJsonValue& wire : wires) {
        for (const char* end : {"end1", "end2"}) {
            for (float c : Floats(wire.toObject()[end])) {
                smallest = first ? c : std::min(smallest, c);
                largest = first ? c : std::max(largest, c);
                first = false;
            }
        }
    }
    return largest - smallest;
}

TEST(CliAntenna, EveryCorpusFileIsReadOrRefusedWithTheReadError) {
    // Wires and sources of the files that are read; the others are refused.
    const std::map<std::string, std::pair<int, int>> readable = {
        {"K1LH_40m-THS-Parasitic.maa", {8, 1}},
        {"K1LH_40m_Shrunken_Quad.maa", {20, 1}},
        {"handiko_3-YAGI-20_taper_notitle.maa", {3, 1}},
        {"handiko_4xQQ_ru_stack.maa", {8, 1}},
        {"handiko_6M-QUAD-CQ_50.15-2E-50R_noext", {8, 1}},
        {"handiko_BIG_Antenna_Array_Monopole_8src.maa", {8, 8}},
        {"handiko_CQ2-4_crlf.maa", {32, 1}},
        {"handiko_DDRR4_ru_cyrillic_title.maa", {13, 1}},
        {"handiko_MCQM_oldheaders_Sloads.MAA", {4, 1}},
        {"handiko_Split_J-ant_V-H145_ru.maa", {12, 1}},
        {"handiko_Wideband_match_ru.maa", {8, 1}},
        {"mmana2nec_multiband_vertical.maa", {9, 1}},
        {"yagiantennasim_yagi_2450MHz_notitle.maa", {5, 1}},
    };
    int refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::CorpusFolder() / "maa")) {
        const std::string name = entry.path().filename().string();
        const CliRun run = RunCommand(RunAntenna, {entry.path().string()});
        const auto expected = readable.find(name);
        if (expected == readable.end()) {
            ++refused;
            EXPECT_EQ(run.code, 1) << name;
            EXPECT_EQ(Messages(run), (std::vector<std::pair<int, std::string>>{
                                         {16, "Ошибка чтения файла описания антенны."}}))
                << name;
            EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
            EXPECT_TRUE(run.json["wires"].toArray().isEmpty()) << name;
            continue;
        }
        ASSERT_EQ(run.code, 0) << name << ": " << run.err;
        const QJsonArray wires = run.json["wires"].toArray();
        EXPECT_EQ(wires.size(), expected->second.first) << name;
        EXPECT_EQ(run.json["sources"].toArray().size(), expected->second.second) << name;
        EXPECT_NEAR(Extent(wires), 1.5f, 1e-5f) << name; // scaled into the view
        for (const QJsonValue& source : run.json["sources"].toArray()) {
            EXPECT_TRUE(source.toObject()["valid"].toBool()) << name;
        }
    }
    // The Japanese MMANA's Shift-JIS section names, and a NEC deck named .maa.
    EXPECT_EQ(refused, 9);
}

TEST(CliAntenna, ASourceOnWireTwelveSitsAtThatWiresEnd) {
    const CliRun run = RunCommand(RunAntenna, {CorpusFile("maa", "K1LH_40m_Shrunken_Quad.maa")});
    ASSERT_EQ(run.code, 0);
    const QJsonObject source = run.json["sources"].toArray()[0].toObject();
    EXPECT_EQ(Text(source["place"]), "w12e1");
    EXPECT_EQ(Floats(source["position"]),
              Floats(run.json["wires"].toArray()[11].toObject()["end2"]));
}

TEST(CliAntenna, RefusesWhatItCannotUnderstand) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"a.maa", "b.maa"}, {"--scale", "a.maa"}}) {
        const CliRun run = RunCommand(RunAntenna, args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("Usage: lobex-cli antenna"), std::string::npos);
    }
    const CliRun missing = RunCommand(RunAntenna, {"no such file.maa"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(Messages(missing).size(), 1U);
}

TEST(CliProgram, RunsTheModelAndAntennaCommands) {
    test::TempFolder folder;
    const auto run = [](const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(LOBEX_CLI), args);
        process.waitForFinished(60000);
        return std::make_pair(process.exitCode(), process.readAllStandardOutput());
    };
    const QString out = QString::fromStdString((folder.Path() / "m.x").string());
    const auto model = run(
        {"model", QString::fromStdString(Data("farfield_below_horizon_30deg.csv")), "--out", out});
    EXPECT_EQ(model.first, 0);
    EXPECT_EQ(QJsonDocument::fromJson(model.second).object()["vertices"].toInt(), 91);
    EXPECT_EQ(test::ReadBytes(out.toStdString()).substr(0, 16), "xof 0303bin 0032");
    const auto antenna = run(
        {"antenna", QString::fromStdString(CorpusFile("maa", "mmana2nec_multiband_vertical.maa"))});
    EXPECT_EQ(antenna.first, 0);
    EXPECT_EQ(QJsonDocument::fromJson(antenna.second).object()["name"].toString(),
              "Multiband vertical");
    const auto help = run({"--help"});
    EXPECT_NE(help.second.indexOf("model"), -1);
    EXPECT_NE(help.second.indexOf("antenna"), -1);
}

} // namespace
} // namespace lobex::cli
