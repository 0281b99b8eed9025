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

TEST(AppState, SeriesLimitsScanEveryValue) {
    const std::vector<float> values = {1.0f, 5.0f, -2.0f, 5.0f, -1e-30f};
    EXPECT_EQ(SeriesMin(values), -2.0f);
    EXPECT_EQ(SeriesMax(values), 5.0f);
    EXPECT_EQ(SeriesMax({-5.0f}), -5.0f); // not the starting zero
}

TEST(AppState, ColumnsInUseFollowTheDataKind) {
    const std::pair<std::int16_t, int> cases[] = {
        {KindNone, 6},     {KindMmanaWindow, 6}, {KindNearField, 4}, {KindSweep, 5},
        {KindCurrents, 4}, {KindFarField, 3},    {KindTable, 6},
    };
    for (const auto& [kind, last] : cases) {
        EXPECT_EQ(LastColumnInUse(kind), last) << kind;
    }
}

} // namespace
} // namespace lobex
