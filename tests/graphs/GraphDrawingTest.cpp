#include "GraphWorld.h"
#include "core/FarField.h"
#include "core/Messages.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// The rectangular and polar graphs as the graph code hands them to the plot engine.
namespace lobex::test {
namespace {

using Sent = std::vector<std::pair<std::int32_t, std::string>>;

// A small frequency sweep: frequency, R, jX (negative at the low end), SWR.
void LoadSweep(GraphWorld<>& h) {
    DataSet& data = h.state.Loaded.Data;
    data.DataKind = KindSweep;
    data.DataText = "Data Loaded";
    SetSeries(data, 0, "Freq(MHz)", {14.0f, 14.1f, 14.2f, 14.35f});
    SetSeries(data, 1, "R Ohm", {22.5f, 24.0f, 26.25f, 30.0f});
    SetSeries(data, 2, "jX Ohm", {-12.5f, -3.0f, 4.0f, 18.0f});
    SetSeries(data, 3, "  SWR(50.0Om)  ", {2.25f, 1.5f, 1.1f, 1.8f});
}

const std::string& Commands(const GraphWorld<>& h) {
    return h.api.plots.back().commands;
}

TEST(PlotXY, ComposesTheCommandStringAndRecordTheEngineIsSent) {
    struct Case {
        int right;
        std::string commands;
        int maxCurves; // one curve leaves the record's MaxCurves as it was (here 1)
        std::vector<float> y;
    };
    const std::string fonts =
        "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)]"
        "[GridLineType(1,1)][AutoSize()]";
    const std::string rest =
        "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
        "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]"
        "[XAxisLabel(\"Частота, MHz\")][Title1(\"Частотные характеристики\")]"
        "[Scale(1)][LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"Lobex Data\")]";
    const Case cases[] = {
        {0, fonts + "[ManualScale(14,22.5,14.35,30)]" + rest, 1, {22.5f, 24.0f, 26.25f, 30.0f}},
        // The second axis label keeps its blanks.
        {3,
         fonts +
             "[SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"  SWR(50.0Om)  \")]"
             "[ManualScale(14,22.5,14.35,30,1.1,2.25)][Color(2,0,0,255)]" +
             rest,
         2,
         {22.5f, 24.0f, 26.25f, 30.0f, 2.25f, 1.5f, 1.1f, 1.8f}},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        LoadSweep(h);
        h.state.DecimalSeparator = ","; // the scale's limits keep their point
        h.link.Record.MaxCurves = 1;
        PlotXY(h.graph, 1, c.right);
        ASSERT_EQ(h.api.plots.size(), 1U);
        EXPECT_EQ(Commands(h), c.commands);
        const FakePlotApi::PlotCall& call = h.api.plots[0];
        EXPECT_EQ(call.record.NumCurves, c.right == 0 ? 1 : 2);
        EXPECT_EQ(call.record.MaxCurves, c.maxCurves);
        EXPECT_EQ(call.record.NP[static_cast<std::size_t>(call.record.NumCurves - 1)], 4);
        EXPECT_EQ(call.x, (std::vector<float>{14.0f, 14.1f, 14.2f, 14.35f}));
        EXPECT_EQ(call.y, c.y);
        EXPECT_EQ(ReadTextField(call.record.YAxis), "R Ohm");
    }
}

TEST(PlotXY, LogAxesFollowTheFlagsWhereTheDataAllowThemAndAreRefusedOncePerAxisElse) {
    struct Case {
        const char* name;
        int left, right;
        bool logX, logY;
        float xMin; // the first frequency
        bool xEnabled, yEnabled;
        bool logXAfter, logYAfter;
        int refusals;
        const char* scale;
    };
    const Case cases[] = {
        {"all above zero, both", 1, 3, true, true, 14.0f, true, true, true, true, 0, "[Scale(4)]"},
        {"negative Y column, log X asked", 2, 0, true, false, 14.0f, true, false, true, false, 0,
         "[Scale(3)]"},
        {"negative Y column, log Y asked", 2, 0, false, true, 14.0f, true, false, false, false, 1,
         "[Scale(1)]"},
        {"zero X, log X asked", 1, 0, true, false, 0.0f, false, true, false, false, 1,
         "[Scale(1)]"},
        {"only the second curve below zero", 1, 2, false, true, 14.0f, true, false, false, false, 1,
         "[Scale(1)]"},
        {"both curves below zero: told once", 2, 4, false, true, 14.0f, true, false, false, false,
         1, "[Scale(1)]"},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        LoadSweep(h);
        SetSeries(h.state.Loaded.Data, 4, "Ga(dBi)", {-1.0f, 2.0f, 3.0f, 4.0f});
        SetSeries(h.state.Loaded.Data, 0, "Freq(MHz)", {c.xMin, 14.1f, 14.2f, 14.35f});
        h.state.View.LogX = c.logX;
        h.state.View.LogY = c.logY;
        PlotXY(h.graph, c.left, c.right);
        EXPECT_EQ(h.view.Box(LogBox::X).enabled, c.xEnabled) << c.name;
        EXPECT_EQ(h.view.Box(LogBox::Y).enabled, c.yEnabled) << c.name;
        EXPECT_TRUE(h.view.Box(LogBox::X).visible && h.view.Box(LogBox::Y).visible) << c.name;
        EXPECT_EQ(h.state.View.LogX, c.logXAfter) << c.name;
        EXPECT_EQ(h.state.View.LogY, c.logYAfter) << c.name;
        if (c.refusals > 0) {
            EXPECT_FALSE(h.view.Box(LogBox::Y).ticked) << c.name;
        }
        const RecordedMessage refused{std::string(kLogRefusedMessage), MessageIcon::Information,
                                      "Lobex", ""};
        EXPECT_EQ(h.messages.shown, MessageList(c.refusals, refused)) << c.name;
        EXPECT_NE(Commands(h).find(c.scale), std::string::npos) << c.name;
    }
}

TEST(PlotXY, WithoutDataTellsSoAfterClosingTheGraph) {
    GraphWorld<> h;
    LoadSweep(h);
    h.state.Loaded.Data.DataText.clear();
    h.link.Slots[0].DocNum = 3;
    PlotXY(h.graph, 1, 0);
    EXPECT_TRUE(h.api.plots.empty());
    EXPECT_EQ(h.api.commands, (Sent{{3, "[FileClose()]"}}));
    EXPECT_EQ(h.messages.shown,
              (MessageList{{"Нет данных", MessageIcon::Information, "Lobex", ""}}));
}

TEST(PlotXY, EachRenderReplacesTheGraphAndSetsMenusPaintAndThe3DButton) {
    GraphWorld<> h;
    LoadSweep(h);
    h.view.SetSlotSize(0, 640, 330);
    PlotXY(h.graph, 1, 0);
    EXPECT_EQ(h.api.bitmaps.at(0).width, 640);
    EXPECT_EQ(h.api.bitmaps.at(0).height, 330);
    EXPECT_TRUE(h.view.GraphMenusEnabled());
    EXPECT_TRUE(h.view.Painted(0));
    EXPECT_EQ(h.view.pumps, 1);
    PlotXY(h.graph, 2, 0);
    EXPECT_EQ(h.api.commands, (Sent{{1, "[FileClose()]"}}));
    EXPECT_EQ(h.link.Slots[0].DocNum, 2);
    // A failed render disables the 3D button and the menus and paints nothing.
    h.api.plotAnswer = 0;
    h.view.button3D = true;
    PlotXY(h.graph, 1, 0);
    EXPECT_FALSE(h.view.button3D);
    EXPECT_FALSE(h.view.GraphMenusEnabled());
    EXPECT_FALSE(h.view.Painted(0));
    EXPECT_EQ(h.link.Slots[0].DocNum, 0);
}

TEST(ChooseCurvePair, ReadsTheTwoListsAsTheWindowDoes) {
    struct Case {
        CurveChoice left, right;
        int expectedLeft, expectedRight;
        bool reset;
    };
    const Case cases[] = {
        {{0, 1}, {0, 0}, 1, 0, false}, // both on their first entry
        {{2, 3}, {0, 0}, 3, 0, false},
        {{1, 2}, {2, 2}, 2, 0, true}, // the same column twice: drawn once
    };
    for (const Case& c : cases) {
        const CurvePair pair = ChooseCurvePair(c.left, c.right);
        EXPECT_EQ(pair.left, c.expectedLeft);
        EXPECT_EQ(pair.right, c.expectedRight);
        EXPECT_EQ(pair.resetRight, c.reset);
    }
    // Without a pattern the pair gets the rectangular graph.
    GraphWorld<> h;
    LoadSweep(h);
    PlotChosenCurves(h.graph, 1, 2);
    ASSERT_EQ(h.api.plots.size(), 1U);
    EXPECT_NE(Commands(h).find("[Caption(\"Lobex Data\")]"), std::string::npos);
    EXPECT_FALSE(h.state.View.SetChosen);
}

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
    // The maximum of 10 dBi at elevation 15, azimuth 0; the beam 45° wide from 337.5 to 22.5;
    // drawn from -60 dBi over 70 dB.
    h.state.Loaded.Pattern = {{15.0f, 0.0f, 10.0f, 45.0f, 337.5f, 22.5f}, -60.0f, 70.0f};
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
        // The azimuth diagram closes its circle with the 360 copy; the elevation one goes round
        // once, from straight down in front over the top to straight down behind.
        EXPECT_EQ(h.api.plots[0].x.back(), 360.0f);
        EXPECT_EQ(h.api.plots[1].x.front(), -90.0f);
        EXPECT_EQ(h.api.plots[1].x.back(), 270.0f);
        EXPECT_TRUE(h.view.Painted(1) && h.view.Painted(2) && !h.view.Painted(0));
        EXPECT_TRUE(h.messages.shown.empty());
        // Only the polar window adds the -3 dB circle (drawn round in the plotter tests), as the
        // third curve of each diagram.
        ASSERT_EQ(h.api.Count("AddData"), mainWindow ? 0 : 2);
        const std::string circle = "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]";
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
    EXPECT_EQ(single.messages.Texts(), std::vector<std::string>{std::string(kElevationMessage)});
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
    EXPECT_EQ(chosen.messages.Texts(), std::vector<std::string>{std::string(kElevationMessage)});
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
    EXPECT_EQ(h.messages.shown.size(), 1U); // its text is pinned with PlotXY's
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
