#include "graphs/PolarGraph.h"
#include "GraphWorld.h"
#include "core/FarField.h"
#include "core/Messages.h"
#include "graphs/RectangularGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace lobex::test {
namespace {

// The polar command string the engine is sent: main window 2 inches and 18 divisions, the polar
// window 3.3 inches and 36; area 1 azimuth, 2 elevation.
std::string PolarCommands(bool mainWindow, bool blue, int area) {
    const bool azimuth = area == 1;
    return std::string("[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][GridLineType(1,1)]") +
           (mainWindow ? "[Size(1,2,2,0)]" : "[Size(1,3.3,3.3,0)]") +
           (blue ? "[Color(2,0,0,255)]" : "") +
           "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
           "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]"
           "[XAxisLabel(\"Азимут\")][Title1(\"" +
           (azimuth ? "Азимут" : "Угол") + "\")][PolarPlotStyle(" + (azimuth ? "3" : "0") +
           ")][Scale(264)][ManualScale(0,0,360,1)][NumTicks(1," + (mainWindow ? "18" : "36") +
           ",5)][LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"" +
           (azimuth ? "Azimuth" : "Elevation") + "\")]";
}

// A pattern whose cut is already in the series: 4 angles, radii in columns 1 to 3.
void SetCut(GraphWorld<>& h) {
    DataSet& data = h.state.Loaded.Data;
    data.DataKind = KindFarField;
    data.DataText = "Data Loaded";
    SetSeries(data, 0, "Угол Места", {0.0f, 90.0f, 180.0f, 270.0f});
    SetSeries(data, 1, "Верт", {0.1f, 0.2f, 0.3f, 0.4f});
    SetSeries(data, 2, "Гориз", {0.5f, 0.6f, 0.7f, 0.8f});
    SetSeries(data, 3, "Общая", {0.9f, 1.0f, 0.9f, 0.8f});
    PatternResults& pattern = h.state.Loaded.Pattern;
    pattern.MaxGain = 10.0f;
    pattern.PlotFloor = -60.0f;
    pattern.PlotRange = 70.0f;
    pattern.MaxElevation = 15.0f;
    pattern.MaxAzimuth = 0.0f;
    pattern.BeamLeft = 337.5f;
    pattern.BeamRight = 22.5f;
    pattern.BeamWidth = 45.0f;
    h.state.View.PatternShown = true;
    h.state.View.CutKind = 1;
}

TEST(ShowPattern, DrawsBothDiagramsOfAFarFieldFileInEitherWindow) {
    for (const bool mainWindow : {true, false}) {
        GraphWorld<> h;
        h.state.View.PlotHost = mainWindow ? PlotHostKind::MainWindow : PlotHostKind::PolarWindow;
        ASSERT_TRUE(h.OpenTestData("farfield_below_horizon_30deg.csv"));
        ASSERT_EQ(h.api.plots.size(), 2U);
        EXPECT_EQ(h.api.plots[0].commands, PolarCommands(mainWindow, true, 1));
        EXPECT_EQ(h.api.plots[1].commands, PolarCommands(mainWindow, true, 2));
        // The azimuth cut closes the circle: 0 to 330 and the 360 copy. The elevation cut goes
        // round once, from straight down in front over the top to straight down behind.
        const FakePlotApi::PlotCall& azimuth = h.api.plots[0];
        const FakePlotApi::PlotCall& elevation = h.api.plots[1];
        EXPECT_EQ(azimuth.record.MaxPoints, 13);
        EXPECT_EQ(azimuth.x.front(), 0.0f);
        EXPECT_EQ(azimuth.x.back(), 360.0f);
        EXPECT_EQ(elevation.x.front(), -90.0f);
        EXPECT_EQ(elevation.x.back(), 270.0f);
        EXPECT_TRUE(h.view.Painted(1) && h.view.Painted(2) && !h.view.Painted(0));
        EXPECT_TRUE(h.messages.shown.empty());
        // Only the polar window adds the -3 dB circle (drawn round in PlotEngineTest), as the
        // third curve of each diagram.
        ASSERT_EQ(h.api.Count("AddData"), mainWindow ? 0 : 2);
        const std::string circle = "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]";
        using Sent = std::vector<std::pair<std::int32_t, std::string>>;
        EXPECT_EQ(h.api.commands, mainWindow ? Sent() : Sent({{1, circle}, {2, circle}}));
    }
}

TEST(ShowPattern, TheElevationCutIsDrawnInAngleOrderWithItsValues) {
    GraphWorld<> h;
    ASSERT_TRUE(h.OpenTestData("farfield_below_horizon_30deg.csv"));
    h.api.plots.clear();
    ASSERT_TRUE(ShowPattern(h.graph, 1, 3));
    ASSERT_EQ(h.api.plots.size(), 2U);
    // The series hold the cut as it was built: zenith to front horizon, then zenith to back
    // horizon. The document holds the same points, angle by angle.
    const DataSet& data = h.state.Loaded.Data;
    const FakePlotApi::PlotCall& call = h.api.plots[1];
    const std::size_t n = data.Series[0].Values.size();
    ASSERT_EQ(call.x.size(), n);
    EXPECT_TRUE(std::is_sorted(call.x.begin(), call.x.end()));
    EXPECT_FALSE(std::is_sorted(data.Series[0].Values.begin(), data.Series[0].Values.end()));
    for (std::size_t i = 0; i < n; ++i) {
        const float angle = data.Series[0].Values[i];
        const auto j = static_cast<std::size_t>(std::find(call.x.begin(), call.x.end(), angle) -
                                                call.x.begin());
        ASSERT_LT(j, n) << angle;
        EXPECT_EQ(call.y[j], data.Series[1].Values[i]) << angle;
        EXPECT_EQ(call.y[n + j], data.Series[3].Values[i]) << angle;
    }
}

TEST(ShowPattern, WithoutAnElevationCutTheElevationDiagramStaysEmptyAndSaysWhy) {
    // A grid of one zenith: the azimuth diagram alone.
    GraphWorld<> single;
    single.link.Slots[2].DocNum = 5; // an elevation diagram of the file before
    ASSERT_TRUE(single.OpenTestData("farfield_single_zenith.csv"));
    ASSERT_EQ(single.api.plots.size(), 1U);
    EXPECT_NE(single.api.plots[0].commands.find("[Caption(\"Azimuth\")]"), std::string::npos);
    EXPECT_EQ(single.link.Slots[2].DocNum, 0);
    EXPECT_TRUE(single.view.Painted(1));
    EXPECT_FALSE(single.view.Painted(2));
    EXPECT_EQ(single.MessageTexts(), std::vector<std::string>{std::string(kElevationMessage)});
    EXPECT_FALSE(single.state.Loaded.Pattern.ElevationCutAvailable);

    // A chosen elevation that is no zenith of the grid: nothing is drawn rather than the
    // leftovers of the cleared series.
    GraphWorld<> chosen;
    ASSERT_TRUE(chosen.OpenTestData("farfield_below_horizon_30deg.csv"));
    chosen.messages.shown.clear();
    chosen.state.Loaded.Sets = {{{"45", 0}}, 0};
    chosen.state.Loaded.Data.SelectedSetIndex = 0;
    chosen.state.View.SetChosen = true;
    EXPECT_FALSE(ShowPattern(chosen.graph, 1, 2));
    EXPECT_EQ(chosen.api.plots.size(), 2U); // only the two of the load
    EXPECT_EQ(chosen.link.Slots[1].DocNum, 0);
    EXPECT_EQ(chosen.link.Slots[2].DocNum, 0);
    EXPECT_EQ(chosen.MessageTexts(), std::vector<std::string>{std::string(kElevationMessage)});
}

TEST(ShowPattern, AChosenSetTakesTheCurvesFromTheLists) {
    GraphWorld<> h;
    ASSERT_TRUE(h.OpenTestData("farfield_below_horizon_30deg.csv"));
    // The elevation list holds 90, 60, 30, 0; the maximum lies at 30 degrees, pick 60.
    ASSERT_EQ(h.state.Loaded.Pattern.MaxElevation, 30.0f);
    ASSERT_EQ(h.state.Loaded.Sets.entries.at(1).text, "60");
    h.state.Loaded.Sets.selected = 1;
    struct Case {
        CurveChoice left, right;
        int curves;
        std::size_t firstColumn;
    };
    const Case cases[] = {
        {{2, 3}, {0, 0}, 1, 3},
        {{0, 1}, {3, 3}, 2, 1},
    };
    std::vector<std::vector<float>> drawn;
    for (const Case& c : cases) {
        h.view.SelectCurve(CurveList::Left, c.left);
        h.view.SelectCurve(CurveList::Right, c.right);
        h.api.plots.clear();
        // The pair handed over is ignored once a set is chosen: the lists are read afresh.
        PlotChosenCurves(h.graph, 1, 1);
        ASSERT_EQ(h.api.plots.size(), 2U) << c.firstColumn;
        EXPECT_EQ(h.state.View.SelectedSetText, "60");
        EXPECT_EQ(h.api.plots[0].record.NumCurves, c.curves) << c.firstColumn;
        EXPECT_EQ(h.api.plots[1].record.NumCurves, c.curves) << c.firstColumn;
        const std::vector<float>& y = h.api.plots[0].y;
        drawn.emplace_back(y.begin(), y.begin() + h.api.plots[0].record.MaxPoints);
    }
    // The first curve of each azimuth diagram is the chosen column of the cut at 60 degrees.
    h.state.View.CutKind = 1;
    ASSERT_TRUE(BuildCut(h.load, 0.0f, 60.0f).built);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(drawn[i], h.state.Loaded.Data.Series[cases[i].firstColumn].Values) << i;
    }
    EXPECT_EQ(h.view.Labels().AzElev, "60°");
}

