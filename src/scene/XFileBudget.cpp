#include "XFileBudget.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

namespace lobex {
namespace {

enum class TokenKind { End, Name, Number, String, Open, Close, Bad };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    double number = 0.0;
};

constexpr std::size_t kHeaderSize = 16;

// The tokens of a text or binary .x body: names, numbers (the items of the binary lists one by
// one), strings and braces; separators, comments and GUIDs are passed over.
class Tokenizer {
public:
    Tokenizer(std::string_view bytes, bool binary, std::size_t floatSize)
        : bytes_(bytes), at_(kHeaderSize), binary_(binary), floatSize_(floatSize) {}

    Token Next() {
        if (held_) {
            Token token = *held_;
            held_.reset();
            return token;
        }
        return binary_ ? NextBinary() : NextText();
    }
    void PutBack(const Token& token) { held_ = token; }

private:
    static bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';';
    }
    static bool EndsWord(char c) { return IsBlank(c) || c == '{' || c == '}' || c == '"'; }

    Token NextText() {
        while (at_ < bytes_.size()) {
            const char c = bytes_[at_];
            if (IsBlank(c)) {
                ++at_;
            } else if (c == '#' ||
                       (c == '/' && at_ + 1 < bytes_.size() && bytes_[at_ + 1] == '/')) {
                while (at_ < bytes_.size() && bytes_[at_] != '\n') {
                    ++at_;
                }
            } else {
                break;
            }
        }
        if (at_ >= bytes_.size()) {
            return {};
        }
        const char c = bytes_[at_];
        if (c == '{' || c == '}') {
            ++at_;
            return {c == '{' ? TokenKind::Open : TokenKind::Close, {}, 0.0};
        }
        if (c == '"') {
            const std::size_t end = bytes_.find('"', at_ + 1);
            if (end == std::string_view::npos) {
                return {TokenKind::Bad, "a string is not closed", 0.0};
            }
            const std::string_view text = bytes_.substr(at_ + 1, end - at_ - 1);
            at_ = end + 1;
            return {TokenKind::String, text, 0.0};
        }
        const std::size_t start = at_;
        while (at_ < bytes_.size() && !EndsWord(bytes_[at_])) {
            ++at_;
        }
        const std::string_view word = bytes_.substr(start, at_ - start);
        if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
            double value = 0.0;
            const char* first = word.data() + (c == '+' ? 1 : 0);
            const auto [end, failure] = std::from_chars(first, word.data() + word.size(), value);
            if (failure != std::errc() || end != word.data() + word.size()) {
                return {TokenKind::Bad, "a number cannot be read", 0.0};
            }
            return {TokenKind::Number, word, value};
        }
        return {TokenKind::Name, word, 0.0};
    }

    std::optional<std::uint32_t> Read32() {
        if (bytes_.size() - at_ < 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) |
                    static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(i)]);
        }
        at_ += 4;
        return value;
    }

    // Reserves `count` items of `size` bytes; false when the file is too short for them.
    bool Covers(std::uint64_t count, std::size_t size) const {
        return count <= (bytes_.size() - at_) / size;
    }

    Token NextBinary() {
        static const Token kTruncated{TokenKind::Bad, "the file ends inside a list", 0.0};
        for (;;) {
            if (listLeft_ > 0) {
                --listLeft_;
                if (listFloats_) {
                    at_ += floatSize_;
                    return {TokenKind::Number, {}, 0.0};
                }
                return {TokenKind::Number, {}, static_cast<double>(*Read32())};
            }
            if (bytes_.size() - at_ < 2) {
                return {};
            }
            const unsigned token =
                static_cast<unsigned char>(bytes_[at_]) |
                (static_cast<unsigned>(static_cast<unsigned char>(bytes_[at_ + 1])) << 8);
            at_ += 2;
            switch (token) {
            case 1:   // name
            case 2: { // string, followed by its separator token
                const std::optional<std::uint32_t> length = Read32();
                const std::size_t tail = token == 2 ? 2 : 0;
                if (!length || !Covers(std::uint64_t{*length} + tail, 1)) {
                    return kTruncated;
                }
                const std::string_view text = bytes_.substr(at_, *length);
                at_ += *length + tail;
                return {token == 1 ? TokenKind::Name : TokenKind::String, text, 0.0};
            }
            case 3: { // one integer
                const std::optional<std::uint32_t> value = Read32();
                if (!value) {
                    return kTruncated;
                }
                return {TokenKind::Number, {}, static_cast<double>(*value)};
            }
            case 5: // GUID
                if (!Covers(16, 1)) {
                    return kTruncated;
                }
                at_ += 16;
                break;
            case 6:   // integer list
            case 7: { // float list
                const std::optional<std::uint32_t> count = Read32();
                listFloats_ = token == 7;
                if (!count || !Covers(*count, listFloats_ ? floatSize_ : 4)) {
                    return kTruncated;
                }
                listLeft_ = *count;
                break;
            }
            case 10:
                return {TokenKind::Open, {}, 0.0};
            case 11:
                return {TokenKind::Close, {}, 0.0};
            case 31:
                return {TokenKind::Name, "template", 0.0};
            default:
                // Punctuation and the type keywords of template definitions.
                if ((token >= 12 && token <= 20) || (token >= 40 && token <= 52)) {
                    break;
                }
                return {TokenKind::Bad, "an unknown token", 0.0};
            }
        }
    }

    std::string_view bytes_;
    std::size_t at_;
    bool binary_;
    std::size_t floatSize_;
    std::uint32_t listLeft_ = 0;
    bool listFloats_ = false;
    std::optional<Token> held_;
};

