#include "ModelFile.h"

#include "core/TextRules.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace lobex {
namespace {

// Tokens of the binary .x format.
constexpr std::uint16_t kTokenName = 1;
constexpr std::uint16_t kTokenIntegerList = 6;
constexpr std::uint16_t kTokenFloatList = 7;
constexpr std::uint16_t kTokenOpenBrace = 10;
constexpr std::uint16_t kTokenCloseBrace = 11;

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Writes little-endian values into a buffer sized in advance.
class BinaryBuffer {
public:
    explicit BinaryBuffer(std::size_t size) : bytes_(size, '\0') {}

    void Word(std::uint16_t value) { Little(value); }
    void Dword(std::uint32_t value) { Little(value); }
    void Float(float value) { Little(std::bit_cast<std::uint32_t>(value)); }
    void Characters(std::string_view text) {
        std::memcpy(bytes_.data() + at_, text.data(), text.size());
        at_ += text.size();
    }
    // A template name: the name token and its length before it, an open brace after it.
    void Name(std::string_view name) {
        Word(kTokenName);
        Dword(static_cast<std::uint32_t>(name.size()));
        Characters(name);
        Word(kTokenOpenBrace);
    }
    std::string Take() { return std::move(bytes_); }
    std::size_t Written() const { return at_; }

private:
    template <typename T>
    void Little(T value) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(bytes_.data() + at_, &value, sizeof(T));
            at_ += sizeof(T);
        } else {
            for (std::size_t i = 0; i < sizeof(T); ++i) {
                bytes_[at_++] = static_cast<char>((value >> (8 * i)) & 0xFFU);
            }
        }
    }

    std::string bytes_;
    std::size_t at_ = 0;
};

std::size_t BinarySize(std::size_t vertices, std::size_t faces) {
    return 16 + 13 + 28 + 70 + 2 + 12 + 10 + (6 + 12 * vertices) + (10 + 20 * faces) + 19 + 10 +
           (6 + 12 * vertices) + (10 + 20 * faces) + 6;
}

void FaceList(BinaryBuffer& out, const PatternMesh& mesh) {
    const std::size_t faces = mesh.PatternFaces.size();
    out.Word(kTokenIntegerList);
    out.Dword(static_cast<std::uint32_t>(5 * faces + 1));
    out.Dword(static_cast<std::uint32_t>(faces));
    for (const PatternFace& face : mesh.PatternFaces) {
        out.Dword(4);
        out.Dword(face.a);
        out.Dword(face.b);
        out.Dword(face.c);
        out.Dword(face.d);
    }
}

void VectorList(BinaryBuffer& out, const std::vector<Vector3>& vectors, bool toScene) {
    out.Word(kTokenFloatList);
    out.Dword(static_cast<std::uint32_t>(3 * vectors.size()));
    for (const Vector3& v : vectors) {
        const Vector3 written = toScene ? ToScene(v) : v;
        out.Float(written.x);
        out.Float(written.y);
        out.Float(written.z);
    }
}

class TextLines {
public:
    explicit TextLines(std::string_view decimalSeparator) : separator_(decimalSeparator) {}

    void Line(std::string_view text) {
        text_.append(text);
        text_.append("\r\n");
    }
    void Number(float value) {
        text_.append(ToPointForm(FormatPattern(value, "#0.000000", separator_), separator_));
    }
    void Integer(std::uint64_t value) { text_.append(std::to_string(value)); }
    void Append(std::string_view text) { text_.append(text); }
    void Reserve(std::size_t size) { text_.reserve(size); }
    std::string Take() { return std::move(text_); }

private:
    std::string separator_;
    std::string text_;
};

// Each vector on its own line, "x;y;z;" and then "," or, on the last line, ";".
void VectorLines(TextLines& out, const std::vector<Vector3>& vectors, bool toScene) {
    for (std::size_t i = 0; i < vectors.size(); ++i) {
        const Vector3 v = toScene ? ToScene(vectors[i]) : vectors[i];
        out.Number(v.x);
        out.Append(";");
        out.Number(v.y);
        out.Append(";");
        out.Number(v.z);
        out.Line(i + 1 < vectors.size() ? ";," : ";;");
    }
}

void FaceLines(TextLines& out, const std::vector<PatternFace>& faces) {
    out.Integer(faces.size());
    out.Line(";");
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const PatternFace& face = faces[i];
        out.Append("4;");
        out.Integer(face.a);
        out.Append(",");
        out.Integer(face.b);
        out.Append(",");
        out.Integer(face.c);
        out.Append(",");
        out.Integer(face.d);
        out.Line(i + 1 < faces.size() ? ";," : ";;");
    }
}

} // namespace

std::string BinaryModelBytes(PatternMesh& mesh) {
    ComputePatternFaces(mesh);
    const std::size_t vertices = mesh.PatternVertices.size();
    BinaryBuffer out(BinarySize(vertices, mesh.PatternFaces.size()));
    out.Characters("xof 0303bin 0032");
    out.Name("Frame");
    out.Name("FrameTransformMatrix");
    out.Word(kTokenFloatList);
    out.Dword(16);
    for (float value : kIdentity) {
        out.Float(value);
    }
    out.Word(kTokenCloseBrace);
    out.Name("Mesh");
    out.Word(kTokenIntegerList);
    out.Dword(1);
    out.Dword(static_cast<std::uint32_t>(vertices));
    VectorList(out, mesh.PatternVertices, true);
    FaceList(out, mesh);
    out.Name("MeshNormals");
    out.Word(kTokenIntegerList);
    out.Dword(1);
    out.Dword(static_cast<std::uint32_t>(vertices));
    VectorList(out, mesh.PatternNormals, false);
    FaceList(out, mesh);
    for (int brace = 0; brace < 3; ++brace) {
        out.Word(kTokenCloseBrace);
    }
    return out.Take();
}

std::string TextModelText(PatternMesh& mesh, std::string_view decimalSeparator) {
    ComputePatternFaces(mesh);
    TextLines out(decimalSeparator);
    out.Reserve(200 + mesh.PatternVertices.size() * 2 * 32 + mesh.PatternFaces.size() * 2 * 36);
    out.Line("xof 0303txt 0032");
    out.Line("Frame {");
    out.Line("FrameTransformMatrix {");
    for (int i = 0; i < 16; ++i) {
        out.Number(kIdentity[i]);
        out.Append(i < 15 ? "," : ";;");
    }
    out.Line("");
    out.Line("}");
    out.Line("Mesh {");
    out.Integer(mesh.PatternVertices.size());
    out.Line(";");
    VectorLines(out, mesh.PatternVertices, true);
    out.Line("");
    FaceLines(out, mesh.PatternFaces);
    out.Line("");
    out.Line("MeshNormals {");
    out.Integer(mesh.PatternNormals.size());
    out.Line(";");
    VectorLines(out, mesh.PatternNormals, false);
    FaceLines(out, mesh.PatternFaces);
    out.Line("");
    out.Line("}");
    out.Line("}");
    out.Line("}");
    return out.Take();
}

} // namespace lobex
