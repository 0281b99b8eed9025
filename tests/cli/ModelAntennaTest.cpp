#include "CliRun.h"
#include "core/FarField.h"
#include "scene/XFile.h"
#include "view3d/ModelFile.h"
#include "view3d/PatternMesh.h"

#include <QFile>
#include <QStandardPaths>

namespace lobex::cli::test {
namespace {

using MessageList = std::vector<std::pair<int, std::string>>;

std::vector<float> Floats(const QJsonValue& value) {
    std::vector<float> numbers;
    for (const QJsonValue& number : value.toArray()) {
        numbers.push_back(F(number));
    }
    return numbers;
}

// What the 3D button writes for a far-field file, made here from the same reader and writer.
PatternMesh ExpectedMesh(const std::string& csv) {
    const LoadResult grid = ReadFarFieldGridFile(csv);
    EXPECT_TRUE(grid.loaded);
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(grid.farField, kPiValue, mesh, refusal));
    ComputePatternFaces(mesh);
    return mesh;
}

TEST(CliModel, WritesTheModelsOfThe3DButtonAndTheConversionTool) {
    struct Case {
        std::string csv;
        bool text;
        int zeniths, azimuths; // grid points
    };
    const Case cases[] = {
        {Corpus("farfield_csv", "APET_LazyH-16m_1deg.csv"), false, 90, 361},
        {Data("farfield_below_horizon_30deg.csv"), true, 7, 13},
    };
    lobex::test::TempFolder folder;
    for (const Case& c : cases) {
        const std::string out = (folder.Path() / "pattern.x").string();
        std::vector<std::string> args = {c.csv, "--out", out};
        if (c.text) {
            args.insert(args.begin(), "--text");
        }
        const CliRun run = RunCommand(RunModel, args, true);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Text(run.json["form"]), c.text ? "text" : "binary");
        EXPECT_TRUE(run.json["written"].toBool());
        EXPECT_EQ(run.json["vertices"].toInt(), c.zeniths * c.azimuths);
        EXPECT_EQ(run.json["faces"].toInt(), (c.zeniths - 1) * (c.azimuths - 1));
        const std::string bytes = lobex::test::ReadBytes(out);
        EXPECT_EQ(run.json["bytes"].toInteger(), static_cast<qint64>(bytes.size()));
        PatternMesh expected = ExpectedMesh(c.csv);
        EXPECT_TRUE(bytes == (c.text ? TextModelText(expected, ".") : BinaryModelBytes(expected)))
            << "the file differs from the writer's";
        // Read back as triangles, two a face: the binary model by Assimp, an independent reader.
        XFileContent content;
        std::string error;
        ASSERT_TRUE(c.text ? ReadXFileFromMemory(bytes, content, error)
                           : ImportXFile(bytes, content, error))
            << error;
        EXPECT_EQ(content.Frames.at(0).Meshes.at(0).Mesh.FaceCount(),
                  2U * static_cast<unsigned>(run.json["faces"].toInt()));
    }
}

TEST(CliModel, ARefusedFileWritesNothingAndSaysWhy) {
    lobex::test::TempFolder folder;
    const std::string out = folder.Write("kept.x", "an earlier model");
    const std::pair<std::string, std::string> cases[] = {
        {Data("sweep_50ohm.csv"), "Неправильный формат данных"},
        {folder.Write("floor.csv", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n"
                                   "0.0,0.0,-80.00,-80.00,-80.00\r\n"
                                   "90.0,0.0,-80.00,-80.00,-80.00\r\n"
                                   "0.0,180.0,-80.00,-80.00,-80.00\r\n"
                                   "90.0,180.0,-80.00,-80.00,-80.00\r\n"),
         "Усиление диаграммы нигде не превышает -60 dBi."},
    };
    for (const auto& [file, message] : cases) {
        const CliRun run = RunCommand(RunModel, {file, "--out", out}, true);
        EXPECT_EQ(run.code, 1) << file;
        EXPECT_FALSE(run.json["written"].toBool());
        EXPECT_EQ(run.json["bytes"].toInt(), 0);
        const auto messages = Messages(run);
        ASSERT_EQ(messages.size(), 1U) << file;
        EXPECT_EQ(messages[0].first, 64);
        EXPECT_NE(messages[0].second.find(message), std::string::npos) << messages[0].second;
        EXPECT_EQ(lobex::test::ReadBytes(out), "an earlier model");
    }
    const CliRun unwritable = RunCommand(RunModel,
                                         {Data("farfield_below_horizon_30deg.csv"), "--out",
                                          (folder.Path() / "no folder" / "m.x").string()},
                                         true);
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(Messages(unwritable),
              (MessageList{{16, "Ошибка записи в файл. Данные не сохранены."}}));
}

