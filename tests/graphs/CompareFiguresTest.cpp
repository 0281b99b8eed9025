#include "graphs/CompareFigures.h"
#include "core/SweepFile.h"

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

Sweep Through(float resonance) {
    // 50 Ω with jX crossing zero at the resonance: a perfect match there.
    Sweep sweep;
    sweep.header = {"Freq", "R", "jX", "SWR(50.0Om)", "Ga", "F/B"};
    for (int i = 0; i <= 10; ++i) {
        const float f = 14.0f + 0.05f * static_cast<float>(i);
        sweep.points.push_back({f, {50.0f, 100.0f * (f - resonance)}});
    }
    return sweep;
}

// Two sweeps side by side: each row's lowest SWR at the chosen Z0, where it is, the band it
// lies in and the resonance, and the later one's difference to the first.
TEST(ImpedanceCompareRows, SweepsAtTheChosenReference) {
    AppState state;
    LoadRequest request;
    state.Loaded.Data = DeriveLoad(Through(14.1f), request).data;
    state.Compare.ShownLabel = "a.csv";
    state.Compare.Results.push_back({"b.csv", std::make_shared<const Result>(Through(14.3f))});
    const std::vector<CompareRow> rows = ImpedanceCompareRows(state, {50.0, 0.0}, 2.0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].label, "a.csv");
    // The band runs from the sweep's start to where |jX| reaches 35.4 Ω (SWR 2), interpolated.
    EXPECT_EQ(rows[0].figures, (std::array<std::string, 4>{"1.00", "14.100", "0.453", "14.100"}));
    EXPECT_EQ(rows[1].figures, (std::array<std::string, 4>{"1.00", "14.300", "0.500", "14.300"}));
    EXPECT_EQ(rows[1].differences,
              (std::array<std::string, 4>{"+0.00", "+0.200", "+0.047", "+0.200"}));
    EXPECT_TRUE(rows[0].differences[0].empty());
    // None to compare, or a far field on show: no rows.
    state.Compare.Results.clear();
    EXPECT_TRUE(ImpedanceCompareRows(state, {50.0, 0.0}, 2.0).empty());
}

} // namespace
} // namespace lobex
