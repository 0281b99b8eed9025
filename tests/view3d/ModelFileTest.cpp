#include "view3d/ModelFile.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/PatternMesh.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <set>
#include <tuple>

namespace lobex {
namespace {

using test::TemporaryFolder;

PatternMesh BuiltMesh(const FarFieldGrid& grid) {
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(grid, kPiValue, mesh, refusal)) << refusal;
    return mesh;
}

// A pattern with lobes in every direction, so no two vertices share position and normal.
FarFieldGrid LobedGrid() {
    return test::MakeGrid(5.0f, 5.0f, [](float zenith, float azimuth) {
        const float theta = zenith * 3.14159265f / 180.0f;
        const float phi = azimuth * 3.14159265f / 180.0f;
        return 8.0f * std::sin(theta) * std::cos(phi) + 2.0f * std::cos(2 * theta) - 12.0f;
    });
}

// Reads the binary model back token by token, as the table of the format lists them.
class TokenReader {
public:
    explicit TokenReader(const std::string& bytes) : bytes_(bytes) {}

    std::string Characters(std::size_t count) {
        Need(count);
        std::string text = bytes_.substr(at_, count);
        at_ += count;
        return text;
    }
    std::uint16_t Word() { return Little<std::uint16_t>(); }
    std::uint32_t Dword() { return Little<std::uint32_t>(); }
    float Float() { return std::bit_cast<float>(Dword()); }
    // A name token, its text and the open brace after it.
    void ExpectName(const std::string& name) {
        EXPECT_EQ(Word(), 1U) << name;
        EXPECT_EQ(Dword(), name.size()) << name;
        EXPECT_EQ(Characters(name.size()), name);
        EXPECT_EQ(Word(), 10U) << name;
    }
    std::size_t At() const { return at_; }
    std::size_t Left() const { return bytes_.size() - at_; }

private:
    void Need(std::size_t count) const { ASSERT_LE(at_ + count, bytes_.size()); }
    template <typename T>
    T Little() {
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value |= static_cast<T>(static_cast<unsigned char>(bytes_.at(at_ + i))) << (8 * i);
        }
        at_ += sizeof(T);
        return value;
    }

    const std::string& bytes_;
    std::size_t at_ = 0;
};

TEST(BinaryModel, A37By73GridMakesA168722ByteFileLaidOutAsTheTableSays) {
    PatternMesh mesh = BuiltMesh(test::FortyBelowTenAbove());
    const std::string bytes = BinaryModelBytes(mesh);
    ASSERT_EQ(bytes.size(), 168722U);

    TokenReader in(bytes);
    EXPECT_EQ(in.Characters(16), "xof 0303bin 0032");
    in.ExpectName("Frame");
    in.ExpectName("FrameTransformMatrix");
    EXPECT_EQ(in.Word(), 7U);
    EXPECT_EQ(in.Dword(), 16U);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(in.Float(), i % 5 == 0 ? 1.0f : 0.0f) << "matrix element " << i;
    }
    EXPECT_EQ(in.Word(), 11U);
    in.ExpectName("Mesh");
    EXPECT_EQ(in.Word(), 6U);
    EXPECT_EQ(in.Dword(), 1U);
    EXPECT_EQ(in.Dword(), 2701U);
    EXPECT_EQ(in.Word(), 7U);
    EXPECT_EQ(in.Dword(), 3U * 2701U);
    for (std::size_t k = 0; k < 2701; ++k) {
        const Vector3 scene = ToScene(mesh.PatternVertices[k]);
        ASSERT_EQ(in.Float(), scene.x) << k;
        ASSERT_EQ(in.Float(), scene.y) << k;
        ASSERT_EQ(in.Float(), scene.z) << k;
    }
    auto expectFaces = [&] {
        EXPECT_EQ(in.Word(), 6U);
        EXPECT_EQ(in.Dword(), 5U * 2592U + 1U);
        EXPECT_EQ(in.Dword(), 2592U);
        for (const PatternFace& face : mesh.PatternFaces) {
            ASSERT_EQ(in.Dword(), 4U);
            ASSERT_EQ(in.Dword(), face.a);
            ASSERT_EQ(in.Dword(), face.b);
            ASSERT_EQ(in.Dword(), face.c);
            ASSERT_EQ(in.Dword(), face.d);
        }
    };
    const std::size_t facesAt = in.At();
    expectFaces();
    // The first face as bytes: 4, 0, 73, 74, 1.
    std::uint32_t first[5];
    std::memcpy(first, bytes.data() + facesAt + 10, sizeof(first));
    EXPECT_EQ(std::vector<std::uint32_t>(first, first + 5),
              (std::vector<std::uint32_t>{4, 0, 73, 74, 1}));
    in.ExpectName("MeshNormals");
    EXPECT_EQ(in.Word(), 6U);
    EXPECT_EQ(in.Dword(), 1U);
    EXPECT_EQ(in.Dword(), 2701U);
    EXPECT_EQ(in.Word(), 7U);
    EXPECT_EQ(in.Dword(), 3U * 2701U);
    for (std::size_t k = 0; k < 2701; ++k) {
        ASSERT_EQ(in.Float(), mesh.PatternNormals[k].x) << k;
        ASSERT_EQ(in.Float(), mesh.PatternNormals[k].y) << k;
        ASSERT_EQ(in.Float(), mesh.PatternNormals[k].z) << k;
    }
    expectFaces();
    for (int brace = 0; brace < 3; ++brace) {
        EXPECT_EQ(in.Word(), 11U);
    }
    EXPECT_EQ(in.Left(), 0U);
}