// The Khronos validator's verdict on a glTF file: its exit code and what it printed.
ProgramRun ValidateGltf(const std::string& path) {
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const QString script = QStringLiteral(LOBEX_VALIDATORS_DIR "/validate_gltf.mjs");
    EXPECT_FALSE(node.isEmpty()) << "Node.js is missing: scripts/setup.sh installs it";
    EXPECT_TRUE(QFile::exists(
        QStringLiteral(LOBEX_VALIDATORS_DIR "/node_modules/gltf-validator/package.json")))
        << "the glTF validator is missing: scripts/setup.sh installs it";
    return RunProgram({script, QString::fromStdString(path)}, node);
}

TEST(CliModel, WritesAGlbModelTheValidatorAcceptsWithTheAntenna) {
    lobex::test::TempFolder folder;
    const std::string dipole = Data("3d/dipole_20m.maa");
    struct Case {
        std::string csv;
        std::vector<std::string> more;
    };
    const Case cases[] = {
        {Corpus("farfield_csv", "APET_LazyH-16m2_10deg.csv"), {"--antenna", dipole}},
        {Corpus("farfield_csv", "APET_4cross_quads2_10deg.csv"), {"--floor", "10"}},
        {Data("farfield_below_horizon_30deg.csv"), {"--floor", "60", "--antenna", dipole}},
    };
    for (const Case& c : cases) {
        const std::string out = (folder.Path() / "pattern.GLB").string();
        std::vector<std::string> args = {c.csv, "--out", out};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const CliRun run = RunCommand(RunModel, args, true);
        ASSERT_EQ(run.code, 0) << run.err << run.out;
        EXPECT_EQ(Text(run.json["form"]), "glb");
        const std::string bytes = lobex::test::ReadBytes(out);
        ASSERT_GE(bytes.size(), 12U);
        EXPECT_EQ(bytes.substr(0, 4), "glTF");
        EXPECT_EQ(run.json["bytes"].toInteger(), static_cast<qint64>(bytes.size()));
        const ProgramRun verdict = ValidateGltf(out);
        EXPECT_EQ(verdict.code, 0) << c.csv << "\n" << verdict.out.toStdString() << verdict.err;
        EXPECT_NE(verdict.out.indexOf(" 0 errors"), -1) << verdict.out.toStdString();
    }
}

