#include "core/AppState.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(AppState, StartsWithTheDefaultLabelsAndOneZeroPerSeries) {
    AppState state;
    SetDefaultLabels(state.Data);
    const char* expected[] = {"Параметр", "R", "j X", "КСВ", "Усиление", "F / B", "Зенит"};
    for (int i = 0; i < kSeriesCount; ++i) {
        const SeriesRecord& series = state.Data.Series[static_cast<std::size_t>(i)];
        EXPECT_EQ(series.Label, expected[i]);
        EXPECT_EQ(series.Values, std::vector<float>{0.0f});
    }
    EXPECT_EQ(state.Data.DataKind, KindNone);
}

} // namespace
} // namespace lobex
