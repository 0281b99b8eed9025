#pragma once

#include "scene/D3DMath.h"
#include "scene/Renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::test {

// A fixture of tests/data/3d. (The LOBEX_TEST_DATA the test runner sets points below the folder
// of the calling CMakeLists, so the folder is compiled in instead.)
inline std::string TestDataFile(std::string_view name) {
    return (std::filesystem::path(LOBEX_3D_TEST_DATA) / name).string();
}

// The real-world MMANA files beside the repository (compiled in for the same reason).
inline std::filesystem::path CorpusFolder(std::string_view relative) {
    return std::filesystem::path(LOBEX_3D_CORPUS) / relative;
}

// A private folder for the files one test writes, removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / std::string("lobex-test-")
                                                             .append(std::to_string(random()))
                                                             .append(std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string File(std::string_view name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteText(const std::string& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Float results of a few arithmetic steps.
constexpr float kTolerance = 1e-5f;

inline void ExpectNear(Vector3 actual, Vector3 expected, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectMatrixNear(const Matrix& actual, const float (&expected)[4][4],
                             float tolerance = kTolerance) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(actual(row, column), expected[row][column], tolerance)
                << "_" << row + 1 << column + 1;
        }
    }
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

// A texture the recording renderer hands out: remembers how it was made.
class RecordedTexture final : public Texture {
public:
    RecordedTexture(std::string file, bool withOptions, std::uint32_t key)
        : path(std::move(file)), options(withOptions), colorKey(key) {}
    std::string path;
    bool options;
    std::uint32_t colorKey;
};

// Stands in for the graphics device: keeps the world transform and records every draw with the
// state it was made in.
class RecordingRenderer final : public Renderer {
public:
    struct Draw {
        const MeshData* mesh;
        std::uint32_t subset;
        Matrix world;
        Material material;
        const Texture* texture;
        bool blending;
    };

    Matrix GetWorldTransform() const override { return world; }
    void SetWorldTransform(const Matrix& matrix) override { world = matrix; }
    void SetMaterial(const Material& value) override { material = value; }
    void SetTexture(const Texture* value) override { texture = value; }
    void SetAlphaBlending(bool enabled) override {
        blending = enabled;
        blendingChanges.push_back(enabled);
    }
    void DrawSubset(const MeshData& mesh, std::uint32_t subset) override {
        draws.push_back({&mesh, subset, world, material, texture, blending});
    }
    std::shared_ptr<Texture> CreateTextureFromFile(const std::string& path,
                                                   const TextureOptions* options,
                                                   std::uint32_t colorKey) override {
        ++texturesCreated;
        if (failTextures) {
            return nullptr;
        }
        return std::make_shared<RecordedTexture>(path, options != nullptr, colorKey);
    }

    Matrix world = MatrixIdentity();
    Material material;
    const Texture* texture = nullptr;
    bool blending = false;
    std::vector<bool> blendingChanges;
    std::vector<Draw> draws;
    int texturesCreated = 0;
    bool failTextures = false;
};

} // namespace lobex::test
