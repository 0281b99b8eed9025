#include "GeneratedFarField.h"
#include "LoadHarness.h"
#include "core/FarField.h"
#include "model/PatternMetrics.h"

#include <benchmark/benchmark.h>

#include <filesystem>

// The figures are worked out on every load of a pattern; the 1° corpus grid is the largest
// MMANA export in the corpus (32 400 points).
static void BM_MeasurePatternCorpus1Degree(benchmark::State& state) {
    const lobex::Parsed<lobex::FarFieldPattern> parsed =
        lobex::ParseFarField(lobex::test::ReadBytes(std::filesystem::path(LOBEX_CORPUS_DIR) /
                                                    "farfield_csv" / "APET_LazyH-16m_1deg.csv"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lobex::MeasurePattern(*parsed.result));
    }
}
BENCHMARK(BM_MeasurePatternCorpus1Degree)->Unit(benchmark::kMicrosecond);

// A 0.5° free-space grid (260 000 points), where the sphere's average is worked out too.
static void BM_MeasurePatternHalfDegreeSphere(benchmark::State& state) {
    const lobex::Parsed<lobex::FarFieldPattern> parsed =
        lobex::ParseFarField(lobex::test::MakeFarFieldCsv(0.5, 180.0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lobex::MeasurePattern(*parsed.result));
    }
}
BENCHMARK(BM_MeasurePatternHalfDegreeSphere)->Unit(benchmark::kMillisecond);
