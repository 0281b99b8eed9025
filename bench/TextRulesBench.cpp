#include "core/TextRules.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// The grid formats every cell of a loaded data set with the same pattern.
void BM_FormatGridCell(benchmark::State& state) {
    std::vector<float> values;
    for (int i = 0; i < 1000; ++i) {
        values.push_back(static_cast<float>(i) * 0.137f - 60.0f);
    }
    for (auto _ : state) {
        for (float value : values) {
            benchmark::DoNotOptimize(lobex::FormatPattern(value, "#0.00###", ","));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_FormatGridCell);

// Far-field files hold tens of thousands of numeric fields.
void BM_LeadingFloat(benchmark::State& state) {
    const std::vector<std::string> fields = {"-177.29", "0.0", "14.150", "-999.00", "1e-3"};
    for (auto _ : state) {
        for (const std::string& field : fields) {
            benchmark::DoNotOptimize(lobex::LeadingFloat(field));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(fields.size()));
}
BENCHMARK(BM_LeadingFloat);

} // namespace
