#include "view3d/ModelFile.h"
#include "GeneratedFarField.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "core/FarField.h"
#include "scene/OwnModelReader.h"
#include "view3d/ConversionTool.h"
#include "view3d/GltfModel.h"
#include "view3d/PatternModel.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <tiny_gltf.h>
#include <tuple>
#include <vector>

namespace lobex {
namespace {

// The binary model of a pattern as the table of the .x format lays it out, built from its parts
// so that single parts can be changed while the rest stays consistent: a 16-byte header, then
// tokens (1 name, 6 integer list, 7 float list, 10 open brace, 11 close brace), all
// little-endian.
struct ModelParts {
    std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<Vector3> vertices;
    std::vector<std::vector<std::uint32_t>> faces;
    std::vector<Vector3> normals;
    std::vector<std::vector<std::uint32_t>> normalFaces;

    explicit ModelParts(const PatternMesh& mesh) : normals(mesh.PatternNormals) {
        for (const Vector3& v : mesh.PatternVertices) {
            vertices.push_back(ToScene(v));
        }
        for (const PatternFace& f : mesh.PatternFaces) {
            faces.push_back({f.a, f.b, f.c, f.d});
        }
        normalFaces = faces;
    }

    std::string Bytes() const {
        std::string out = "xof 0303bin 0032";
        const auto put = [&out](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
            }
        };
        const auto name = [&](std::string_view text) {
            put(1, 2);
            put(static_cast<std::uint32_t>(text.size()), 4);
            out.append(text);
            put(10, 2);
        };
        // A list of integers (token 6) or of floats (token 7).
        const auto list = [&](std::uint32_t token, const auto& values) {
            put(token, 2);
            put(static_cast<std::uint32_t>(values.size()), 4);
            for (const auto value : values) {
                put(std::bit_cast<std::uint32_t>(value), 4);
            }
        };
        const auto mesh = [&](const std::vector<Vector3>& points,
                              const std::vector<std::vector<std::uint32_t>>& faceList) {
            list(6, std::array{static_cast<std::uint32_t>(points.size())});
            std::vector<float> coordinates;
            for (const Vector3& p : points) {
                coordinates.insert(coordinates.end(), {p.x, p.y, p.z});
            }
            list(7, coordinates);
            std::vector<std::uint32_t> values{static_cast<std::uint32_t>(faceList.size())};
            for (const auto& face : faceList) {
                values.push_back(static_cast<std::uint32_t>(face.size()));
                values.insert(values.end(), face.begin(), face.end());
            }
            list(6, values);
        };
        name("Frame");
        name("FrameTransformMatrix");
        list(7, matrix);
        put(11, 2);
        name("Mesh");
        mesh(vertices, faces);
        name("MeshNormals");
        mesh(normals, normalFaces);
        for (int brace = 0; brace < 3; ++brace) {
            put(11, 2);
        }
        return out;
    }
};

TEST(TextModel, EveryLineIsAsTheTableGivesItWithPointsUnderACommaLocale) {
    // A quadrilateral with corners a, b, c, d = 0, 2, 3, 1; in scene space D - B = (-1, 0, 1)
    // and A - C = (-0.5, 2.5, 0.25), whose cross product (-2.5, -0.25, -2.5) normalises to the
    // normal written four times.
    PatternMesh mesh;
    mesh.PointCount = 2;
    mesh.ColumnCount = 2;
    mesh.PatternVertices = {{0.25f, -0.5f, 1.0f}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1.5f}};
    const std::string normal = "-0.705346;-0.070535;-0.705346;";
    const std::string expected =
        "xof 0303txt 0032\r\nFrame {\r\nFrameTransformMatrix {\r\n"
        "1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
        "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;\r\n}\r\n"
        "Mesh {\r\n4;\r\n-0.500000;1.000000;0.250000;,\r\n0.000000;0.000000;1.000000;,\r\n"
        "1.000000;0.000000;0.000000;,\r\n0.000000;-1.500000;0.000000;;\r\n\r\n"
        "1;\r\n4;0,2,3,1;;\r\n\r\nMeshNormals {\r\n4;\r\n" +
        normal + ",\r\n" + normal + ",\r\n" + normal + ",\r\n" + normal +
        ";\r\n1;\r\n4;0,2,3,1;;\r\n\r\n}\r\n}\r\n}\r\n";
    EXPECT_EQ(TextModelText(mesh, ","), expected);
    EXPECT_EQ(TextModelText(mesh, "."), expected);
}

