#include "core/AppState.h"

#include <gtest/gtest.h>

#include <cmath>

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
    EXPECT_EQ(state.Pattern.MaxGain, -100.0f);
    EXPECT_EQ(state.Pattern.PlotFloor, -60.0f);
    EXPECT_EQ(state.FarField.size(), 1U);
    EXPECT_EQ(state.PiValue, static_cast<float>(M_PI)); // the float nearest to pi
}

TEST(AppState, ClearSeriesEmptiesEveryColumnAndTheFarFieldGrid) {
    AppState state;
    for (SeriesRecord& series : state.Data.Series) {
        series.Label.assign(1, 'x');
        series.Values = {1.0f, 2.0f};
        series.Min = 1.0f;
        series.Max = 2.0f;
    }
    state.FarField.assign(3, AzimuthColumn{10.0f, {PatternPoint{0, 1, 2, 3}}});

    ClearSeries(state);

    for (const SeriesRecord& series : state.Data.Series) {
        EXPECT_EQ(series.Label, "");
        EXPECT_EQ(series.Min, 0.0f);
        EXPECT_EQ(series.Max, 0.0f);
        EXPECT_EQ(series.Values, std::vector<float>{0.0f});
    }
    ASSERT_EQ(state.FarField.size(), 1U);
    EXPECT_TRUE(state.FarField[0].Points.empty());
}

TEST(AppState, SeriesLimitsScanEveryValue) {
    struct Case {
        std::vector<float> values;
        float max;
        float min;
    };
    const Case cases[] = {
        {{3.0f, 1.0f, 2.0f}, 3.0f, 1.0f},
        {{1.0f, 5.0f, -2.0f, 5.0f}, 5.0f, -2.0f},
        {{-5.0f}, -5.0f, -5.0f},
        {{0.0f, -1e-30f}, 0.0f, -1e-30f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SeriesMax(c.values), c.max);
        EXPECT_EQ(SeriesMin(c.values), c.min);
    }
    DataSet data;
    data.Series[0].Values = {4.0f, -1.0f};
    data.Series[1].Values = {2.0f, 8.0f};
    data.Series[2].Values = {9.0f};
    StoreSeriesLimits(data, 1);
    EXPECT_EQ(data.Series[0].Max, 4.0f);
    EXPECT_EQ(data.Series[0].Min, -1.0f);
    EXPECT_EQ(data.Series[1].Max, 8.0f);
    EXPECT_EQ(data.Series[2].Max, 0.0f); // beyond the last column asked for
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