// A quadrilateral with one vertex at the pattern position (0.25, -0.5, 1).
PatternMesh OneFace() {
    PatternMesh mesh;
    mesh.PointCount = 2;
    mesh.ColumnCount = 2;
    mesh.PatternVertices = {{0.25f, -0.5f, 1.0f}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1.5f}};
    return mesh;
}

TEST(TextModel, EveryLineIsAsTheTableGivesItWithPointsUnderACommaLocale) {
    // Corners a, b, c, d = 0, 2, 3, 1; in scene space D - B = (-1, 0, 1) and
    // A - C = (-0.5, 2.5, 0.25), whose cross product (-2.5, -0.25, -2.5) normalises to the
    // normal written four times.
    const char* normal = "-0.705346;-0.070535;-0.705346;";
    const std::string expected =
        std::string("xof 0303txt 0032\r\n"
                    "Frame {\r\n"
                    "FrameTransformMatrix {\r\n"
                    "1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
                    "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;\r\n"
                    "}\r\n"
                    "Mesh {\r\n"
                    "4;\r\n"
                    "-0.500000;1.000000;0.250000;,\r\n"
                    "0.000000;0.000000;1.000000;,\r\n"
                    "1.000000;0.000000;0.000000;,\r\n"
                    "0.000000;-1.500000;0.000000;;\r\n"
                    "\r\n"
                    "1;\r\n"
                    "4;0,2,3,1;;\r\n"
                    "\r\n"
                    "MeshNormals {\r\n"
                    "4;\r\n")
            .append(normal)
            .append(",\r\n")
            .append(normal)
            .append(",\r\n")
            .append(normal)
            .append(",\r\n")
            .append(normal)
            .append(";\r\n"
                    "1;\r\n"
                    "4;0,2,3,1;;\r\n"
                    "\r\n"
                    "}\r\n"
                    "}\r\n"
                    "}\r\n");
    for (const char* separator : {",", "."}) {
        PatternMesh mesh = OneFace();
        EXPECT_EQ(TextModelText(mesh, separator), expected) << "separator " << separator;
    }
}

// Both forms read back by Assimp, an independent reader: the same faces, in the same order, on
// the same positions with the same normals.
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
        const aiFace& face = read.mFaces[f];
        ASSERT_EQ(face.mNumIndices, 4U);
        const PatternFace& ours = mesh.PatternFaces[f];
        const std::uint32_t corners[] = {ours.a, ours.b, ours.c, ours.d};
        for (int c = 0; c < 4; ++c) {
            const aiVector3D& p = read.mVertices[face.mIndices[c]];
            const aiVector3D& n = read.mNormals[face.mIndices[c]];
            const Vector3 position = ToScene(mesh.PatternVertices[corners[c]]);
            const Vector3 normal = mesh.PatternNormals[corners[c]];
            ASSERT_NEAR(p.x, position.x, tolerance) << "face " << f << " corner " << c;
            ASSERT_NEAR(p.y, position.y, tolerance) << "face " << f << " corner " << c;
            ASSERT_NEAR(p.z, position.z, tolerance) << "face " << f << " corner " << c;
            ASSERT_NEAR(n.x, normal.x, tolerance) << "face " << f << " corner " << c;
            ASSERT_NEAR(n.y, normal.y, tolerance) << "face " << f << " corner " << c;
            ASSERT_NEAR(n.z, normal.z, tolerance) << "face " << f << " corner " << c;
            distinct.emplace(p.x, p.y, p.z, n.x, n.y, n.z);
        }
    }
    // Assimp gives every face corner its own vertex; the distinct ones are the mesh's vertices.
    EXPECT_EQ(distinct.size(), mesh.PatternVertices.size());
}

TEST(ModelFiles, AssimpReadsBothFormsBackAsTheSameMesh) {
    TemporaryFolder folder;
    PatternMesh mesh = BuiltMesh(LobedGrid());
    ASSERT_TRUE(ReplaceFileContents(folder.File("binary.x"), BinaryModelBytes(mesh)));
    ASSERT_TRUE(ReplaceFileContents(folder.File("text.x"), TextModelText(mesh, ",")));
    ExpectAssimpReadsTheMesh(folder.File("binary.x"), mesh, 0.0f);
    // Six decimals, rounded from the shortest decimal text of the float: at most half a unit of
    // the sixth decimal and the float's own half step.
    ExpectAssimpReadsTheMesh(folder.File("text.x"), mesh, 6e-7f);
}

TEST(ReplaceFileContents, ReplacesTheWholeFileOrLeavesTheOldOneAlone) {
    TemporaryFolder folder;
    const std::string path = folder.File("temp.x");
    ASSERT_TRUE(ReplaceFileContents(path, "first version, longer"));
    ASSERT_TRUE(ReplaceFileContents(path, "second"));
    EXPECT_EQ(test::ReadBytes(path), "second");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // The temporary file cannot be made: the old file stays as it was.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(ReplaceFileContents(path, "third"));
    EXPECT_EQ(test::ReadBytes(path), "second");

    EXPECT_FALSE(ReplaceFileContents(folder.File("no such folder/temp.x"), "x"));
    EXPECT_FALSE(ReplaceFileContents("", "x"));
    // A target that is a folder cannot be replaced; nothing is left behind.
    std::filesystem::create_directory(folder.File("folder.x"));
    EXPECT_FALSE(ReplaceFileContents(folder.File("folder.x"), "x"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("folder.x.tmp")));
}

} // namespace
} // namespace lobex
