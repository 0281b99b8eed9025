#include "scene/OwnModelReader.h"
#include "LoadHarness.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "core/FarField.h"
#include "scene/CD3DFrame.h"
#include "scene/XFile.h"
#include "view3d/ModelFile.h"
#include "view3d/PatternMesh.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

namespace lobex {
namespace {

std::string ModelBytes(const FarFieldGrid& grid) {
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(grid, kPiValue, mesh, refusal)) << refusal;
    return BinaryModelBytes(mesh);
}

// A pattern with lobes in every direction.
FarFieldGrid LobedGrid(float step) {
    return test::MakeGrid(step, step, [](float zenith, float azimuth) {
        const float theta = zenith * 3.14159265f / 180.0f;
        const float phi = azimuth * 3.14159265f / 180.0f;
        return 8.0f * std::sin(theta) * std::cos(phi) + 2.0f * std::cos(2 * theta) - 12.0f;
    });
}

// Bit for bit, except that any two NaNs count as the same (the general reader may change a
// NaN's sign on the way through its handedness conversions).
bool SameFloat(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

bool SameVector(Vector3 a, Vector3 b) {
    return SameFloat(a.x, b.x) && SameFloat(a.y, b.y) && SameFloat(a.z, b.z);
}

// Describes the first difference between two readings of a file; empty when there is none.
std::string MeshDifference(const XMeshObject& a, const XMeshObject& b) {
    std::ostringstream why;
    if (a.Name != b.Name) {
        why << "mesh name " << a.Name << " / " << b.Name;
    } else if (a.Mesh.VertexFormat != b.Mesh.VertexFormat) {
        why << "vertex format " << a.Mesh.VertexFormat << " / " << b.Mesh.VertexFormat;
    } else if (a.Mesh.Vertices.size() != b.Mesh.Vertices.size()) {
        why << "vertex count " << a.Mesh.Vertices.size() << " / " << b.Mesh.Vertices.size();
    } else if (a.Mesh.Indices != b.Mesh.Indices) {
        why << "triangle corners";
    } else if (a.Mesh.Attributes != b.Mesh.Attributes) {
        why << "subsets";
    } else if (a.Materials != b.Materials || a.TextureNames != b.TextureNames) {
        why << "materials";
    } else {
        for (std::size_t i = 0; i < a.Mesh.Vertices.size(); ++i) {
            const MeshVertex& va = a.Mesh.Vertices[i];
            const MeshVertex& vb = b.Mesh.Vertices[i];
            if (!SameVector(va.Position, vb.Position) || !SameVector(va.Normal, vb.Normal) ||
                !SameFloat(va.Tu, vb.Tu) || !SameFloat(va.Tv, vb.Tv) || va.Diffuse != vb.Diffuse) {
                why << "vertex " << i;
                break;
            }
        }
    }
    return why.str();
}

std::string FrameDifference(const XFrameObject& a, const XFrameObject& b) {
    if (a.Name != b.Name) {
        return "frame name " + a.Name + " / " + b.Name;
    }
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (!SameFloat(a.Transform(row, column), b.Transform(row, column))) {
                return "frame matrix of " + a.Name;
            }
        }
    }
    if (a.Meshes.size() != b.Meshes.size() || a.Frames.size() != b.Frames.size()) {
        return "frame contents of " + a.Name;
    }
    for (std::size_t i = 0; i < a.Meshes.size(); ++i) {
        if (std::string why = MeshDifference(a.Meshes[i], b.Meshes[i]); !why.empty()) {
            return why;
        }
    }
    for (std::size_t i = 0; i < a.Frames.size(); ++i) {
        if (std::string why = FrameDifference(a.Frames[i], b.Frames[i]); !why.empty()) {
            return why;
        }
    }
    return {};
}

std::string ContentDifference(const XFileContent& a, const XFileContent& b) {
    if (a.Frames.size() != b.Frames.size() || a.Meshes.size() != b.Meshes.size() ||
        a.AnimationSets.size() != b.AnimationSets.size()) {
        return "top-level objects";
    }
    for (std::size_t i = 0; i < a.Frames.size(); ++i) {
        if (std::string why = FrameDifference(a.Frames[i], b.Frames[i]); !why.empty()) {
            return why;
        }
    }
    for (std::size_t i = 0; i < a.Meshes.size(); ++i) {
        if (std::string why = MeshDifference(a.Meshes[i], b.Meshes[i]); !why.empty()) {
            return why;
        }
    }
    return {};
}

// Both readers on the same bytes: the own reader must take the file, and give what Assimp gives.
void ExpectBothReadersAgree(const std::string& bytes) {
    XFileContent own;
    ASSERT_EQ(ReadOwnModelFile(bytes, own), OwnModelRead::Read);
    XFileContent general;
    std::string error;
    ASSERT_TRUE(ImportXFile(bytes, general, error)) << error;
    EXPECT_EQ(ContentDifference(own, general), "");
}

TEST(OwnModelReader, GivesWhatAssimpGivesForTheModelsWeWrite) {
    struct Case {
        const char* what;
        FarFieldGrid grid;
    };
    const Case cases[] = {
        {"lobes in every direction, 5 degrees", LobedGrid(5.0f)},
        {"-40 dBi with one +10 dBi point: poles and seam shared", test::FortyBelowTenAbove()},
        {"a coarse 45-degree grid", LobedGrid(45.0f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectBothReadersAgree(ModelBytes(c.grid));
    }
}

TEST(OwnModelReader, GivesWhatAssimpGivesForTheLargeCorpusPattern) {
    test::LoadHarness harness;
    ASSERT_TRUE(ReadFarFieldGrid(
        harness.ctx, (test::CorpusFolder("farfield_csv") / "APET_LazyH-16m_1deg.csv").string()));
    const std::string bytes = ModelBytes(harness.state.FarField);
    ExpectBothReadersAgree(bytes);
    XFileContent own;
    ASSERT_EQ(ReadOwnModelFile(bytes, own), OwnModelRead::Read);
    // 90 zenith angles by 361 columns. The 360 column repeats the positions of the 0 column,
    // but the running normals differ at the seam, so no vertex is joined with another.
    const MeshData& mesh = own.Frames.at(0).Meshes.at(0).Mesh;
    EXPECT_EQ(mesh.FaceCount(), 2U * 89U * 360U);
    EXPECT_EQ(mesh.Vertices.size(), 90U * 361U);
}

TEST(OwnModelReader, TheMeshIsTheFilesFacesSplitIntoFansWithTheStandInMaterial) {
    PatternMesh pattern;
    std::string refusal;
    ASSERT_TRUE(BuildPatternVertices(LobedGrid(45.0f), kPiValue, pattern, refusal));
    const std::string bytes = BinaryModelBytes(pattern);
    XFileContent content;
    ASSERT_EQ(ReadOwnModelFile(bytes, content), OwnModelRead::Read);
    ASSERT_EQ(content.Frames.size(), 1U);
    EXPECT_TRUE(content.Meshes.empty());
    EXPECT_TRUE(content.AnimationSets.empty());
    const XFrameObject& frame = content.Frames[0];
    EXPECT_EQ(frame.Name, "");
    EXPECT_EQ(frame.Transform, MatrixIdentity());
    ASSERT_EQ(frame.Meshes.size(), 1U);
    const XMeshObject& mesh = frame.Meshes[0];
    EXPECT_EQ(mesh.Materials, std::vector<Material>{StandInMaterial()});
    EXPECT_EQ(mesh.TextureNames, std::vector<std::string>{""});
    EXPECT_EQ(StandInMaterial().Diffuse, (ColorValue{0.5f, 0.5f, 0.5f, 1.0f}));
    ASSERT_EQ(mesh.Mesh.FaceCount(), 2 * pattern.PatternFaces.size());
    EXPECT_EQ(mesh.Mesh.Attributes, std::vector<std::uint32_t>(mesh.Mesh.FaceCount(), 0));
    for (std::size_t f = 0; f < pattern.PatternFaces.size(); ++f) {
        const PatternFace& face = pattern.PatternFaces[f];
        const std::uint32_t corners[6] = {face.a, face.b, face.c, face.a, face.c, face.d};
        for (int i = 0; i < 6; ++i) {
            const MeshVertex& read = mesh.Mesh.Vertices[mesh.Mesh.Indices[6 * f + i]];
            ASSERT_EQ(read.Position, ToScene(pattern.PatternVertices[corners[i]])) << "face " << f;
            ASSERT_EQ(read.Normal, pattern.PatternNormals[corners[i]]) << "face " << f;
        }
    }
}

// A binary file in our layout, built from its parts, so that single parts can be changed while
// the rest stays consistent.
struct ModelParts {
    std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<Vector3> vertices;
    std::vector<std::vector<std::uint32_t>> faces;
    std::vector<Vector3> normals;
    std::vector<std::vector<std::uint32_t>> normalFaces;

    explicit ModelParts(const PatternMesh& mesh) {
        for (const Vector3& v : mesh.PatternVertices) {
            vertices.push_back(ToScene(v));
        }
        for (const PatternFace& f : mesh.PatternFaces) {
            faces.push_back({f.a, f.b, f.c, f.d});
        }
        normals = mesh.PatternNormals;
        normalFaces = faces;
    }

    std::string Bytes() const {
        std::string out = "xof 0303bin 0032";
        auto word = [&](std::uint16_t w) {
            out.append({char(w & 0xFF), char(w >> 8)});
        };
        auto dword = [&](std::uint32_t d) {
            for (int i = 0; i < 4; ++i) {
                out.push_back(static_cast<char>((d >> (8 * i)) & 0xFF));
            }
        };
        auto name = [&](std::string_view text) {
            word(1);
            dword(static_cast<std::uint32_t>(text.size()));
            out.append(text);
            word(10);
        };
        auto floats = [&](const std::vector<Vector3>& list) {
            word(7);
            dword(static_cast<std::uint32_t>(3 * list.size()));
            for (const Vector3& v : list) {
                dword(std::bit_cast<std::uint32_t>(v.x));
                dword(std::bit_cast<std::uint32_t>(v.y));
                dword(std::bit_cast<std::uint32_t>(v.z));
            }
        };
        auto faceList = [&](const std::vector<std::vector<std::uint32_t>>& list) {
            std::vector<std::uint32_t> values{static_cast<std::uint32_t>(list.size())};
            for (const auto& face : list) {
                values.push_back(static_cast<std::uint32_t>(face.size()));
                values.insert(values.end(), face.begin(), face.end());
            }
            word(6);
            dword(static_cast<std::uint32_t>(values.size()));
            for (std::uint32_t value : values) {
                dword(value);
            }
        };
        name("Frame");
        name("FrameTransformMatrix");
        word(7);
        dword(16);
        for (float value : matrix) {
            dword(std::bit_cast<std::uint32_t>(value));
        }
        word(11);
        name("Mesh");
        word(6);
        dword(1);
        dword(static_cast<std::uint32_t>(vertices.size()));
        floats(vertices);
        faceList(faces);
        name("MeshNormals");
        word(6);
        dword(1);
        dword(static_cast<std::uint32_t>(normals.size()));
        floats(normals);
        faceList(normalFaces);
        word(11);
        word(11);
        word(11);
        return out;
    }
};

PatternMesh SmallPattern() {
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(LobedGrid(45.0f), kPiValue, mesh, refusal)) << refusal;
    ComputePatternFaces(mesh);
    return mesh;
}

// The 45-degree pattern's file: 45 vertices, 32 faces.
std::string SmallModel() {
    return ModelParts(SmallPattern()).Bytes();
}

// Where the parts of that file begin.
constexpr std::size_t kMatrixAt = 16 + 13 + 28 + 6;
constexpr std::size_t kVertexCountAt = kMatrixAt + 64 + 2 + 12 + 6;
constexpr std::size_t kFacesAt = kVertexCountAt + 4 + 6 + 12 * 45;

void PutDword(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

TEST(OwnModelReader, TheTestsOwnFilesAreLaidOutAsTheWriterLaysThemOut) {
    PatternMesh mesh = SmallPattern();
    EXPECT_EQ(ModelParts(mesh).Bytes(), BinaryModelBytes(mesh));
}

TEST(OwnModelReader, LeavesFilesOfOtherLayoutsToTheGeneralReader) {
    const PatternMesh mesh = SmallPattern();
    struct Case {
        const char* what;
        std::string bytes;
        bool generalReaderTakesIt;
    };
    std::vector<Case> cases;
    auto changed = [&](const char* what, bool readable, auto change) {
        ModelParts parts(mesh);
        change(parts);
        cases.push_back({what, parts.Bytes(), readable});
    };
    changed("a moved frame", true, [](ModelParts& p) { p.matrix[12] = 2.0f; });
    changed("a negative zero in the matrix", true, [](ModelParts& p) { p.matrix[1] = -0.0f; });
    changed("triangles", true, [](ModelParts& p) {
        for (auto& face : p.faces) {
            face.pop_back();
        }
        p.normalFaces = p.faces;
    });
    changed("one normal per face", true, [](ModelParts& p) {
        p.normals.resize(p.faces.size());
        for (std::size_t f = 0; f < p.faces.size(); ++f) {
            const auto n = static_cast<std::uint32_t>(f);
            p.normalFaces[f] = {n, n, n, n};
        }
    });
    auto bytesChanged = [&](const char* what, auto change) {
        std::string bytes = ModelParts(mesh).Bytes();
        change(bytes);
        cases.push_back({what, std::move(bytes), false});
    };
    bytesChanged("the text form's header", [](std::string& b) { b.replace(8, 3, "txt"); });
    bytesChanged("64-bit floats", [](std::string& b) { b.replace(12, 4, "0064"); });
    bytesChanged("another template than Frame", [](std::string& b) { b.replace(22, 5, "Fram_"); });
    cases.push_back({"one byte more, which the general reader passes over",
                     ModelParts(mesh).Bytes() + std::string(1, '\0'), true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XFileContent content;
        content.Meshes.emplace_back();
        EXPECT_EQ(ReadOwnModelFile(c.bytes, content), OwnModelRead::NotOurs);
        EXPECT_EQ(content.Meshes.size(), 1U) << "content changed";
        std::string error;
        EXPECT_EQ(ReadXFileFromMemory(c.bytes, content, error), c.generalReaderTakesIt) << error;
    }
}

TEST(OwnModelReader, AMovedFrameLoadsThroughTheGeneralReaderWithItsMatrix) {
    ModelParts parts(SmallPattern());
    parts.matrix[12] = 2.0f; // _41
    XFileContent content;
    std::string error;
    ASSERT_TRUE(ReadXFileFromMemory(parts.Bytes(), content, error)) << error;
    ASSERT_EQ(content.Frames.size(), 1U);
    EXPECT_EQ(content.Frames[0].Transform, MatrixTranslation(2, 0, 0));
    EXPECT_EQ(content.Frames[0].Meshes.at(0).Mesh.FaceCount(), 2U * 4U * 8U);
}

TEST(OwnModelReader, RefusesOurFilesWhoseCountsContradictTheirSize) {
    const std::string good = SmallModel();
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"more vertices than the file holds", kVertexCountAt, 0xFFFFFFFFU},
        {"one vertex fewer than the list holds", kVertexCountAt, 44},
        {"a float list longer than the file", kVertexCountAt + 6, 0x10000000U},
        {"a face list longer than the file", kFacesAt + 2, 0x40000000U},
        {"more faces than the list holds", kFacesAt + 6, 0x01000000U},
        {"a face with more corners than the list holds", kFacesAt + 10, 1000},
        {"a corner past the last vertex", kFacesAt + 14, 45},
        {"more normals than the file holds", good.size() - 6 - (10 + 20 * 32) - (6 + 12 * 45) - 4,
         0xFFFFFFF0U},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        PutDword(bytes, c.at, c.value);
        XFileContent content;
        EXPECT_EQ(ReadOwnModelFile(bytes, content), OwnModelRead::Damaged);
        std::string error;
        EXPECT_FALSE(ReadXFileFromMemory(bytes, content, error));
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
        EXPECT_TRUE(content.Frames.empty());
    }
    XFileContent content;
    EXPECT_EQ(ReadOwnModelFile(good.substr(0, good.size() - 3), content), OwnModelRead::Damaged);
    EXPECT_EQ(ReadOwnModelFile(good, content), OwnModelRead::Read);
}

TEST(OwnModelReader, TheSceneLoadsOurModelAsAssimpWouldHaveLoadedIt) {
    test::TemporaryFolder folder;
    const std::string bytes = ModelBytes(LobedGrid(10.0f));
    ASSERT_TRUE(ReplaceFileContents(folder.File("temp.x"), bytes));
    SceneContext scene;
    auto root = CreateFrame();
    ASSERT_TRUE(root->InitFromFile(scene, folder.File("temp.x")));
    ASSERT_EQ(root->GetChildFrameCount(), 1);
    const auto mesh = root->GetChildFrame(0)->GetChildMesh(0);
    XFileContent general;
    std::string error;
    ASSERT_TRUE(ImportXFile(bytes, general, error));
    const XMeshObject& expected = general.Frames.at(0).Meshes.at(0);
    EXPECT_EQ(mesh->GetMeshData().Vertices, expected.Mesh.Vertices);
    EXPECT_EQ(mesh->GetMeshData().Indices, expected.Mesh.Indices);
    EXPECT_EQ(mesh->GetMaterial(0), expected.Materials.at(0));
}

// What any reading that succeeds must give, so that drawing it stays inside its arrays.
std::string UnusableContent(const XFileContent& content) {
    std::vector<const XMeshObject*> meshes;
    std::vector<const XFrameObject*> frames;
    for (const XFrameObject& frame : content.Frames) {
        frames.push_back(&frame);
    }
    for (const XMeshObject& mesh : content.Meshes) {
        meshes.push_back(&mesh);
    }
    while (!frames.empty()) {
        const XFrameObject* frame = frames.back();
        frames.pop_back();
        for (const XFrameObject& child : frame->Frames) {
            frames.push_back(&child);
        }
        for (const XMeshObject& mesh : frame->Meshes) {
            meshes.push_back(&mesh);
        }
    }
    for (const XMeshObject* mesh : meshes) {
        const MeshData& data = mesh->Mesh;
        if (data.Indices.size() % 3 != 0 || data.Attributes.size() != data.FaceCount()) {
            return "triangle lists";
        }
        for (std::uint32_t index : data.Indices) {
            if (index >= data.Vertices.size()) {
                return "a corner past the vertices";
            }
        }
        for (std::uint32_t subset : data.Attributes) {
            if (subset >= mesh->Materials.size()) {
                return "a subset without material";
            }
        }
        if (mesh->TextureNames.size() != mesh->Materials.size()) {
            return "texture names";
        }
    }
    return {};
}

// Damaged files must never crash either reader or leave a mesh that points outside itself; a
// damaged file the own reader still takes (a changed coordinate, a corner moved to another
// vertex) must read as Assimp reads it.
void CheckDamagedFile(const std::string& bytes, int& takenByOwnReader) {
    XFileContent content;
    std::string error;
    if (ReadXFileFromMemory(bytes, content, error)) {
        ASSERT_EQ(UnusableContent(content), "");
    }
    XFileContent own;
    if (ReadOwnModelFile(bytes, own) == OwnModelRead::Read) {
        ++takenByOwnReader;
        ASSERT_EQ(UnusableContent(own), "");
        XFileContent general;
        ASSERT_TRUE(ImportXFile(bytes, general, error)) << error;
        ASSERT_EQ(ContentDifference(own, general), "");
    }
}

TEST(OwnModelReaderFuzz, TruncatedFilesAreRefusedAndNeverCrashEitherReader) {
    const std::string bytes = SmallModel();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        XFileContent own;
        ASSERT_NE(ReadOwnModelFile(std::string_view(bytes).substr(0, length), own),
                  OwnModelRead::Read);
        int taken = 0;
        // A copy of exactly that length, so reading past it is a real fault under a checker.
        CheckDamagedFile(bytes.substr(0, length), taken);
    }
}

