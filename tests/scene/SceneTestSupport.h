#pragma once

#include "LoadHarness.h"
#include "scene/D3DMath.h"
#include "scene/Renderer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace lobex::test {

// A fixture of tests/data/3d.
inline std::string TestDataFile(std::string_view name) {
    return (TestDataFolder() / "3d" / name).string();
}

// Float results of a few arithmetic steps.
constexpr float kTolerance = 1e-5f;

inline void ExpectNear(Vector3 actual, Vector3 expected, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectMatrixNear(const Matrix& actual, const Matrix& expected,
                             float tolerance = kTolerance) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(actual(row, column), expected(row, column), tolerance)
                << "_" << row + 1 << column + 1;
        }
    }
}

// A texture the recording renderer hands out: remembers its file.
class RecordedTexture final : public Texture {
public:
    explicit RecordedTexture(std::string file) : path(std::move(file)) {}
    std::string path;
};

// Stands in for the graphics device: keeps the world transform and records every draw with the
// state it was made in. Device is the interface it stands in for.
template <class Device = Renderer>
class RecordingRendererOf : public Device {
public:
    struct Draw {
        const MeshData* mesh;
        std::uint32_t subset;
        Matrix world;
        Material material;
        bool blending;
    };

    Matrix GetWorldTransform() const override { return world; }
    void SetWorldTransform(const Matrix& matrix) override { world = matrix; }
    void SetMaterial(const Material& value) override { material = value; }
    void SetTexture(const Texture*) override {}
    void SetAlphaBlending(bool enabled) override {
        blending = enabled;
        blendingChanges.push_back(enabled);
    }
    void DrawSubset(const MeshData& mesh, std::uint32_t subset) override {
        draws.push_back({&mesh, subset, world, material, blending});
    }
    std::shared_ptr<Texture> CreateTextureFromFile(const std::string& path, const TextureOptions*,
                                                   std::uint32_t) override {
        ++texturesCreated;
        return std::make_shared<RecordedTexture>(path);
    }

    Matrix world = MatrixIdentity();
    Material material;
    bool blending = false;
    std::vector<bool> blendingChanges;
    std::vector<Draw> draws;
    int texturesCreated = 0;
};
using RecordingRenderer = RecordingRendererOf<>;

} // namespace lobex::test
