#include "graphs/PolarGraph.h"
#include "GraphHarness.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"
#include "graphs/RectangularGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace lobex::test {
namespace {

constexpr const char* kElevationMessage =
    "Входной файл содержит недостаточно данных для построения графика угла места.\r\n"
    "Удостовертесь что файл включает данные зенита по азимуту 0 и 180 градусов.";

std::string PolarCommands(const char* size, const char* blue, const char* title, const char* style,
                          const char* ticks, const char* caption) {
    return std::string("[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][GridLineType(1,1)]") +
           size + blue +
           "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
           "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]"
           "[XAxisLabel(\"Азимут\")][Title1(\"" +
           title + "\")]" + style + "[Scale(264)][ManualScale(0,0,360,1)]" + ticks +
           "[LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"" + caption + "\")]";
}

std::string Fixture(const char* name) {
    return (TestDataFolder() / name).string();
}

// A pattern whose cut is already in the series: 4 angles, radii in columns 1 to 3.
void SetCut(GraphHarness& h) {
    DataSet& data = h.state.Data;
    data.DataKind = KindFarField;
    data.DataText = "Data Loaded";
    SetSeries(data, 0, "Угол Места", {0.0f, 90.0f, 180.0f, 270.0f});
    SetSeries(data, 1, "Верт", {0.1f, 0.2f, 0.3f, 0.4f});
    SetSeries(data, 2, "Гориз", {0.5f, 0.6f, 0.7f, 0.8f});
    SetSeries(data, 3, "Общая", {0.9f, 1.0f, 0.9f, 0.8f});
    PatternResults& pattern = h.state.Pattern;
    pattern.MaxGain = 10.0f;
    pattern.PlotFloor = -60.0f;
    pattern.PlotRange = 70.0f;
    pattern.MaxElevation = 15.0f;
    pattern.MaxAzimuth = 0.0f;
    pattern.BeamLeft = 337.5f;
    pattern.BeamRight = 22.5f;
    pattern.BeamWidth = 45.0f;
    h.state.PatternShown = true;
    h.state.CutKind = 1;
}

TEST(ShowPattern, DrawsBothDiagramsOfAFarFieldFileInTheMainWindow) {
    GraphHarness h;
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_below_horizon_30deg.csv")));
    ASSERT_EQ(h.api.plots.size(), 2U);
    EXPECT_EQ(h.api.plots[0].commands,
              PolarCommands("[Size(1,2,2,0)]", "[Color(2,0,0,255)]", "Азимут",
                            "[PolarPlotStyle(3)]", "[NumTicks(1,18,5)]", "Azimuth"));
    EXPECT_EQ(h.api.plots[1].commands,
              PolarCommands("[Size(1,2,2,0)]", "[Color(2,0,0,255)]", "Угол", "[PolarPlotStyle(0)]",
                            "[NumTicks(1,18,5)]", "Elevation"));
    // The azimuth cut closes the circle: 0 to 330 and the 360 copy.
    const FakePlotApi::PlotCall& azimuth = h.api.plots[0];
    EXPECT_EQ(azimuth.record.MaxPoints, 13);
    EXPECT_EQ(azimuth.x.front(), 0.0f);
    EXPECT_EQ(azimuth.x.back(), 360.0f);
    EXPECT_EQ(azimuth.record.NumCurves, 2);
    EXPECT_EQ(azimuth.record.MaxCurves, 2);
    EXPECT_EQ(azimuth.record.NP[1], 13);
    // The elevation cut goes round once, from straight down in front over the top to straight
    // down behind.
    const FakePlotApi::PlotCall& elevation = h.api.plots[1];
    EXPECT_EQ(elevation.record.MaxPoints, 13);
    EXPECT_EQ(elevation.x.front(), -90.0f);
    EXPECT_EQ(elevation.x.back(), 270.0f);
    for (const float radius : elevation.y) {
        EXPECT_GE(radius, 0.0f);
        EXPECT_LE(radius, 1.0f);
    }
    EXPECT_EQ(h.link.Slots[1].DocNum, 1);
    EXPECT_EQ(h.link.Slots[2].DocNum, 2);
    EXPECT_EQ(h.link.Slots[0].DocNum, 0);
    EXPECT_TRUE(h.api.addData.empty()); // no circle in the main window
    EXPECT_EQ(h.state.CutKind, 2);
    EXPECT_EQ(h.view.Events("paint"), (std::vector<std::string>{"paint 1", "paint 2"}));
    EXPECT_TRUE(h.view.PolarLayout());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(ShowPattern, TheElevationCutIsDrawnInAngleOrderWithItsValues) {
    GraphHarness h;
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_below_horizon_30deg.csv")));
    h.api.plots.clear();
    ASSERT_TRUE(ShowPattern(h.graph, 1, 3));
    ASSERT_EQ(h.api.plots.size(), 2U);
    // The series hold the elevation cut as it was built: zenith to front horizon, then zenith
    // to back horizon. The document holds the same points, angle by angle.
    const DataSet& data = h.state.Data;
    const FakePlotApi::PlotCall& call = h.api.plots[1];
    const std::size_t n = data.Series[0].Values.size();
    ASSERT_EQ(call.x.size(), n);
    EXPECT_TRUE(std::is_sorted(call.x.begin(), call.x.end()));
    EXPECT_FALSE(std::is_sorted(data.Series[0].Values.begin(), data.Series[0].Values.end()));
    for (std::size_t i = 0; i < n; ++i) {
        const float angle = data.Series[0].Values[i];
        const auto at = std::find(call.x.begin(), call.x.end(), angle);
        ASSERT_NE(at, call.x.end()) << angle;
        const auto j = static_cast<std::size_t>(at - call.x.begin());
        EXPECT_EQ(call.y[j], data.Series[1].Values[i]) << angle;
        EXPECT_EQ(call.y[n + j], data.Series[3].Values[i]) << angle;
    }
    // The azimuth cut was in order already.
    EXPECT_TRUE(std::is_sorted(h.api.plots[0].x.begin(), h.api.plots[0].x.end()));
}

TEST(ShowPattern, InThePolarWindowDrawsLargerWithTheBeamCircle) {
    GraphHarness h;
    h.state.PlotHost = PlotHostKind::PolarWindow;
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_below_horizon_30deg.csv")));
    ASSERT_EQ(h.api.plots.size(), 2U);
    EXPECT_EQ(h.api.plots[0].commands,
              PolarCommands("[Size(1,3.3,3.3,0)]", "[Color(2,0,0,255)]", "Азимут",
                            "[PolarPlotStyle(3)]", "[NumTicks(1,36,5)]", "Azimuth"));
    EXPECT_EQ(h.api.plots[1].commands,
              PolarCommands("[Size(1,3.3,3.3,0)]", "[Color(2,0,0,255)]", "Угол",
                            "[PolarPlotStyle(0)]", "[NumTicks(1,36,5)]", "Elevation"));
    ASSERT_EQ(h.api.addData.size(), 2U);
    const std::vector<std::pair<std::int32_t, std::string>> circles = {
        {1, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]"},
        {2, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]"}};
    EXPECT_EQ(h.api.commands, circles);
    for (const FakePlotApi::AddDataCall& circle : h.api.addData) {
        EXPECT_EQ(circle.type, 0);
        EXPECT_EQ(circle.points, 360);
        EXPECT_EQ(circle.curve, 3); // after the two data curves
        EXPECT_EQ(circle.x.front(), 0.0f);
        EXPECT_EQ(circle.x.back(), 359.0f);
        EXPECT_GT(circle.y.front(), 0.0f);
        EXPECT_LT(circle.y.front(), 1.0f);
        EXPECT_EQ(circle.y.front(), circle.y.back());
    }
}

TEST(ShowPattern, ASingleZenithGridDrawsTheAzimuthDiagramOnly) {
    GraphHarness h;
    h.link.Slots[2].DocNum = 5; // an elevation diagram of the file before
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_single_zenith.csv")));
    ASSERT_EQ(h.api.plots.size(), 1U);
    EXPECT_NE(h.api.plots[0].commands.find("[Caption(\"Azimuth\")]"), std::string::npos);
    EXPECT_EQ(h.link.Slots[2].DocNum, 0);
    EXPECT_EQ(h.link.Slots[2].HasBitmap, 0);
    EXPECT_EQ(h.view.Events("paint"), std::vector<std::string>{"paint 1"});
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{kElevationMessage});
    EXPECT_FALSE(h.state.Pattern.ElevationCutAvailable);
}

TEST(ShowPattern, AChosenElevationThatIsNoZenithDrawsNothing) {
    GraphHarness h;
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_below_horizon_30deg.csv")));
    h.messages.shown.clear();
    h.data.params = {{"45", 0}};
    h.state.Data.SelectedSetIndex = 0;
    h.state.SetChosen = true;
    EXPECT_FALSE(ShowPattern(h.graph, 1, 2));
    EXPECT_EQ(h.api.plots.size(), 2U); // only the two of the load
    EXPECT_EQ(h.link.Slots[1].DocNum, 0);
    EXPECT_EQ(h.link.Slots[2].DocNum, 0);
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{kElevationMessage});
}

TEST(ShowPattern, AChosenSetTakesTheCurvesFromTheLists) {
    GraphHarness h;
    ASSERT_TRUE(RunFileOpen(h.load, Fixture("farfield_below_horizon_30deg.csv")));
    const std::size_t before = h.api.plots.size();
    // The elevation list holds 90, 60, 30, 0 (item data: zenith index); the maximum lies at
    // 30 degrees, pick 60.
    ASSERT_EQ(h.state.Pattern.MaxElevation, 30.0f);
    ASSERT_EQ(h.data.params.at(1).text, "60");
    h.data.paramIndex = 1;
    struct Case {
        CurveChoice left, right;
        int curves;
        std::size_t firstColumn;
    };
    const Case cases[] = {
        {{2, 3}, {0, 0}, 1, 3},
        {{0, 1}, {3, 3}, 2, 1},
        {{1, 2}, {2, 2}, 1, 2}, // the same column twice: drawn once
    };
    std::vector<std::vector<float>> drawn;
    for (const Case& c : cases) {
        h.view.SelectCurve(CurveList::Left, c.left);
        h.view.SelectCurve(CurveList::Right, c.right);
        h.api.plots.clear();
        // The pair handed over is ignored once a set is chosen: the lists are read afresh.
        PlotChosenCurves(h.graph, 1, 1);
        ASSERT_EQ(h.api.plots.size(), 2U) << c.firstColumn;
        EXPECT_TRUE(h.state.SetChosen);
        EXPECT_EQ(h.state.SelectedSetText, "60");
        for (const FakePlotApi::PlotCall& call : h.api.plots) {
            EXPECT_EQ(call.record.NumCurves, c.curves) << c.firstColumn;
        }
        const std::vector<float>& y = h.api.plots[0].y;
        drawn.emplace_back(y.begin(), y.begin() + h.api.plots[0].record.MaxPoints);
    }
    // The first curve of each azimuth diagram is the chosen column of the cut at 60 degrees,
    // not at the maximum.
    h.state.CutKind = 1;
    ASSERT_TRUE(BuildCut(h.load, 0.0f, 60.0f));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(drawn[i], h.state.Data.Series[cases[i].firstColumn].Values) << i;
    }
    EXPECT_EQ(h.view.Labels().AzElev, "60°");
    EXPECT_GT(before, 0U);
}