TEST(CliModel, GlbOptionsAreCheckedAndAnUnreadableAntennaWritesNothing) {
    lobex::test::TempFolder folder;
    const std::string csv = Data("farfield_below_horizon_30deg.csv");
    const std::string glb = folder.Write("kept.glb", "an earlier model");
    const std::string x = (folder.Path() / "m.x").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{csv, "--out", glb, "--floor", "5"},
          {csv, "--out", glb, "--floor", "70"},
          {csv, "--out", glb, "--floor", "forty"},
          {csv, "--out", glb, "--text"},
          {csv, "--out", x, "--antenna", Data("3d/dipole_20m.maa")},
          {csv, "--out", glb, "--antenna"}}) {
        const CliRun run = RunCommand(RunModel, args, false);
        EXPECT_EQ(run.code, 2) << args.back();
        EXPECT_NE(run.err.find("Usage: lobex-cli model"), std::string::npos);
    }
    const std::string broken = folder.Write("broken.maa", "Broken\r\n*\r\n14.1\r\n");
    const CliRun run = RunCommand(RunModel, {csv, "--out", glb, "--antenna", broken}, true);
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(run.json["written"].toBool());
    ASSERT_FALSE(Messages(run).empty());
    EXPECT_EQ(Messages(run)[0].first, 16);
    EXPECT_NE(Messages(run)[0].second.find("Ошибка чтения файла описания антенны."),
              std::string::npos);
    EXPECT_EQ(lobex::test::ReadBytes(glb), "an earlier model");
}

TEST(CliAntenna, TheDipoleComesOutScaledIntoTheView) {
    lobex::test::TempFolder folder;
    const std::string file =
        folder.Write("dipole.maa", "Dipole\r\n*\r\n14.1\r\n***Wires***\r\n1\r\n"
                                   "0.0,\t-5.0,\t10.0,\t0.0,\t5.0,\t10.0,\t"
                                   "8.000e-04,\t-1\r\n"
                                   "***Source***\r\n2,\t0\r\n"
                                   "w1c,\t0.0,\t1.0\r\nw1,\t0.0,\t1.0\r\n"
                                   "***Load***\r\n1,\t1\r\n"
                                   "w1b,\t0,\t50.0,\t0.0\r\n");
    const CliRun run = RunCommand(RunAntenna, {file}, true);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["name"]), "Dipole");
    EXPECT_EQ(Text(run.json["frequency"]), "14.1");
    const QJsonArray wires = run.json["wires"].toArray();
    ASSERT_EQ(wires.size(), 1);
    // (0, -5, 10)-(0, 5, 10) is stored as (-5, 10, 0)-(5, 10, 0); the extent is 15.
    EXPECT_EQ(Floats(wires[0]["end1"]), (std::vector<float>{-0.5f, 1.0f, 0.0f}));
    EXPECT_EQ(Floats(wires[0]["end2"]), (std::vector<float>{0.5f, 1.0f, 0.0f}));
    const QJsonArray sources = run.json["sources"].toArray();
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(Text(sources[0]["place"]), "w1c");
    EXPECT_TRUE(sources[0]["valid"].toBool());
    // A place without an end letter has no position.
    EXPECT_EQ(Text(sources[1]["place"]), "w1");
    EXPECT_FALSE(sources[1]["valid"].toBool());
    EXPECT_EQ(run.json["loads"].toArray(), QJsonArray{"w1b"});
}

// The reader itself, on every corpus file, is tested in view3d; here what the command prints of
// a Japanese file, and a refusal as the command reports it.
TEST(CliAntenna, AJapaneseTitleComesOutAsItsCharacters) {
    const CliRun run = RunCommand(RunAntenna, {Corpus("maa", "MMANA-JA_DP20.MAA")}, true);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["name"]), "水平ＤＰ ２０ｍ");
    EXPECT_EQ(Text(run.json["frequency"]), "14.05");
    EXPECT_EQ(run.json["wires"].toArray().size(), 1);
}

TEST(CliAntenna, ARefusedFileGivesTheReadErrorAndNamesTheFile) {
    const char* const name = "handiko_40m_2E_Wire_Beam_NECdeck.maa";
    const CliRun run = RunCommand(RunAntenna, {Corpus("maa", name)}, true);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Messages(run), (MessageList{{16, "Ошибка чтения файла описания антенны."}}));
    EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
    EXPECT_TRUE(run.json["wires"].toArray().isEmpty());
    EXPECT_EQ(Messages(RunCommand(RunAntenna, {"no such file.maa"}, true)).size(), 1U);
}

} // namespace
} // namespace lobex::cli::test