TEST(PlotPolar, OneCurveGetsAOneCurveRecordWithoutBlue) {
    GraphWorld<> h;
    SetCut(h);
    ASSERT_TRUE(PlotPolar(h.graph, 3, 0, 1));
    const FakePlotApi::PlotCall& call = h.api.plots.at(0);
    EXPECT_EQ(call.commands, PolarCommands(true, false, 1));
    EXPECT_EQ(call.record.MaxCurves, 1);
    EXPECT_EQ(call.record.NumCurves, 1);
    EXPECT_EQ(call.y, (std::vector<float>{0.9f, 1.0f, 0.9f, 0.8f}));
    EXPECT_EQ(h.link.Slots[1].HasBitmap, 1);
    // Without data it says so.
    h.state.Loaded.Data.DataText.clear();
    EXPECT_FALSE(PlotPolar(h.graph, 1, 2, 1));
    EXPECT_EQ(h.api.plots.size(), 1U);
    EXPECT_EQ(h.messages.shown.size(), 1U); // its text is pinned in RectangularGraphTest
}

TEST(PlotPolar, OnlyTheElevationDiagramFillsTheResultLabels) {
    struct Case {
        int area;
        const char* separator;
        float maxGain;
        bool setChosen;
        PatternLabels labels;
    };
    const Case cases[] = {
        {2, ",", 7.35f, false, {"15°", "0°", "7,35", "15°", "337,5°", "22,5°", "45°"}},
        {2, ".", 7.356f, true, {"15°", "0°", "7.36", "12,5°", "337.5°", "22.5°", "45°"}},
        {1, ".", 7.35f, false, {}},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        SetCut(h);
        h.state.DecimalSeparator = c.separator;
        h.state.Loaded.Pattern.MaxGain = c.maxGain;
        h.state.View.SetChosen = c.setChosen;
        h.state.View.SelectedSetText = "12,5";
        ASSERT_TRUE(PlotPolar(h.graph, 1, 2, c.area));
        EXPECT_EQ(h.view.Labels(), c.labels) << c.labels.MaxTotal;
    }
}

TEST(BeamCircleRadius, IsTheMinus3dBLevelOnTheFourthPowerScale) {
    struct Case {
        float maxGain;
        float range;
        float radius;
    };
    const Case cases[] = {
        {10.0f, 70.0f, 0.8393f}, // (67/70)^4
        {-59.0f, 1.0f, 0.0f},    // below the floor: the centre, not folded outwards
        {10.0f, 0.0f, 0.0f},     // no range at all
    };
    for (const Case& c : cases) {
        AppState state;
        state.Loaded.Pattern.MaxGain = c.maxGain;
        state.Loaded.Pattern.PlotRange = c.range;
        state.Loaded.Pattern.PlotFloor = -60.0f;
        EXPECT_NEAR(BeamCircleRadius(state), c.radius, 0.0001f) << c.maxGain;
    }
}

} // namespace
} // namespace lobex::test
