#pragma once

#include "view3d/PatternMesh.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::test {

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
        const auto integers = [&](const std::vector<std::uint32_t>& values) {
            put(6, 2);
            put(static_cast<std::uint32_t>(values.size()), 4);
            for (std::uint32_t value : values) {
                put(value, 4);
            }
        };
        const auto floats = [&](const std::vector<float>& values) {
            put(7, 2);
            put(static_cast<std::uint32_t>(values.size()), 4);
            for (float value : values) {
                put(std::bit_cast<std::uint32_t>(value), 4);
            }
        };
        const auto mesh = [&](const std::vector<Vector3>& points,
                              const std::vector<std::vector<std::uint32_t>>& list) {
            integers({static_cast<std::uint32_t>(points.size())});
            std::vector<float> coordinates;
            for (const Vector3& p : points) {
                coordinates.insert(coordinates.end(), {p.x, p.y, p.z});
            }
            floats(coordinates);
            std::vector<std::uint32_t> values{static_cast<std::uint32_t>(list.size())};
            for (const auto& face : list) {
                values.push_back(static_cast<std::uint32_t>(face.size()));
                values.insert(values.end(), face.begin(), face.end());
            }
            integers(values);
        };
        name("Frame");
        name("FrameTransformMatrix");
        floats({matrix.begin(), matrix.end()});
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

} // namespace lobex::test
