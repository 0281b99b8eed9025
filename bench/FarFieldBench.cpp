#include "GeneratedSphere.h"
#include "LoadHarness.h"
#include "core/FarField.h"
#include "core/TextFile.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

// Counts the bytes the program holds, so the far-field path can be measured against its payload.
namespace {

std::atomic<std::size_t> gBytesNow{0};
std::atomic<std::size_t> gBytesPeak{0};

constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = gBytesNow.fetch_add(size) + size;
    std::size_t peak = gBytesPeak.load();
    while (now > peak && !gBytesPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void CountedFree(void* pointer) {
    if (pointer == nullptr) {
        return;
    }
    void* block = static_cast<char*>(pointer) - kHeader;
    gBytesNow.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}

namespace {

using lobex::test::LoadHarness;

std::string CorpusGrid() {
    return (std::filesystem::path(LOBEX_CORPUS_DIR) / "farfield_csv" / "APET_LazyH-16m_1deg.csv")
        .string();
}

void ReportMemory(benchmark::State& state, const std::string& path) {
    const std::size_t before = gBytesNow.load();
    gBytesPeak.store(before);
    std::size_t payload = 0;
    std::size_t held = 0;
    {
        LoadHarness h;
        h.Open(path);
        for (const lobex::AzimuthColumn& column : h.state.Loaded.FarField) {
            payload += column.Points.size() * sizeof(lobex::PatternPoint);
        }
        held = gBytesNow.load() - before;
    }
    const std::size_t peak = gBytesPeak.load() - before;
    state.counters["payload_MB"] = static_cast<double>(payload) / 1e6;
    state.counters["peak_x_payload"] = static_cast<double>(peak) / static_cast<double>(payload);
    state.counters["held_x_payload"] = static_cast<double>(held) / static_cast<double>(payload);
}

// What a far-field file costs from the disk to the grid, as File > Open takes it: read, maximum
// and beam, both cuts, the grid table with its rows. A large grid is read on two threads: the
// rate is of the wall clock, the user's wait, and the CPU time is both threads'.
void RunPath(benchmark::State& state, const std::string& path) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        LoadHarness h;
        if (!h.Open(path)) {
            state.SkipWithError("the far-field file did not load");
            return;
        }
        benchmark::DoNotOptimize(h.state.Loaded.Pattern.BeamWidth);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    ReportMemory(state, path);
}

void BM_FarFieldPath_Corpus1Degree(benchmark::State& state) {
    RunPath(state, CorpusGrid());
}
BENCHMARK(BM_FarFieldPath_Corpus1Degree)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_FarFieldPath_Generated05Degree(benchmark::State& state) {
    RunPath(state, lobex::bench::HalfDegreeSphereFile());
}
BENCHMARK(BM_FarFieldPath_Generated05Degree)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The parser alone, on bytes in memory, to tell parsing from the rest.
void BM_ReadFarFieldGrid_Generated05Degree(benchmark::State& state) {
    const std::string bytes = lobex::ReadFileBytes(lobex::bench::HalfDegreeSphereFile());
    for (auto _ : state) {
        benchmark::DoNotOptimize(lobex::ReadFarFieldGrid(bytes));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadFarFieldGrid_Generated05Degree)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace
