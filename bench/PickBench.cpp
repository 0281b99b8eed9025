#include "LoadHarness.h"
#include "session/DocumentSession.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

// Picking another elevation of the 1-degree corpus pattern, as the set list does it.
namespace {

using lobex::test::LoadHarness;

std::string CorpusGrid() {
    return (std::filesystem::path(LOBEX_CORPUS_DIR) / "farfield_csv" / "APET_LazyH-16m_1deg.csv")
        .string();
}

// The pick that reads the file again for the entry chosen.
void BM_PickElevation_ReadAgain(benchmark::State& state) {
    LoadHarness h;
    if (!h.Open(CorpusGrid())) {
        state.SkipWithError("the far-field file did not load");
        return;
    }
    int entry = 0;
    for (auto _ : state) {
        entry = entry == 10 ? 20 : 10;
        if (!h.Pick(entry)) {
            state.SkipWithError("the pick failed");
            return;
        }
        benchmark::DoNotOptimize(h.state.Loaded.Data.Series[1].Values.data());
    }
}
BENCHMARK(BM_PickElevation_ReadAgain)->Unit(benchmark::kMillisecond);

// The session's pick, from the pattern in memory.
void BM_PickElevation_InMemory(benchmark::State& state) {
    LoadHarness h;
    lobex::DocumentSession session(h.ctx, h.view);
    if (!session.OpenFile(CorpusGrid())) {
        state.SkipWithError("the far-field file did not load");
        return;
    }
    int entry = 0;
    for (auto _ : state) {
        entry = entry == 10 ? 20 : 10;
        if (!session.Pick(entry)) {
            state.SkipWithError("the pick failed");
            return;
        }
        benchmark::DoNotOptimize(h.state.Loaded.Data.Series[1].Values.data());
    }
}
BENCHMARK(BM_PickElevation_InMemory)->Unit(benchmark::kMillisecond);

} // namespace