TEST(OwnModelReaderFuzz, EveryByteChangedInTurnNeverCrashesEitherReader) {
    const std::string bytes = SmallModel();
    int taken = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (unsigned char value : {0x00, 0xFF, 0x80}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(static_cast<unsigned char>(damaged[at]) ^ value);
            SCOPED_TRACE(testing::Message() << "byte " << at << " ^ " << int{value});
            CheckDamagedFile(damaged, taken);
        }
    }
    // Changed coordinates and normals are still our layout.
    EXPECT_GT(taken, 0);
}

// Damage past the beginning that marks our layout, so that each damaged file is judged by the
// own reader. (Damage to that beginning makes a file of another layout, which the general
// reader takes as it is; the byte-by-byte test covers it one change at a time.)
TEST(OwnModelReaderFuzz, RandomDamageIsReadRightOrRefused) {
    const std::string bytes = SmallModel();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> position(kVertexCountAt, bytes.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    std::uniform_int_distribution<int> changes(1, 8);
    int taken = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string damaged = bytes;
        for (int c = changes(random); c > 0; --c) {
            damaged[position(random)] = static_cast<char>(value(random));
        }
        if (round % 3 == 0) {
            damaged.resize(position(random));
        }
        SCOPED_TRACE(round);
        CheckDamagedFile(damaged, taken);
    }
}

} // namespace
} // namespace lobex
