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
         "Усиление диаграммы нигде не превышает -60 dBi.\r\nТрехмерная модель не построена."},
    };
    for (const auto& [file, message] : cases) {
        const CliRun run = RunCommand(RunModel, {file, "--out", out}, true);
        EXPECT_EQ(run.code, 1) << file;
        EXPECT_FALSE(run.json["written"].toBool());
        EXPECT_EQ(run.json["bytes"].toInt(), 0);
        EXPECT_EQ(Messages(run), (MessageList{{64, message}})) << file;
        EXPECT_EQ(lobex::test::ReadBytes(out), "an earlier model");
    }
    const std::string missing = (folder.Path() / "no folder" / "m.x").string();
    const CliRun unwritable =
        RunCommand(RunModel, {Data("farfield_below_horizon_30deg.csv"), "--out", missing}, true);
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(Messages(unwritable),
              (MessageList{{16, "Ошибка записи в файл. Данные не сохранены.\r\n" + missing +
                                    ": No such file or directory"}}));
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

// The models of the 3D button and the conversion tool, byte for byte what their writer makes,
// and glTF files the Khronos validator accepts, with the antenna where asked.
TEST(CliModel, WritesThe3DButtonsModelsAndGlbFilesTheValidatorAccepts) {
    lobex::test::TempFolder folder;
    const std::string dipole = Data("3d/dipole_20m.maa");
    const std::string beam = Data("farfield_below_horizon_30deg.csv");
    struct Case {
        std::string csv;
        std::vector<std::string> more;
        const char* form;
        int zeniths = 0, azimuths = 0; // the grid points of a .x model
    };
    const Case cases[] = {
        {Corpus("farfield_csv", "APET_LazyH-16m_1deg.csv"), {}, "binary", 90, 361},
        {beam, {"--text"}, "text", 7, 13},
        {Corpus("farfield_csv", "APET_LazyH-16m2_10deg.csv"), {"--antenna", dipole}, "glb"},
        {Corpus("farfield_csv", "APET_4cross_quads2_10deg.csv"), {"--floor", "10"}, "glb"},
        {beam, {"--floor", "60", "--antenna", dipole}, "glb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv + " " + c.form);
        const bool glb = c.zeniths == 0;
        const std::string out = (folder.Path() / (glb ? "pattern.GLB" : "pattern.x")).string();
        std::vector<std::string> args = {c.csv, "--out", out};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const CliRun run = RunCommand(RunModel, args, true);
        ASSERT_EQ(run.code, 0) << run.err << run.out;
        EXPECT_EQ(Text(run.json["form"]), c.form);
        EXPECT_TRUE(run.json["written"].toBool());
        const std::string bytes = lobex::test::ReadBytes(out);
        EXPECT_EQ(run.json["bytes"].toInteger(), static_cast<qint64>(bytes.size()));
        if (glb) {
            EXPECT_EQ(bytes.substr(0, 4), "glTF");
            const ProgramRun verdict = ValidateGltf(out);
            EXPECT_EQ(verdict.code, 0) << verdict.out.toStdString() << verdict.err;
            EXPECT_NE(verdict.out.indexOf(" 0 errors"), -1) << verdict.out.toStdString();
            continue;
        }
        EXPECT_EQ(run.json["vertices"].toInt(), c.zeniths * c.azimuths);
        EXPECT_EQ(run.json["faces"].toInt(), (c.zeniths - 1) * (c.azimuths - 1));
        PatternMesh expected = ExpectedMesh(c.csv);
        EXPECT_TRUE(bytes ==
                    (c.more.empty() ? BinaryModelBytes(expected) : TextModelText(expected, ".")))
            << "the file differs from the writer's";
    }
}

// The reader itself, on every corpus file, is tested in view3d; here what the command prints of
// a Japanese file, and a refusal as the command reports it.
TEST(CliAntenna, PrintsTheTitleAsItsCharactersOrTheReadErrorNamingTheFile) {
    const CliRun run = RunCommand(RunAntenna, {Corpus("maa", "MMANA-JA_DP20.MAA")}, true);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Text(run.json["name"]), "水平ＤＰ ２０ｍ");
    EXPECT_EQ(Text(run.json["frequency"]), "14.05");
    EXPECT_EQ(run.json["wires"].toArray().size(), 1);

    const char* const name = "handiko_40m_2E_Wire_Beam_NECdeck.maa";
    const CliRun refused = RunCommand(RunAntenna, {Corpus("maa", name)}, true);
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(Messages(refused), (MessageList{{16, "Ошибка чтения файла описания антенны."}}));
    EXPECT_NE(refused.err.find(name), std::string::npos) << refused.err;
    EXPECT_TRUE(refused.json["wires"].toArray().isEmpty());
}

} // namespace
} // namespace lobex::cli::test
