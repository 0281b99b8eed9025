#include "view3d/ModelFile.h"
#include "BinaryModelLayout.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace lobex {
namespace {

TEST(BinaryModel, A37By73GridMakesA168722ByteFileLaidOutAsTheTableSays) {
    PatternMesh mesh = test::BuiltMesh(test::FortyBelowTenAbove());
    const std::string bytes = BinaryModelBytes(mesh);
    EXPECT_EQ(bytes.size(), 168722U);
    EXPECT_TRUE(bytes == test::ModelParts(mesh).Bytes());
}

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

} // namespace
} // namespace lobex