// Read back by Assimp, an independent reader: the same faces, in the same order, on the same
// positions with the same normals.
void ExpectAssimpReadsTheMesh(const std::string& path, const PatternMesh& mesh, float tolerance) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_ConvertToLeftHanded);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1U);
    const aiMesh& read = *scene->mMeshes[0];
    ASSERT_EQ(read.mNumFaces, mesh.PatternFaces.size());
    ASSERT_TRUE(read.HasNormals());
    std::set<std::tuple<float, float, float, float, float, float>> distinct;
    for (unsigned int f = 0; f < read.mNumFaces; ++f) {
        ASSERT_EQ(read.mFaces[f].mNumIndices, 4U);
        const PatternFace& ours = mesh.PatternFaces[f];
        const std::uint32_t corners[] = {ours.a, ours.b, ours.c, ours.d};
        for (int c = 0; c < 4; ++c) {
            const aiVector3D& p = read.mVertices[read.mFaces[f].mIndices[c]];
            const aiVector3D& n = read.mNormals[read.mFaces[f].mIndices[c]];
            const Vector3 position = ToScene(mesh.PatternVertices[corners[c]]);
            const Vector3 normal = mesh.PatternNormals[corners[c]];
            SCOPED_TRACE(testing::Message() << "face " << f << " corner " << c);
            test::ExpectNear({p.x, p.y, p.z}, position, tolerance);
            test::ExpectNear({n.x, n.y, n.z}, normal, tolerance);
            distinct.emplace(p.x, p.y, p.z, n.x, n.y, n.z);
        }
    }
    // Assimp gives every face corner its own vertex; the distinct ones are the mesh's vertices.
    EXPECT_EQ(distinct.size(), mesh.PatternVertices.size());
}

TEST(ModelFiles, AssimpReadsBothFormsBackAsTheSameMesh) {
    test::TempFolder folder;
    PatternMesh mesh = test::BuiltMesh(test::LobedGrid(5.0f));
    ExpectAssimpReadsTheMesh(folder.Write("binary.x", BinaryModelBytes(mesh)), mesh, 0.0f);
    // Six decimals, rounded from the shortest decimal text of the float: at most half a unit of
    // the sixth decimal and the float's own half step.
    ExpectAssimpReadsTheMesh(folder.Write("text.x", TextModelText(mesh, ",")), mesh, 6e-7f);
}

TEST(DescriptionFile, ThePathIsCutAtTheFirstCsvAndTheHookWritesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\data\\a.csv", "c:\\data\\a.dsc"},
        {"c:\\data\\a.csv.old.csv", "c:\\data\\a.dsc"},
        {".csv", ".csv.dsc"},                   // looked for from the second character on
        {"C:\\DATA\\A.CSV", "C:\\DATA\\A.dsc"}, // Windows lists upper-case names for *.csv
        {"a.Csv.csv", "a.Csv.dsc"},             // the exact case is looked for first
        {"pattern.txt", "pattern.txt.dsc"},
    };
    for (const auto& [csv, dsc] : cases) {
        EXPECT_EQ(DescriptionPathFor(csv), dsc) << csv;
    }
    test::TempFolder folder;
    const std::string description = (folder.Path() / "pattern.dsc").string();
    EXPECT_FALSE(DescriptionFileHook(folder.Write("temp.x", "xof 0303txt 0032\r\n"), description));
    EXPECT_FALSE(std::filesystem::exists(description));
}

// One lobe towards azimuth 0 on the horizon, 20 dB above the back.
FarFieldGrid Lobe() {
    return test::MakeGrid(10.0f, 10.0f, [](float zenith, float azimuth) {
        const float degree = 3.14159265f / 180.0f;
        return 10.0f * std::sin(zenith * degree) * (1.0f + std::cos(azimuth * degree)) - 10.0f;
    });
}

std::vector<Vector3> Vectors(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& accessor = model.accessors.at(static_cast<std::size_t>(index));
    const tinygltf::BufferView& view = model.bufferViews.at(accessor.bufferView);
    std::vector<Vector3> vectors(accessor.count);
    std::memcpy(vectors.data(), model.buffers.at(0).data.data() + view.byteOffset,
                vectors.size() * sizeof(Vector3));
    return vectors;
}

const tinygltf::Primitive& PrimitiveOf(const tinygltf::Model& model, const std::string& name) {
    for (const tinygltf::Mesh& mesh : model.meshes) {
        if (mesh.name == name) {
            return mesh.primitives.at(0);
        }
    }
    ADD_FAILURE() << "no mesh " << name;
    static const tinygltf::Primitive none;
    return none;
}

