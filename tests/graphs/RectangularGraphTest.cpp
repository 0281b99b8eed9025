#include "graphs/RectangularGraph.h"
#include "GraphWorld.h"

#include <gtest/gtest.h>

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

TEST(PlotXY, ScaleLimitsKeepThePointUnderADecimalComma) {
    GraphWorld<> h;
    LoadSweep(h);
    h.state.DecimalSeparator = ",";
    SetSeries(h.state.Loaded.Data, 1, "R Ohm", {1.8f, 2.5f, 3.25f, 0.125f});
    PlotXY(h.graph, 1, 2);
    EXPECT_NE(Commands(h).find("[ManualScale(14,0.125,14.35,3.25,-12.5,18)]"), std::string::npos)
        << Commands(h);
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
        ASSERT_EQ(static_cast<int>(h.messages.shown.size()), c.refusals) << c.name;
        for (const RecordedMessage& message : h.messages.shown) {
            EXPECT_EQ(message.text, kLogRefusedMessage) << c.name;
            EXPECT_EQ(message.icon, MessageIcon::Information) << c.name;
            EXPECT_EQ(message.caption, "Lobex") << c.name;
        }
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
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Нет данных"});
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Information);
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

} // namespace
} // namespace lobex::test
