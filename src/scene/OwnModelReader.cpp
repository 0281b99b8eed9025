#include "OwnModelReader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace lobex {
namespace {

constexpr std::string_view kBinaryHeader = "xof 0303bin 0032";

// Tokens of the binary .x format.
constexpr std::uint16_t kTokenName = 1;
constexpr std::uint16_t kTokenIntegerList = 6;
constexpr std::uint16_t kTokenFloatList = 7;
constexpr std::uint16_t kTokenOpenBrace = 10;
constexpr std::uint16_t kTokenCloseBrace = 11;

constexpr std::uint32_t kCornersPerFace = 4;
// A face in the list: its corner count, then the corners.
constexpr std::uint64_t kFaceBytes = 4 * (1 + kCornersPerFace);
constexpr std::uint64_t kVectorBytes = 12;

std::uint32_t LoadDword(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

float LoadFloat(const char* p) {
    return std::bit_cast<float>(LoadDword(p));
}

Vector3 LoadVector(const char* p) {
    return {LoadFloat(p), LoadFloat(p + 4), LoadFloat(p + 8)};
}

// Walks the file's bytes. Every read is checked against the end first; once one fails, every
// later one fails too, so a chain of reads can be checked once at its end.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    bool AtEnd() const { return ok_ && at_ == bytes_.size(); }
    const char* Here() const { return bytes_.data() + at_; }

    // The next count bytes; nothing when fewer are left.
    const char* Take(std::uint64_t count) {
        if (!ok_ || count > bytes_.size() - at_) {
            ok_ = false;
            return nullptr;
        }
        const char* start = bytes_.data() + at_;
        at_ += static_cast<std::size_t>(count);
        return start;
    }
    std::uint32_t Dword() {
        const char* p = Take(4);
        return p != nullptr ? LoadDword(p) : 0;
    }
    bool Token(std::uint16_t token) {
        const char* p = Take(2);
        return p != nullptr &&
               (static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8) == token;
    }
    bool Dword(std::uint64_t expected) { return Dword() == expected && ok_; }
    bool Text(std::string_view text) {
        const char* p = Take(text.size());
        return p != nullptr && std::memcmp(p, text.data(), text.size()) == 0;
    }
    // A data object without a name of its own: its template's name, then the open brace.
    bool Opens(std::string_view templateName) {
        return Token(kTokenName) && Dword(templateName.size()) && Text(templateName) &&
               Token(kTokenOpenBrace);
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// What the file holds, pointing into its bytes.
struct ModelLayout {
    std::uint32_t vertexCount = 0;
    std::uint32_t faceCount = 0;
    const char* positions = nullptr;
    const char* normals = nullptr;
    // Each face as its corner count, then its corners.
    const char* faces = nullptr;
    bool identity = false;
    bool fourCorners = false;
    bool normalsPerVertex = false;
};

bool IsIdentityMatrix(const char* values) {
    for (int i = 0; i < 16; ++i) {
        // Bitwise, so that -0 and the like go to the general reader.
        const std::uint32_t expected = std::bit_cast<std::uint32_t>(i % 5 == 0 ? 1.0f : 0.0f);
        if (LoadDword(values + 4 * i) != expected) {
            return false;
        }
    }
    return true;
}

// A list of count vectors, all of them in one float list.
const char* ReadVectorList(ByteCursor& in, std::uint32_t count) {
    if (!(in.Token(kTokenFloatList) && in.Dword(3ULL * count))) {
        return nullptr;
    }
    return in.Take(kVectorBytes * count);
}

// A face list in one integer list: the face count, then each face as its corner count and its
// corners, every corner below vertexCount, and nothing more in the list.
struct FaceList {
    const char* list = nullptr; // from its token on
    std::uint64_t listBytes = 0;
    std::uint32_t faceCount = 0;
    bool fourCorners = true;
};

bool ReadFaceList(ByteCursor& in, std::uint32_t vertexCount, FaceList& faces) {
    faces.list = in.Here();
    if (!in.Token(kTokenIntegerList)) {
        return false;
    }
    const std::uint32_t count = in.Dword();
    const char* values = in.Take(4ULL * count);
    if (values == nullptr || count == 0) {
        return false;
    }
    faces.listBytes = 2 + 4 + 4ULL * count;
    faces.faceCount = LoadDword(values);
    std::uint32_t at = 1;
    for (std::uint32_t f = 0; f < faces.faceCount; ++f) {
        if (at >= count) {
            return false;
        }
        const std::uint32_t corners = LoadDword(values + 4ULL * at);
        if (corners > count - at - 1) {
            return false;
        }
        faces.fourCorners = faces.fourCorners && corners == kCornersPerFace;
        for (std::uint32_t c = 1; c <= corners; ++c) {
            if (LoadDword(values + 4ULL * (at + c)) >= vertexCount) {
                return false;
            }
        }
        at += corners + 1;
    }
    return at == count;
}

enum class Verdict { NotOurs, Damaged, Ours };

// Once a file begins as our models begin, the counts, lists and corners of its mesh and normals
// must agree with each other and with the file's size: a file where they do not is damaged.
// Anything else that differs from our layout (another matrix, other faces, more templates)
// makes it a file for the general reader.
Verdict Examine(std::string_view bytes, ModelLayout& layout) {
    ByteCursor in(bytes);
    if (!(in.Text(kBinaryHeader) && in.Opens("Frame") && in.Opens("FrameTransformMatrix") &&
          in.Token(kTokenFloatList) && in.Dword(16))) {
        return Verdict::NotOurs;
    }
    const char* matrix = in.Take(16 * 4);
    if (!(matrix != nullptr && in.Token(kTokenCloseBrace) && in.Opens("Mesh") &&
          in.Token(kTokenIntegerList) && in.Dword(1))) {
        return Verdict::NotOurs;
    }
    layout.identity = IsIdentityMatrix(matrix);
    layout.vertexCount = in.Dword();
    if (!in.Ok()) {
        return Verdict::NotOurs;
    }
    // Where neither reader can go on: tell a damaged file from a file of another layout.
    const auto stopped = [&in] {
        return in.Ok() ? Verdict::NotOurs : Verdict::Damaged;
    };

    FaceList faces;
    layout.positions = ReadVectorList(in, layout.vertexCount);
    if (layout.positions == nullptr || !ReadFaceList(in, layout.vertexCount, faces)) {
        return Verdict::Damaged;
    }
    if (!(in.Opens("MeshNormals") && in.Token(kTokenIntegerList) && in.Dword(1))) {
        return stopped();
    }
    const std::uint32_t normalCount = in.Dword();
    FaceList normalFaces;
    layout.normals = in.Ok() ? ReadVectorList(in, normalCount) : nullptr;
    if (layout.normals == nullptr || !ReadFaceList(in, normalCount, normalFaces)) {
        return Verdict::Damaged;
    }
    if (!(in.Token(kTokenCloseBrace) && in.Token(kTokenCloseBrace) && in.Token(kTokenCloseBrace) &&
          in.AtEnd())) {
        return stopped();
    }
    layout.faceCount = faces.faceCount;
    layout.faces = faces.list + 2 + 4 + 4;
    layout.fourCorners = faces.fourCorners;
    // The normals' faces are the mesh's faces: each corner takes the normal of its vertex.
    layout.normalsPerVertex =
        normalCount == layout.vertexCount && normalFaces.listBytes == faces.listBytes &&
        std::memcmp(normalFaces.list, faces.list, static_cast<std::size_t>(faces.listBytes)) == 0;
    const bool ours = layout.identity && layout.fourCorners && layout.normalsPerVertex &&
                      layout.vertexCount > 0 && layout.faceCount > 0;
    return ours ? Verdict::Ours : Verdict::NotOurs;
}

// The mesh as the general reader builds it: every face corner a vertex of position and normal,
// bitwise-equal vertices joined in the order they are first used, and each face split into
// the fan (a, b, c), (a, c, d). Vertices no face uses are left out.
MeshData BuildMesh(const ModelLayout& layout) {
    MeshData mesh;
    mesh.VertexFormat = kFvfXyz | kFvfNormal;
    mesh.Vertices.reserve(layout.vertexCount);
    VertexWelder welder(mesh.Vertices, layout.vertexCount);
    constexpr std::uint32_t kNotYet = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> joined(layout.vertexCount, kNotYet);
    auto vertexIndex = [&](std::uint32_t k) {
        if (joined[k] == kNotYet) {
            MeshVertex vertex;
            vertex.Position = LoadVector(layout.positions + kVectorBytes * k);
            vertex.Normal = LoadVector(layout.normals + kVectorBytes * k);
            joined[k] = welder.Add(vertex);
        }
        return joined[k];
    };
    mesh.Indices.resize(6 * static_cast<std::size_t>(layout.faceCount));
    mesh.Attributes.assign(2 * static_cast<std::size_t>(layout.faceCount), 0);
    std::uint32_t* out = mesh.Indices.data();
    for (std::uint32_t f = 0; f < layout.faceCount; ++f) {
        const char* face = layout.faces + kFaceBytes * f;
        const std::uint32_t a = vertexIndex(LoadDword(face + 4));
        const std::uint32_t b = vertexIndex(LoadDword(face + 8));
        const std::uint32_t c = vertexIndex(LoadDword(face + 12));
        const std::uint32_t d = vertexIndex(LoadDword(face + 16));
        *out++ = a;
        *out++ = b;
        *out++ = c;
        *out++ = a;
        *out++ = c;
        *out++ = d;
    }
    return mesh;
}

} // namespace

Material StandInMaterial() {
    Material material;
    material.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    material.Ambient = material.Diffuse;
    material.Specular = {0.0f, 0.0f, 0.0f, 1.0f};
    material.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    material.Power = 1.0f;
    return material;
}

OwnModelRead ReadOwnModelFile(std::string_view bytes, XFileContent& content) {
    ModelLayout layout;
    switch (Examine(bytes, layout)) {
    case Verdict::NotOurs:
        return OwnModelRead::NotOurs;
    case Verdict::Damaged:
        return OwnModelRead::Damaged;
    case Verdict::Ours:
        break;
    }
    XMeshObject mesh;
    mesh.Mesh = BuildMesh(layout);
    mesh.Materials.push_back(StandInMaterial());
    mesh.TextureNames.emplace_back();
    XFrameObject frame;
    frame.Meshes.push_back(std::move(mesh));
    XFileContent result;
    result.Frames.push_back(std::move(frame));
    content = std::move(result);
    return OwnModelRead::Read;
}

} // namespace lobex