TEST(PlotPolar, OneCurveGetsOneCurveRecordAndNoBlue) {
    GraphHarness h;
    SetCut(h);
    ASSERT_TRUE(PlotPolar(h.graph, 3, 0, 1));
    const FakePlotApi::PlotCall& call = h.api.plots.at(0);
    EXPECT_EQ(call.commands, PolarCommands("[Size(1,2,2,0)]", "", "Азимут", "[PolarPlotStyle(3)]",
                                           "[NumTicks(1,18,5)]", "Azimuth"));
    EXPECT_EQ(call.record.MaxCurves, 1);
    EXPECT_EQ(call.record.NumCurves, 1);
    EXPECT_EQ(call.record.MaxPoints, 4);
    EXPECT_EQ(call.y, (std::vector<float>{0.9f, 1.0f, 0.9f, 0.8f}));
    EXPECT_EQ(h.link.Slots[1].DocNum, 1);
    EXPECT_EQ(h.link.Slots[1].HasBitmap, 1);
}

TEST(PlotPolar, TheBeamCircleFollowsTheDataCurves) {
    struct Case {
        int right;
        std::int32_t curve;
        const char* command;
    };
    const Case cases[] = {{0, 2, "[Color(2,0,128,0)][LineType(2,3)][LineType(1,1)]"},
                          {2, 3, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]"}};
    for (const Case& c : cases) {
        GraphHarness h;
        SetCut(h);
        h.state.PlotHost = PlotHostKind::PolarWindow;
        ASSERT_TRUE(PlotPolar(h.graph, 1, c.right, 2));
        ASSERT_EQ(h.api.addData.size(), 1U);
        EXPECT_EQ(h.api.addData[0].curve, c.curve);
        // (67 / 70)^4 for a 10 dBi maximum on a 70 dB scale.
        EXPECT_NEAR(h.api.addData[0].y[100], 0.8393f, 0.0001f);
        ASSERT_EQ(h.api.commands.size(), 1U);
        EXPECT_EQ(h.api.commands[0].second, c.command);
    }
}

TEST(PlotPolar, TheElevationDiagramFillsTheResultLabels) {
    struct Case {
        const char* separator;
        float maxGain;
        bool setChosen;
        PatternLabels labels;
    };
    const Case cases[] = {
        {".", 7.35f, false, {"15°", "0°", "7.35", "15°", "337.5°", "22.5°", "45°"}},
        {",", 7.35f, false, {"15°", "0°", "7,35", "15°", "337,5°", "22,5°", "45°"}},
        {".", 7.0f, false, {"15°", "0°", "7.0", "15°", "337.5°", "22.5°", "45°"}},
        {".", 7.356f, true, {"15°", "0°", "7.36", "12,5°", "337.5°", "22.5°", "45°"}},
    };
    for (const Case& c : cases) {
        GraphHarness h;
        SetCut(h);
        h.state.DecimalSeparator = c.separator;
        h.state.Pattern.MaxGain = c.maxGain;
        h.state.SetChosen = c.setChosen;
        h.state.SelectedSetText = "12,5";
        ASSERT_TRUE(PlotPolar(h.graph, 1, 2, 2));
        EXPECT_EQ(h.view.Labels(), c.labels) << c.labels.MaxTotal;
    }
}

TEST(PlotPolar, OnlyTheElevationDiagramTouchesTheResultLabels) {
    GraphHarness h;
    SetCut(h);
    ASSERT_TRUE(PlotPolar(h.graph, 1, 2, 1));
    EXPECT_TRUE(h.view.Events("labels").empty());
    EXPECT_EQ(h.view.Labels(), PatternLabels{});
}

TEST(PlotPolar, WithoutDataTellsSo) {
    GraphHarness h;
    SetCut(h);
    h.state.Data.DataText.clear();
    EXPECT_FALSE(PlotPolar(h.graph, 1, 2, 1));
    EXPECT_TRUE(h.api.plots.empty());
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Нет данных"});
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Information);
}

