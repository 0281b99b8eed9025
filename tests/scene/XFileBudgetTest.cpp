#include "scene/XFileBudget.h"
#include "LoadHarness.h"
#include "SceneTestSupport.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

namespace lobex {
namespace {

const std::string kHeader = "xof 0303txt 0032\r\n";
const std::string kTriangle = " 3;\r\n 0;0;0;,\r\n 1;0;0;,\r\n 0;1;0;;\r\n 1;\r\n 3;0,1,2;;\r\n";

std::string Little16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}
std::string Little32(std::uint32_t value) {
    return Little16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           Little16(static_cast<std::uint16_t>(value >> 16));
}

// The text file of one triangle mesh with its further parts.
std::string TriangleWith(const std::string& parts) {
    return kHeader + "Mesh {\r\n" + kTriangle + parts + "}\r\n";
}

// The binary file of one mesh whose first list follows.
const std::string kBinaryMesh =
    "xof 0303bin 0032" + Little16(1) + Little32(4) + "Mesh" + Little16(10) + Little16(6);

std::string Nested(int depth) {
    std::string text = kHeader;
    for (int i = 0; i < depth; ++i) {
        text += "Frame {\r\n";
    }
    for (int i = 0; i < depth; ++i) {
        text += "}\r\n";
    }
    return text;
}

// Small files that make the general reader fault or allocate gigabytes: each is refused with
// a reason before the reader sees it.
TEST(XFileBudget, CraftedCountsAndIndicesAreRefusedBeforeTheGeneralReader) {
    // What the file is, its bytes, a part of the error.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        // The general reader read outside its normal list and died of it (SIGSEGV).
        {"a normal face beyond the normals",
         TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 3;0,0,900000000;;\r\n }\r\n"),
         "index beyond the vertex list"},
        // 52 bytes that had it allocate 2.3 GB.
        {"two hundred million vertices in a few bytes",
         kHeader + "Mesh {\r\n 200000000;\r\n 0;0;0;;\r\n 0;;\r\n}\r\n", "fewer vertices"},
        {"a face beyond the vertices",
         kHeader +
             "Mesh {\r\n 3;\r\n 0;0;0;,\r\n 1;0;0;,\r\n 0;1;0;;\r\n 1;\r\n 3;0,1,3;;\r\n}\r\n",
         "index beyond the vertex list"},
        {"normal faces with fewer corners than the mesh's",
         TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 2;0,0;;\r\n }\r\n"),
         "other faces than their mesh"},
        {"texture coordinates for fewer vertices",
         TriangleWith(" MeshTextureCoords {\r\n 1;\r\n 0;0;;\r\n }\r\n"),
         "texture coordinates for other vertices"},
        {"vertex colours of a vertex beyond the mesh",
         TriangleWith(" MeshVertexColors {\r\n 1;\r\n 7;1;1;1;1;;\r\n }\r\n"),
         "index beyond the vertex list"},
        {"material indices for more faces",
         TriangleWith(" MeshMaterialList {\r\n 1;\r\n 2;\r\n 0,0;;\r\n }\r\n"),
         "material indices for other faces"},
        {"a billion animation keys",
         kHeader + "AnimationSet {\r\n Animation {\r\n  AnimationKey {\r\n 2;\r\n 1000000000;\r\n"
                   " 0;3;0,0,0;;,\r\n }\r\n }\r\n}\r\n",
         "fewer key"},
        {"a mesh cut short", kHeader + "Frame { Mesh { 3; 0;0;", "fewer vertices"},
        {"four million corners in one face",
         kHeader + "Mesh {\r\n 1;\r\n 0;0;0;;\r\n 1;\r\n 4000001;0;;\r\n}\r\n",
         "too many face corners"},
        {"frames nested a thousand deep", Nested(1000), "nested too deep"},
        {"a binary list longer than the file", kBinaryMesh + Little32(100000000) + Little32(3),
         "the file ends inside a list"},
        {"a binary mesh of more vertices than its list holds",
         kBinaryMesh + Little32(1) + Little32(50000000) + Little16(7) + Little32(3) +
             std::string(12, '\0') + Little16(11),
         "fewer vertices"},
        {"a compressed file", "xof 0303tzip0032" + std::string(40, 'z'), "compressed"},
        {"a file larger than a model gets", kHeader + std::string(kLargestXFile, ' '), "too large"},
    };
    for (const auto& [what, bytes, reason] : cases) {
        SCOPED_TRACE(what);
        std::string error;
        EXPECT_FALSE(CheckXFileBudget(bytes, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        XFileContent content;
        std::string importError;
        EXPECT_FALSE(ImportXFile(bytes, content, importError));
        EXPECT_EQ(importError, error);
        EXPECT_FALSE(ReadXFileFromMemory(bytes, content, importError));
    }
}

// Files within their counts still reach the general reader: the fixtures, and the same shapes
// as above with consistent counts.
TEST(XFileBudget, FilesWhoseCountsHoldAreRead) {
    const std::string cases[] = {
        test::ReadBytes(test::TestDataFile("frames.x")),
        test::ReadBytes(test::TestDataFile("animation.x")),
        TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 3;0,0,0;;\r\n }\r\n"
                     " MeshTextureCoords {\r\n 3;\r\n 0;0;,\r\n 1;0;,\r\n 0;1;;\r\n }\r\n"
                     " MeshMaterialList {\r\n 1;\r\n 1;\r\n 0;;\r\n Material {\r\n 1;0;0;1;;\r\n"
                     " 0;\r\n 0;0;0;;\r\n 0;0;0;;\r\n }\r\n }\r\n"),
        kBinaryMesh + Little32(1) + Little32(3) + Little16(7) + Little32(9) +
            std::string(36, '\0') + Little16(6) + Little32(5) + Little32(1) + Little32(3) +
            Little32(0) + Little32(1) + Little32(2) + Little16(11),
        Nested(kDeepestXNesting),
    };
    for (const std::string& bytes : cases) {
        std::string error;
        EXPECT_TRUE(CheckXFileBudget(bytes, error)) << error << "\n" << bytes.substr(0, 200);
        XFileContent content;
        EXPECT_TRUE(ImportXFile(bytes, content, error)) << error << "\n" << bytes.substr(0, 200);
    }
}

} // namespace
} // namespace lobex
