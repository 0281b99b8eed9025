#include "GeneratedFarField.h"
#include "ScratchFile.h"
#include "core/AtomicFile.h"
#include "core/FarField.h"
#include "core/TextFile.h"
#include "scene/CD3DFrame.h"
#include "scene/OwnModelReader.h"
#include "view3d/ModelFile.h"
#include "view3d/PatternMesh.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

using namespace lobex;

using bench::ScratchFile;

std::string CorpusGrid() {
    return (std::filesystem::path(LOBEX_CORPUS_DIR) / "farfield_csv" / "APET_LazyH-16m_1deg.csv")
        .string();
}

// The finest grid MMANA exports, as a file: zenith 0..180 and azimuth 0..359.5 in half degrees,
// which the reader closes with the 360 column: 361 x 721 = 260,281 vertices, 259,200 faces.
const std::string& HalfDegreeGrid() {
    static const ScratchFile file("lobex-bench-pattern-0.5deg.csv");
    static const bool written = [] {
        test::WriteFarFieldCsv(file.path, 0.5, 180.0);
        return true;
    }();
    (void)written;
    return file.path;
}

const std::string& ModelPath() {
    static const ScratchFile file("lobex-bench-pattern.x");
    return file.path;
}

// The far-field file read as the 3D button finds it: through the far-field reader.
const FarFieldGrid* ReadGrid(benchmark::State& state, const std::string& path) {
    static LoadResult read;
    read = ReadFarFieldGridFile(path);
    if (!read.loaded) {
        state.SkipWithError("the far-field file was not read");
        return nullptr;
    }
    return &read.farField.Grid();
}

bool WriteModel(const FarFieldGrid& grid, PatternMesh& mesh) {
    std::string refusal;
    return BuildPatternVertices(grid, kPiValue, mesh, refusal) &&
           WriteAtomically(ModelPath(), BinaryModelBytes(mesh)).ok;
}

// What the 3D button does before the view starts: vertices, faces and the binary file.
void BuildAndWriteBinaryModel(benchmark::State& state, const std::string& csv) {
    const FarFieldGrid* grid = ReadGrid(state, csv);
    if (grid == nullptr) {
        return;
    }
    PatternMesh mesh;
    for (auto _ : state) {
        if (!WriteModel(*grid, mesh)) {
            state.SkipWithError("the model was not written");
            return;
        }
    }
    state.counters["vertices"] = static_cast<double>(mesh.PatternVertices.size());
    state.counters["faces"] = static_cast<double>(mesh.PatternFaces.size());
}

void BM_BuildAndWriteBinaryModel_HalfDegree(benchmark::State& state) {
    BuildAndWriteBinaryModel(state, HalfDegreeGrid());
}
BENCHMARK(BM_BuildAndWriteBinaryModel_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildAndWriteBinaryModel_Corpus1Degree(benchmark::State& state) {
    BuildAndWriteBinaryModel(state, CorpusGrid());
}
BENCHMARK(BM_BuildAndWriteBinaryModel_Corpus1Degree)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same without the disk: how much of the time is ours.
void BM_BuildBinaryModelInMemory_HalfDegree(benchmark::State& state) {
    const FarFieldGrid* grid = ReadGrid(state, HalfDegreeGrid());
    if (grid == nullptr) {
        return;
    }
    PatternMesh mesh;
    std::string refusal;
    for (auto _ : state) {
        BuildPatternVertices(*grid, kPiValue, mesh, refusal);
        benchmark::DoNotOptimize(BinaryModelBytes(mesh));
    }
}
BENCHMARK(BM_BuildBinaryModelInMemory_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the far-field file on the disk to the model file: the reader's share included.
void BM_FarFieldFileToBinaryModel_HalfDegree(benchmark::State& state) {
    PatternMesh mesh;
    for (auto _ : state) {
        const FarFieldGrid* grid = ReadGrid(state, HalfDegreeGrid());
        if (grid == nullptr || !WriteModel(*grid, mesh)) {
            state.SkipWithError("the model was not written");
            return;
        }
    }
}
BENCHMARK(BM_FarFieldFileToBinaryModel_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

// Writes the model of a far-field file once, for the benchmarks that read it.
bool PrepareModel(benchmark::State& state, const std::string& csv) {
    const FarFieldGrid* grid = ReadGrid(state, csv);
    PatternMesh mesh;
    if (grid == nullptr || !WriteModel(*grid, mesh)) {
        state.SkipWithError("the model was not written");
        return false;
    }
    return true;
}

// What the view does when it starts: the binary file read back into a frame with its mesh.
void ReadBinaryModelIntoScene(benchmark::State& state, const std::string& csv) {
    if (!PrepareModel(state, csv)) {
        return;
    }
    SceneContext scene;
    std::size_t vertices = 0;
    for (auto _ : state) {
        auto frame = CreateFrame();
        if (!frame->InitFromFile(scene, ModelPath())) {
            state.SkipWithError("the model was not read");
            return;
        }
        vertices = frame->GetChildFrame(0)->GetChildMesh(0)->GetMeshData().Vertices.size();
    }
    state.counters["vertices"] = static_cast<double>(vertices);
}

void BM_ReadBinaryModelIntoScene_HalfDegree(benchmark::State& state) {
    ReadBinaryModelIntoScene(state, HalfDegreeGrid());
}
BENCHMARK(BM_ReadBinaryModelIntoScene_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBinaryModelIntoScene_Corpus1Degree(benchmark::State& state) {
    ReadBinaryModelIntoScene(state, CorpusGrid());
}
BENCHMARK(BM_ReadBinaryModelIntoScene_Corpus1Degree)->Unit(benchmark::kMillisecond)->UseRealTime();

// The own reader's share of the read: the file's bytes, already in memory, to frames and mesh.
void BM_OwnReaderParsesBinaryModel_HalfDegree(benchmark::State& state) {
    std::string bytes;
    if (!PrepareModel(state, HalfDegreeGrid()) || !ReadAnyFileBytes(ModelPath(), bytes)) {
        return;
    }
    for (auto _ : state) {
        XFileContent content;
        if (ReadOwnModelFile(bytes, content) != OwnModelRead::Read) {
            state.SkipWithError("the own reader did not take the model");
            return;
        }
        benchmark::DoNotOptimize(content.Frames.data());
    }
}
BENCHMARK(BM_OwnReaderParsesBinaryModel_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the general reader alone would spend: Assimp parsing the file into its scene and
// freeing it again, before any conversion into frames.
void BM_AssimpParsesBinaryModel_HalfDegree(benchmark::State& state) {
    if (!PrepareModel(state, HalfDegreeGrid())) {
        return;
    }
    for (auto _ : state) {
        Assimp::Importer importer;
        benchmark::DoNotOptimize(importer.ReadFile(ModelPath(), aiProcess_ConvertToLeftHanded));
    }
}
BENCHMARK(BM_AssimpParsesBinaryModel_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

// The conversion tool's text form of the same grid.
void BM_BuildAndWriteTextModel_HalfDegree(benchmark::State& state) {
    const FarFieldGrid* grid = ReadGrid(state, HalfDegreeGrid());
    if (grid == nullptr) {
        return;
    }
    PatternMesh mesh;
    std::string refusal;
    for (auto _ : state) {
        BuildPatternVertices(*grid, kPiValue, mesh, refusal);
        if (!WriteAtomically(ModelPath(), TextModelText(mesh, ",")).ok) {
            state.SkipWithError("the model file was not written");
            break;
        }
    }
}
BENCHMARK(BM_BuildAndWriteTextModel_HalfDegree)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
