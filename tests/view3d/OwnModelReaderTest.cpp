#include "scene/OwnModelReader.h"
#include "BinaryModelLayout.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "core/FarField.h"
#include "view3d/ModelFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace lobex {
namespace {

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

// Both readers on the same bytes: the own reader must take the file, and give what Assimp gives.
TEST(OwnModelReader, GivesWhatAssimpGivesForTheModelsWeWrite) {
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

TEST(OwnModelReader, LeavesFilesOfOtherLayoutsToTheGeneralReader) {
    std::vector<std::tuple<const char*, std::string, bool>> cases; // read by the general one?
    const auto changed = [&](const char* what, bool readable, auto change) {
        test::ModelParts parts(Small());
        change(parts);
        cases.emplace_back(what, parts.Bytes(), readable);
    };
    changed("a moved frame", true, [](test::ModelParts& p) { p.matrix[12] = 2.0f; });
    changed("triangles", true, [](test::ModelParts& p) {
        for (auto& face : p.faces) {
            face.pop_back();
        }
        p.normalFaces = p.faces;
    });
    const std::string ours = test::ModelParts(Small()).Bytes();
    cases.emplace_back("the text form's header", std::string(ours).replace(8, 3, "txt"), false);
    cases.emplace_back("64-bit floats", std::string(ours).replace(12, 4, "0064"), false);
    cases.emplace_back("one byte more, which the general reader passes over", ours + '\0', true);
    for (const auto& [what, bytes, readable] : cases) {
        SCOPED_TRACE(what);
        XFileContent content;
        content.Meshes.emplace_back();
        EXPECT_EQ(ReadOwnModelFile(bytes, content), OwnModelRead::NotOurs);
        EXPECT_EQ(content.Meshes.size(), 1U) << "content changed";
        std::string error;
        EXPECT_EQ(ReadXFileFromMemory(bytes, content, error), readable) << error;
    }
}

void PutDword(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The general reader allocates by such counts and keeps the memory when it fails, so these
// files must not reach it.
TEST(OwnModelReader, RefusesOurFilesWhoseCountsContradictTheirSize) {
    const std::string good = test::ModelParts(Small()).Bytes();
    const std::tuple<const char*, std::size_t, std::uint32_t> cases[] = {
        {"more vertices than the file holds", kVertexCountAt, 0xFFFFFFFFU},
        {"a float list longer than the file", kVertexCountAt + 6, 0x10000000U},
        {"more faces than the list holds", kFacesAt + 6, 0x01000000U},
        {"a corner past the last vertex", kFacesAt + 14, 45},
        {"more normals than the file holds", good.size() - 6 - (10 + 20 * 32) - (6 + 12 * 45) - 4,
         0xFFFFFFF0U},
    };
    for (const auto& [what, at, value] : cases) {
        SCOPED_TRACE(what);
        std::string bytes = good;
        PutDword(bytes, at, value);
        XFileContent content;
        EXPECT_EQ(ReadOwnModelFile(bytes, content), OwnModelRead::Damaged);
        std::string error;
        EXPECT_FALSE(ReadXFileFromMemory(bytes, content, error));
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    }
}

} // namespace
} // namespace lobex