TEST(GltfModel, TheSurfaceKeepsThePatternsAxesWithUnitNormalsAndColoursByGain) {
    PatternMesh mesh = test::BuiltMesh(Lobe());
    const AntennaDescription antenna = test::Dipole();
    const GltfModelResult glb = PatternGlb(mesh, {30.0f, &antenna, "lobe.csv"});
    ASSERT_FALSE(glb.bytes.empty()) << glb.error;
    tinygltf::Model model;
    std::string error, warning;
    ASSERT_TRUE(tinygltf::TinyGLTF().LoadBinaryFromMemory(
        &model, &error, &warning, reinterpret_cast<const unsigned char*>(glb.bytes.data()),
        static_cast<unsigned int>(glb.bytes.size())))
        << error;

    // What the model says of itself.
    const tinygltf::Value& extras = model.asset.extras;
    EXPECT_EQ(extras.Get("antenna").Get<std::string>(), "Dipole 20m");
    EXPECT_EQ(extras.Get("frequencyMHz").Get<std::string>(), "14.1");
    EXPECT_EQ(extras.Get("source").Get<std::string>(), "lobe.csv");
    EXPECT_NEAR(extras.Get("peakGainDbi").GetNumberAsDouble(), 10.0, 1e-4);
    EXPECT_NEAR(extras.Get("colourRangeDb").GetNumberAsDouble(), 30.0, 1e-6);

    // The root turns z up into glTF's y up; the pattern below it keeps its own axes.
    ASSERT_EQ(model.scenes.at(0).nodes, std::vector<int>{0});
    const std::vector<double>& turn = model.nodes.at(0).rotation;
    ASSERT_EQ(turn.size(), 4U);
    EXPECT_NEAR(turn[0], -std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(turn[3], std::sqrt(0.5), 1e-9);

    const tinygltf::Primitive& surface = PrimitiveOf(model, "pattern");
    const std::vector<Vector3> positions = Vectors(model, surface.attributes.at("POSITION"));
    const std::vector<Vector3> normals = Vectors(model, surface.attributes.at("NORMAL"));
    const std::vector<Vector3> colours = Vectors(model, surface.attributes.at("COLOR_0"));
    ASSERT_EQ(positions.size(), mesh.PatternVertices.size());
    EXPECT_EQ(glb.vertices, positions.size());
    // The peak, at zenith 90 and azimuth 0, lies on the pattern's x axis and is yellow; the
    // back, 20 dB down with a range of 30, a third of the way up the map.
    const std::size_t peak = 9 * mesh.ColumnCount;
    test::ExpectNear(positions[peak], {1.0f, 0.0f, 0.0f}, 1e-5f);
    EXPECT_NEAR(colours[peak].z, GainColour(1.0f).b, 1e-5f);
    const std::size_t back = 9 * mesh.ColumnCount + 18;
    EXPECT_NEAR(colours[back].y, GainColour(1.0f / 3.0f).g, 1e-3f);
    for (std::size_t k = 0; k < normals.size(); ++k) {
        ASSERT_NEAR(Vec3Length(normals[k]), 1.0f, 1e-5f) << "vertex " << k;
    }
    // The normal at the peak points outwards, along x.
    EXPECT_GT(normals[peak].x, 0.9f);

    // Two triangles a face, but none of those folded onto a pole.
    EXPECT_EQ(model.accessors.at(surface.indices).count, 3 * glb.triangles);
    EXPECT_LT(glb.triangles, 2 * mesh.PatternFaces.size());
    EXPECT_GT(glb.triangles, 2 * mesh.PatternFaces.size() - 2 * 2 * mesh.ColumnCount);

    // The wire as one line in the pattern's axes, the one valid feed as one sphere.
    const tinygltf::Primitive& wires = PrimitiveOf(model, "wires");
    EXPECT_EQ(wires.mode, TINYGLTF_MODE_LINE);
    const std::vector<Vector3> ends = Vectors(model, wires.attributes.at("POSITION"));
    ASSERT_EQ(ends.size(), 2U);
    test::ExpectNear(ends[0], {0.0f, -0.75f, 0.5f}, 1e-6f);
    int feeds = 0;
    for (const tinygltf::Node& node : model.nodes) {
        if (node.name.rfind("feed", 0) == 0) {
            ++feeds;
            EXPECT_EQ(node.translation, (std::vector<double>{0.0, 0.0, 0.5}));
        }
    }
    EXPECT_EQ(feeds, 1);

    // A pattern without surface makes no model.
    const GltfModelResult none = PatternGlb(PatternMesh{}, {});
    EXPECT_TRUE(none.bytes.empty());
    EXPECT_FALSE(none.error.empty());
}

// Two readings of one of our files are the same: one frame holding one mesh, bit for bit,
// except that any two NaNs count as the same (the general reader may change a NaN's sign on
// the way through its handedness conversions).
bool Same(const XFileContent& a, const XFileContent& b) {
    const auto mesh = [](const XFileContent& content) -> const XMeshObject* {
        const bool one = content.Frames.size() == 1 && content.Meshes.empty() &&
                         content.Frames[0].Frames.empty() && content.Frames[0].Meshes.size() == 1;
        return one ? &content.Frames[0].Meshes[0] : nullptr;
    };
    const auto bits = [](const XMeshObject& object) {
        std::vector<std::uint32_t> out;
        for (const MeshVertex& v : object.Mesh.Vertices) {
            for (float f : {v.Position.x, v.Position.y, v.Position.z, v.Normal.x, v.Normal.y,
                            v.Normal.z, v.Tu, v.Tv}) {
                out.push_back(std::isnan(f) ? 0x7FC00000U : std::bit_cast<std::uint32_t>(f));
            }
        }
        return out;
    };
    const XMeshObject* x = mesh(a);
    const XMeshObject* y = mesh(b);
    return x != nullptr && y != nullptr && a.Frames[0].Transform == b.Frames[0].Transform &&
           x->Mesh.VertexFormat == y->Mesh.VertexFormat && x->Mesh.Indices == y->Mesh.Indices &&
           x->Mesh.Attributes == y->Mesh.Attributes && x->Materials == y->Materials &&
           x->TextureNames == y->TextureNames && bits(*x) == bits(*y);
}

// The models we write, laid out as the table says, and both readers on their bytes: the own
// reader must take the file, and give what Assimp gives.
TEST(OwnModelReader, GivesWhatAssimpGivesForTheModelsWeWrite) {
    PatternMesh grid37By73 = test::BuiltMesh(test::FortyBelowTenAbove());
    EXPECT_EQ(BinaryModelBytes(grid37By73).size(), 168722U);
    const LoadResult corpus = ReadFarFieldGrid(
        test::ReadBytes(test::CorpusFolder() / "farfield_csv" / "APET_LazyH-16m_1deg.csv"));
    ASSERT_TRUE(corpus.loaded);
    const std::pair<const char*, FarFieldGrid> cases[] = {
        {"-40 dBi with one +10 dBi point: poles and seam shared", test::FortyBelowTenAbove()},
        {"the 1-degree corpus pattern", corpus.farField},
    };
    XFileContent own;
    for (const auto& [what, grid] : cases) {
        SCOPED_TRACE(what);
        PatternMesh mesh = test::BuiltMesh(grid);
        const std::string bytes = BinaryModelBytes(mesh);
        EXPECT_TRUE(bytes == ModelParts(mesh).Bytes()) << "not laid out as the table says";
        own = {};
        ASSERT_EQ(ReadOwnModelFile(bytes, own), OwnModelRead::Read);
        XFileContent general;
        std::string error;
        ASSERT_TRUE(ImportXFile(bytes, general, error)) << error;
        EXPECT_TRUE(Same(own, general));
    }
    // The corpus pattern: 90 zenith angles by 361 columns. The 360 column repeats the positions
    // of the 0 column, but the running normals differ at the seam, so no vertex is joined.
    const MeshData& read = own.Frames.at(0).Meshes.at(0).Mesh;
    EXPECT_EQ(read.FaceCount(), 2U * 89U * 360U);
    EXPECT_EQ(read.Vertices.size(), 90U * 361U);
}

// The 45-degree pattern's file: 45 vertices, 32 faces; where its parts begin.
const PatternMesh& Small() {
    static const PatternMesh mesh = test::BuiltMesh(test::LobedGrid(45.0f));
    return mesh;
}
constexpr std::size_t kVertexCountAt = 16 + 13 + 28 + 6 + 64 + 2 + 12 + 6;
constexpr std::size_t kFacesAt = kVertexCountAt + 4 + 6 + 12 * 45;

// Files of another layout are left to the general reader. Ours whose counts contradict their
// size are refused before it: it allocates by such counts and keeps the memory when it fails.
TEST(OwnModelReader, LeavesOtherLayoutsToTheGeneralReaderAndRefusesContradictingCounts) {
    const std::string ours = ModelParts(Small()).Bytes();
    std::vector<std::tuple<const char*, std::string, OwnModelRead, bool>> cases; // readable?
    const auto changed = [&](const char* what, bool readable, auto change) {
        ModelParts parts(Small());
        change(parts);
        cases.emplace_back(what, parts.Bytes(), OwnModelRead::NotOurs, readable);
    };
    changed("a moved frame", true, [](ModelParts& p) { p.matrix[12] = 2.0f; });
    changed("triangles", true, [](ModelParts& p) {
        for (auto& face : p.faces) {
            face.pop_back();
        }
        p.normalFaces = p.faces;
    });
    cases.emplace_back("the text form's header", std::string(ours).replace(8, 3, "txt"),
                       OwnModelRead::NotOurs, false);
    cases.emplace_back("64-bit floats", std::string(ours).replace(12, 4, "0064"),
                       OwnModelRead::NotOurs, false);
    cases.emplace_back("one byte more, which the general reader passes over", ours + '\0',
                       OwnModelRead::NotOurs, true);
    const auto counted = [&](const char* what, std::size_t at, std::uint32_t value) {
        std::string bytes = ours;
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        cases.emplace_back(what, bytes, OwnModelRead::Damaged, false);
    };
    counted("more vertices than the file holds", kVertexCountAt, 0xFFFFFFFFU);
    counted("a float list longer than the file", kVertexCountAt + 6, 0x10000000U);
    counted("more faces than the list holds", kFacesAt + 6, 0x01000000U);
    counted("a corner past the last vertex", kFacesAt + 14, 45);
    counted("more normals than the file holds",
            ours.size() - 6 - (10 + 20 * 32) - (6 + 12 * 45) - 4, 0xFFFFFFF0U);
    for (const auto& [what, bytes, outcome, readable] : cases) {
        SCOPED_TRACE(what);
        XFileContent content;
        content.Meshes.emplace_back();
        EXPECT_EQ(ReadOwnModelFile(bytes, content), outcome);
        EXPECT_EQ(content.Meshes.size(), 1U) << "content changed";
        std::string error;
        EXPECT_EQ(ReadXFileFromMemory(bytes, content, error), readable) << error;
        if (outcome == OwnModelRead::Damaged) {
            EXPECT_NE(error.find("damaged"), std::string::npos) << error;
        }
    }
}

constexpr const char* kWrongFormat = "Неправильный формат данных";

std::string Fixture(const char* name) {
    return (test::TestDataFolder() / name).string();
}

// The vertex count of a text model: the line "V;" after the one that opens the mesh.
std::string VertexCountLine(const std::string& model) {
    const std::size_t at = model.find("Mesh {\r\n");
    return at == std::string::npos ? "" : model.substr(at + 8, model.find("\r\n", at + 8) - at - 8);
}

class ConversionTool : public ::testing::Test {
protected:
    ConversionTool() {
        state.Paths.TempModelFile = temp.Write("temp.x", "the 3D view's model");
        state.Loaded.CurrentFile = "c:\\data\\loaded.csv";
        // A loaded pattern the conversion must leave alone.
        state.Loaded.FarField = {AzimuthColumn{0.0f, {{0.0f, 1.0f, 2.0f, 3.0f}}}};
        state.Loaded.Data.DataKind = KindFarField;
        window.whileAsking = [this] {
            state.Loaded.CurrentFile = window.dataFile;
        };
    }
    std::string ConversionModel() const { return test::ReadBytes(ConversionModelFile(state)); }
    void ExpectTheLoadedDataKept() const {
        EXPECT_EQ(test::ReadBytes(state.Paths.TempModelFile), "the 3D view's model");
        ASSERT_EQ(state.Loaded.FarField.size(), 1U);
        EXPECT_EQ(state.Loaded.FarField[0].Points[0].Total, 3.0f);
        EXPECT_EQ(state.Loaded.Data.DataKind, KindFarField);
        EXPECT_EQ(state.Loaded.CurrentFile, "c:\\data\\loaded.csv");
    }

    test::TempFolder temp;
    test::TempFolder data;
    AppState state;
    test::RecordingMessages messages;
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
    ConversionContext context{state, messages, settings, dialogs};
    // The data file window, whose choice also lands in CurrentFile as frmFile's does.
    test::FakeFileDialogs window;
    ConversionContext folderContext{state, messages, settings, window};
    std::vector<bool> busy;
    std::function<void(bool)> busyCallback = [this](bool on) {
        busy.push_back(on);
    };
};

// An empty path asks for the file in the stored data folder; the file chosen becomes a text model
// (with points whatever the decimal symbol, as TextModel tests) and the loaded data stays.
TEST_F(ConversionTool, AnEmptyPathAsksForTheFileWhichBecomesATextModelAndTheLoadedDataStays) {
    settings.values["Paths/DataPath"] = "c:\\mmana\\";
    std::string path;
    EXPECT_FALSE(ConvertCsvToDsc(context, path)); // cancelled
    EXPECT_EQ(dialogs.openTitles, std::vector<std::string>{"Open .csv file"});
    EXPECT_EQ(dialogs.filters, std::vector<std::string>{"CSV File (*.csv)|*.csv"});
    EXPECT_EQ(dialogs.folders, std::vector<std::string>{"c:\\mmana\\"}); // even when it is gone
    EXPECT_FALSE(std::filesystem::exists(ConversionModelFile(state)));

    dialogs.openFile = Fixture("farfield_below_horizon_30deg.csv");
    state.DecimalSeparator = ",";
    // No description format is defined: the step reports that nothing was made.
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    EXPECT_EQ(path, dialogs.openFile);
    EXPECT_TRUE(messages.shown.empty());
    const std::string model = ConversionModel();
    EXPECT_EQ(model.substr(0, 18), "xof 0303txt 0032\r\n");
    EXPECT_EQ(VertexCountLine(model), "91;"); // 7 zenith angles by 13 columns
    ExpectTheLoadedDataKept();

    // A path given is converted without asking.
    path = data.Write("lobe.csv", test::MakeFarFieldCsv(30.0, 90.0));
    ConvertCsvToDsc(context, path);
    EXPECT_EQ(dialogs.openTitles.size(), 2U);
    EXPECT_EQ(VertexCountLine(ConversionModel()), "52;"); // 4 zenith angles by 13 columns
}

TEST_F(ConversionTool, AFileThatIsNoPatternOrAModelThatCannotBeWrittenIsToldAbout) {
    // The 3D button on the loaded grid, which gives no surface, says so and leaves the model.
    View3DState view;
    View3DContext model{state, view, messages};
    EXPECT_FALSE(PreparePatternModel(model));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_NE(messages.shown[0].text.find("Трехмерная модель не построена."), std::string::npos);
    ExpectTheLoadedDataKept();
    messages.shown.clear();

    std::string path = data.Write("bad.csv", test::ReadBytes(Fixture("sweep_50ohm.csv")));
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    ASSERT_EQ(messages.Texts(), std::vector<std::string>{kWrongFormat});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(ConversionModelFile(state)));
    // A model that cannot be written shows the write error.
    messages.shown.clear();
    state.Paths.TempModelFile = (temp.Path() / "gone" / "temp.x").string();
    path = Fixture("farfield_below_horizon_30deg.csv");
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    ASSERT_EQ(messages.shown.size(), 1U);
    // The conversion writes its own model file beside the temporary one; the message names it.
    EXPECT_TRUE(messages.shown[0].text.starts_with(
        "Ошибка записи в файл. Данные не сохранены.\r\n" + ConversionModelFile(state) + ": "))
        << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
}

TEST_F(ConversionTool, AFolderIsConvertedFileByFileInNameOrder) {
    data.Write("a_lobe.csv", test::MakeFarFieldCsv(30.0, 90.0));
    data.Write("b_sweep.csv", test::ReadBytes(Fixture("sweep_50ohm.csv")));
    data.Write("C_SPHERE.CSV", test::ReadBytes(Fixture("farfield_below_horizon_30deg.csv")));
    window.dataFile = data.Write("notes.txt", "not converted");
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(window.captions, std::vector<std::string>{"Open File"});
    // The sweep file is refused on its way; the last file converted is the upper-case one.
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWrongFormat, "Convertion completed"}));
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Information);
    EXPECT_EQ(VertexCountLine(ConversionModel()), "91;");
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    ExpectTheLoadedDataKept();

    // A folder without .csv files still ends with the message; a cancel does nothing.
    messages.shown.clear();
    test::TempFolder other;
    window.dataFile = other.Write("model.maa", "x");
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Convertion completed"});
    window.dataFile.clear();
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(state.Loaded.CurrentFile, "c:\\data\\loaded.csv");
}

} // namespace
} // namespace lobex
