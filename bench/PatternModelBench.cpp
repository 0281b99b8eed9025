#include "scene/CD3DFrame.h"
#include "view3d/ModelFile.h"
#include "view3d/PatternMesh.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

using namespace lobex;

// The finest grid MMANA exports: zenith 0..180 and azimuth 0..359.5 in half degrees, closed by
// the 360 column as the reader leaves it: 361 x 721 = 260,281 vertices, 259,200 faces.
const FarFieldGrid& HalfDegreeSphere() {
    static const FarFieldGrid grid = [] {
        FarFieldGrid result;
        for (int j = 0; j <= 720; ++j) {
            AzimuthColumn column;
            column.Azimuth = 0.5f * static_cast<float>(j);
            const double phi = (j == 720 ? 0.0 : column.Azimuth) * 3.141592653589793 / 180.0;
            for (int i = 0; i <= 360; ++i) {
                const float zenith = 0.5f * static_cast<float>(i);
                const double theta = zenith * 3.141592653589793 / 180.0;
                // A three-element beam: a main lobe towards azimuth 0, a back lobe, nulls.
                const double field = std::abs(std::sin(theta) * (1.0 + 0.6 * std::cos(phi)) *
                                              std::cos(0.5 * std::cos(theta)));
                const auto total = static_cast<float>(20.0 * std::log10(field + 1e-6) + 8.0);
                column.Points.push_back({zenith, total - 3.0f, total - 3.0f, total});
            }
            result.push_back(std::move(column));
        }
        return result;
    }();
    return grid;
}

// The model file the benchmarks write and read, removed when the program ends.
struct ModelFile {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "lobex-bench-pattern.x";
    ~ModelFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

std::string ModelPath() {
    static const ModelFile file;
    return file.path.string();
}

// What the 3D button does before the view starts: vertices, faces and the binary file.
void BM_BuildAndWriteBinaryModel(benchmark::State& state) {
    const FarFieldGrid& grid = HalfDegreeSphere();
    const std::string path = ModelPath();
    PatternMesh mesh;
    std::string refusal;
    for (auto _ : state) {
        if (!BuildPatternVertices(grid, kPiValue, mesh, refusal) ||
            !ReplaceFileContents(path, BinaryModelBytes(mesh))) {
            state.SkipWithError("the model was not written");
            break;
        }
    }
    state.counters["vertices"] = static_cast<double>(mesh.PatternVertices.size());
    state.counters["faces"] = static_cast<double>(mesh.PatternFaces.size());
}
BENCHMARK(BM_BuildAndWriteBinaryModel)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same without the disk: how much of the time is ours.
void BM_BuildBinaryModelInMemory(benchmark::State& state) {
    const FarFieldGrid& grid = HalfDegreeSphere();
    PatternMesh mesh;
    std::string refusal;
    for (auto _ : state) {
        BuildPatternVertices(grid, kPiValue, mesh, refusal);
        benchmark::DoNotOptimize(BinaryModelBytes(mesh));
    }
}
BENCHMARK(BM_BuildBinaryModelInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void WriteModelOnce() {
    PatternMesh mesh;
    std::string refusal;
    BuildPatternVertices(HalfDegreeSphere(), kPiValue, mesh, refusal);
    ReplaceFileContents(ModelPath(), BinaryModelBytes(mesh));
}

// What the view does when it starts: the binary file read back into a frame with its mesh.
void BM_ReadBinaryModelIntoScene(benchmark::State& state) {
    WriteModelOnce();
    SceneContext scene;
    std::size_t vertices = 0;
    for (auto _ : state) {
        auto frame = CreateFrame();
        if (!frame->InitFromFile(scene, ModelPath())) {
            state.SkipWithError("the model was not read");
            break;
        }
        vertices = frame->GetChildFrame(0)->GetChildMesh(0)->GetMeshData().Vertices.size();
    }
    state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(BM_ReadBinaryModelIntoScene)->Unit(benchmark::kMillisecond)->UseRealTime();

// Assimp's own share of the read: parsing the file into its scene and freeing it again.
void BM_AssimpParsesBinaryModel(benchmark::State& state) {
    WriteModelOnce();
    for (auto _ : state) {
        Assimp::Importer importer;
        benchmark::DoNotOptimize(importer.ReadFile(ModelPath(), aiProcess_ConvertToLeftHanded));
    }
}
BENCHMARK(BM_AssimpParsesBinaryModel)->Unit(benchmark::kMillisecond)->UseRealTime();

// The conversion tool's text form of the same grid.
void BM_BuildAndWriteTextModel(benchmark::State& state) {
    const FarFieldGrid& grid = HalfDegreeSphere();
    const std::string path = ModelPath();
    PatternMesh mesh;
    std::string refusal;
    for (auto _ : state) {
        BuildPatternVertices(grid, kPiValue, mesh, refusal);
        ReplaceFileContents(path, TextModelText(mesh, ","));
    }
}
BENCHMARK(BM_BuildAndWriteTextModel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