// What the children of a mesh are checked against.
struct MeshShape {
    std::uint32_t vertices = 0;
    std::vector<std::uint32_t> faceCorners;
};

class Scan {
public:
    Scan(Tokenizer& tokens, std::string& error) : tokens_(tokens), error_(error) {}

    bool File() {
        for (;;) {
            const Token token = tokens_.Next();
            switch (token.kind) {
            case TokenKind::End:
                return true;
            case TokenKind::Name:
                if (!Object(token.text, nullptr, 1)) {
                    return false;
                }
                break;
            case TokenKind::Open:
                if (!Skip(1)) {
                    return false;
                }
                break;
            case TokenKind::Close:
                return Fail("a brace is closed that was never opened");
            case TokenKind::Bad:
                return Fail(std::string(token.text));
            default:
                break;
            }
        }
    }

private:
    bool Fail(std::string error) {
        error_ = std::move(error);
        return false;
    }
    // A token where another was due: what the tokenizer found wrong, if anything, else why.
    bool Unexpected(const Token& token, std::string why) {
        return Fail(token.kind == TokenKind::Bad ? std::string(token.text) : std::move(why));
    }

    // After an object's type: its name, if any, and its opening brace, then its data. A word
    // that opens nothing is left as a word.
    bool Object(std::string_view type, MeshShape* mesh, int depth) {
        Token token = tokens_.Next();
        if (token.kind == TokenKind::Name) {
            token = tokens_.Next();
        }
        if (token.kind != TokenKind::Open) {
            tokens_.PutBack(token);
            return true;
        }
        if (depth > kDeepestXNesting) {
            return Fail("objects are nested too deep");
        }
        if (type == "template") {
            return Skip(depth);
        }
        MeshShape shape;
        if (!Data(type, mesh, shape)) {
            return false;
        }
        MeshShape* children = type == "Mesh" ? &shape : mesh;
        for (;;) {
            token = tokens_.Next();
            switch (token.kind) {
            case TokenKind::Close:
                return true;
            case TokenKind::End:
                return Fail("the file ends inside an object");
            case TokenKind::Bad:
                return Fail(std::string(token.text));
            case TokenKind::Name:
                if (!Object(token.text, children, depth + 1)) {
                    return false;
                }
                break;
            case TokenKind::Open:
                if (!Skip(depth + 1)) {
                    return false;
                }
                break;
            default:
                break;
            }
        }
    }

    // Passes over a block whose opening brace has been read.
    bool Skip(int depth) {
        if (depth > kDeepestXNesting) {
            return Fail("objects are nested too deep");
        }
        int open = 1;
        while (open > 0) {
            const Token token = tokens_.Next();
            if (token.kind == TokenKind::End) {
                return Fail("the file ends inside an object");
            }
            if (token.kind == TokenKind::Bad) {
                return Fail(std::string(token.text));
            }
            if (token.kind == TokenKind::Open && ++open + depth > kDeepestXNesting + 1) {
                return Fail("objects are nested too deep");
            }
            open -= token.kind == TokenKind::Close ? 1 : 0;
        }
        return true;
    }

    bool Count(std::uint32_t& value, const char* what) {
        const Token token = tokens_.Next();
        if (token.kind != TokenKind::Number || token.number < 0 || token.number > 4294967295.0 ||
            token.number != static_cast<double>(static_cast<std::uint32_t>(token.number))) {
            return Unexpected(token, std::string("no count of ") + what);
        }
        value = static_cast<std::uint32_t>(token.number);
        return true;
    }

    // The data a count promised; every item must be there before anything else comes.
    bool Numbers(std::uint64_t count, const char* what) {
        for (std::uint64_t i = 0; i < count; ++i) {
            const Token token = tokens_.Next();
            if (token.kind != TokenKind::Number) {
                return Unexpected(token, std::string("fewer ") + what + " than the file says");
            }
        }
        return true;
    }

    bool Index(std::uint32_t limit, const char* what) {
        std::uint32_t index = 0;
        if (!Count(index, what)) {
            return false;
        }
        if (index >= limit) {
            return Fail(std::string("an index beyond the ") + what);
        }
        return true;
    }