TEST(PlotPolar, OtherDataKindsGetEmptyTitleAndLabel) {
    GraphHarness h;
    SetCut(h);
    h.state.Data.DataKind = KindSweep;
    ASSERT_TRUE(PlotPolar(h.graph, 1, 0, 1));
    EXPECT_NE(h.api.plots[0].commands.find("[XAxisLabel(\"\")][Title1(\"\")]"), std::string::npos);
}

TEST(BeamCircleRadius, IsTheMinus3dBLevelOnTheFourthPowerScale) {
    struct Case {
        float maxGain;
        float range;
        float radius;
    };
    const Case cases[] = {
        {10.0f, 70.0f, 0.8393f}, // (67/70)^4
        {0.0f, 60.0f, std::pow(57.0f / 60.0f, 4.0f)},
        {-57.0f, 3.0f, 0.0f}, // the level lies on the floor: the centre
        {-59.0f, 1.0f, 0.0f}, // below the floor: still the centre, not folded outwards
        {10.0f, 0.0f, 0.0f},  // no range at all
    };
    for (const Case& c : cases) {
        AppState state;
        state.Pattern.MaxGain = c.maxGain;
        state.Pattern.PlotRange = c.range;
        state.Pattern.PlotFloor = -60.0f;
        EXPECT_NEAR(BeamCircleRadius(state), c.radius, 0.0001f) << c.maxGain;
    }
}

} // namespace
} // namespace lobex::test