    // A face list: each face's corner count and that many indices below `vertices`. shape, when
    // given, must have the same faces' corner counts.
    bool Faces(std::uint32_t vertices, std::vector<std::uint32_t>* corners,
               const std::vector<std::uint32_t>* same) {
        std::uint32_t faces = 0;
        if (!Count(faces, "faces")) {
            return false;
        }
        if (same != nullptr && faces != same->size()) {
            return Fail("the normals have other faces than their mesh");
        }
        for (std::uint32_t f = 0; f < faces; ++f) {
            std::uint32_t count = 0;
            if (!Count(count, "face corners")) {
                return false;
            }
            if (same != nullptr && count != (*same)[f]) {
                return Fail("the normals have other faces than their mesh");
            }
            corners_ += count;
            if (corners_ > kMostFaceCorners) {
                return Fail("too many face corners");
            }
            for (std::uint32_t c = 0; c < count; ++c) {
                if (!Index(vertices, "vertex list")) {
                    return false;
                }
            }
            if (corners != nullptr) {
                corners->push_back(count);
            }
        }
        return true;
    }

    // The numbers at the start of an object of the given type.
    bool Data(std::string_view type, MeshShape* mesh, MeshShape& shape) {
        if (type == "Mesh") {
            return Count(shape.vertices, "vertices") &&
                   Numbers(3ULL * shape.vertices, "vertices") &&
                   Faces(shape.vertices, &shape.faceCorners, nullptr);
        }
        if (type == "FrameTransformMatrix") {
            return Numbers(16, "matrix elements");
        }
        if (type == "Material") {
            return Numbers(11, "colour components");
        }
        if (type == "AnimationKey") {
            std::uint32_t kind = 0;
            std::uint32_t keys = 0;
            if (!Count(kind, "key kind") || !Count(keys, "keys")) {
                return false;
            }
            for (std::uint32_t k = 0; k < keys; ++k) {
                std::uint32_t values = 0;
                if (!Numbers(1, "key times") || !Count(values, "key values") ||
                    !Numbers(values, "key values")) {
                    return false;
                }
            }
            return true;
        }
        if (mesh == nullptr) {
            return true;
        }
        if (type == "MeshNormals") {
            std::uint32_t normals = 0;
            return Count(normals, "normals") && Numbers(3ULL * normals, "normals") &&
                   Faces(normals, nullptr, &mesh->faceCorners);
        }
        if (type == "MeshTextureCoords") {
            std::uint32_t coordinates = 0;
            if (!Count(coordinates, "texture coordinates")) {
                return false;
            }
            if (coordinates != mesh->vertices) {
                return Fail("texture coordinates for other vertices than the mesh has");
            }
            return Numbers(2ULL * coordinates, "texture coordinates");
        }
        if (type == "MeshVertexColors") {
            std::uint32_t colours = 0;
            if (!Count(colours, "vertex colours")) {
                return false;
            }
            for (std::uint32_t i = 0; i < colours; ++i) {
                if (!Index(mesh->vertices, "vertex list") || !Numbers(4, "colour components")) {
                    return false;
                }
            }
            return true;
        }
        if (type == "MeshMaterialList") {
            std::uint32_t materials = 0;
            std::uint32_t indices = 0;
            if (!Count(materials, "materials") || !Count(indices, "material indices")) {
                return false;
            }
            // One material for all faces, or one for each.
            if (indices != 1 && indices != mesh->faceCorners.size()) {
                return Fail("material indices for other faces than the mesh has");
            }
            return Numbers(indices, "material indices");
        }
        if (type == "SkinWeights") {
            std::uint32_t weights = 0;
            if (tokens_.Next().kind != TokenKind::String || !Count(weights, "weights")) {
                return Fail("skin weights without their frame or count");
            }
            for (std::uint32_t i = 0; i < weights; ++i) {
                if (!Index(mesh->vertices, "vertex list")) {
                    return false;
                }
            }
            return Numbers(weights, "weights") && Numbers(16, "matrix elements");
        }
        return true;
    }

    Tokenizer& tokens_;
    std::string& error_;
    std::uint64_t corners_ = 0;
};

} // namespace

bool CheckXFileBudget(std::string_view bytes, std::string& error) {
    if (bytes.size() > kLargestXFile) {
        error = "the file is too large for a model";
        return false;
    }
    if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != "xof ") {
        error = "not a .x file";
        return false;
    }
    const std::string_view format = bytes.substr(8, 4);
    const std::string_view floats = bytes.substr(12, 4);
    if (format != "txt " && format != "bin ") {
        // Compressed files cannot be checked before they are unpacked.
        error = "compressed .x files are not read";
        return false;
    }
    if (floats != "0032" && floats != "0064") {
        error = "not a .x file";
        return false;
    }
    Tokenizer tokens(bytes, format == "bin ", floats == "0064" ? 8 : 4);
    Scan scan(tokens, error);
    return scan.File();
}

} // namespace lobex
