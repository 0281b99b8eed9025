#include "GraphHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lobex::test {
namespace {

constexpr const char* kNotFound =
    "DPlot Jr не найден.\r\n"
    "Перед тем как использовать эту программу, скачайте и проинсталлируйте\r\n"
    "программу DPlot Jr c сайта http://www.dplot.com";
constexpr const char* kPlotFailed =
    "Ошибка построения графика.\r\nЗакройте и перестартуйте программу.";

using Answer = FakePlotApi::StartAnswer;

TEST(StartPlotter, FillsTheStartUpFieldsOfThePlotRecord) {
    GraphHarness h;
    ASSERT_TRUE(StartPlotter(h.link, h.state, h.messages));
    const DPLOT& record = h.link.Record;
    EXPECT_EQ(record.Version, 2);
    EXPECT_EQ(record.DataFormat, 2);
    EXPECT_EQ(record.MaxCurves, 2);
    EXPECT_EQ(record.NumCurves, 2);
    EXPECT_EQ(record.Scale, 1);
    EXPECT_EQ(record.LineType[0], 1);
    EXPECT_EQ(record.LineType[1], 1);
    // "Parameter", a zero character, then the blanks of a fixed-length field.
    EXPECT_EQ(std::memcmp(record.XAxis.data(), "Parameter\0 ", 11), 0);
    EXPECT_EQ(record.XAxis.back(), ' ');
    EXPECT_EQ(ReadTextField(record.XAxis), "Parameter");
    EXPECT_EQ(h.link.PlotterHandle, 1);
    EXPECT_EQ(h.api.startModes, std::vector<std::int32_t>{1});
}

TEST(StartPlotter, RetriesAsTheLinkRulesSay) {
    struct Case {
        const char* name;
        std::vector<Answer> answers;
        bool repeatLast;
        bool linked;
        int starts;
        int stops;
        int pumps;
    };
    const Case cases[] = {
        {"linked at once", {{1, 0}}, false, true, 1, 0, 0},
        {"linked after the one launch", {{0, 0}, {7, 0}}, false, true, 2, 0, 1},
        {"missing even after launching", {{0, 0}, {0, 0}}, false, false, 2, 0, 1},
        {"missing for good: one launch only", {{0, 0}}, true, false, 2, 0, 1},
        {"already running: stopped and asked again", {{1, 1}, {1, 0}}, false, true, 2, 1, 1},
        {"stopped, then missing after the launch", {{1, 1}, {0, 0}, {0, 0}}, false, false, 3, 1, 2},
        {"keeps answering as running: taken after the bound",
         {{1, 1}},
         true,
         true,
         kMostPlotterRestarts + 1,
         kMostPlotterRestarts,
         kMostPlotterRestarts},
    };
    for (const Case& c : cases) {
        GraphHarness h;
        h.api.startAnswers.assign(c.answers.begin(), c.answers.end());
        h.api.repeatLastStartAnswer = c.repeatLast;
        int pumps = 0;
        const bool linked = StartPlotter(h.link, h.state, h.messages, [&pumps] { ++pumps; });
        EXPECT_EQ(linked, c.linked) << c.name;
        EXPECT_EQ(h.api.Count("Start"), c.starts) << c.name;
        EXPECT_EQ(h.api.Count("Stop"), c.stops) << c.name;
        EXPECT_EQ(pumps, c.pumps) << c.name;
        EXPECT_EQ(h.link.PlotterHandle != 0, c.linked) << c.name;
        if (c.linked) {
            EXPECT_TRUE(h.messages.shown.empty()) << c.name;
        } else {
            ASSERT_EQ(h.messages.shown.size(), 1U) << c.name;
            EXPECT_EQ(h.messages.shown[0].text, kNotFound) << c.name;
            EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Critical) << c.name;
            EXPECT_EQ(h.messages.shown[0].caption, "Lobex") << c.name;
        }
    }
}

// Three slots holding documents 4, 0 and 9 with bitmaps.
void FillSlots(GraphHarness& h) {
    const std::int32_t documents[] = {4, 0, 9};
    for (int s = 0; s < kPlotSlotCount; ++s) {
        PlotSlot& slot = h.link.Slots[static_cast<std::size_t>(s)];
        slot.DocNum = documents[s];
        slot.HasBitmap = 1;
        slot.Bitmap.Width = slot.Bitmap.Height = slot.Bitmap.PixelWidth = slot.Bitmap.PixelHeight =
            1;
        slot.Bitmap.Pixels = {0xFF000000U};
    }
}

TEST(StopPlotter, ClearsTheEditFlagOfEachDocumentThenStops) {
    GraphHarness h;
    h.link.PlotterHandle = 1;
    FillSlots(h);
    StopPlotter(h.link);
    const std::vector<std::pair<std::int32_t, std::string>> expected = {{4, "[ClearEditFlag()]"},
                                                                        {9, "[ClearEditFlag()]"}};
    EXPECT_EQ(h.api.commands, expected);
    EXPECT_EQ(h.api.calls.back(), "Stop");
    EXPECT_EQ(h.link.PlotterHandle, 0);
    for (const PlotSlot& slot : h.link.Slots) {
        EXPECT_TRUE(slot.Bitmap.IsNull());
        EXPECT_EQ(slot.HasBitmap, 0);
        EXPECT_EQ(slot.DocNum, 0);
    }
}

TEST(StopPlotter, DoesNothingWhileTheEngineIsNotLinked) {
    GraphHarness h;
    FillSlots(h);
    StopPlotter(h.link);
    EXPECT_TRUE(h.api.calls.empty());
    EXPECT_EQ(h.link.Slots[0].DocNum, 4);
    EXPECT_FALSE(h.link.Slots[2].Bitmap.IsNull());
}

TEST(ClosePlot, ClosesTheDocumentDropsTheBitmapAndClearsThePicture) {
    struct Case {
        int slot;
        std::vector<std::pair<std::int32_t, std::string>> sent;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {0, {{4, "[FileClose()]"}}, {"clear 0", "menus off"}},
        {1, {}, {"clear 1", "menus off"}}, // no document: nothing is sent
        {2, {{9, "[FileClose()]"}}, {"hide fraPolar2", "clear 2", "menus off"}},
    };
    for (const Case& c : cases) {
        GraphHarness h;
        FillSlots(h);
        h.view.SetGraphMenusEnabled(true);
        h.view.events.clear();
        ClosePlot(h.graph, c.slot);
        const PlotSlot& slot = h.link.Slots[static_cast<std::size_t>(c.slot)];
        EXPECT_EQ(slot.DocNum, 0) << c.slot;
        EXPECT_EQ(slot.HasBitmap, 0) << c.slot;
        EXPECT_TRUE(slot.Bitmap.IsNull()) << c.slot;
        EXPECT_EQ(h.api.commands, c.sent) << c.slot;
        EXPECT_EQ(h.view.events, c.events) << c.slot;
        EXPECT_FALSE(h.view.GraphMenusEnabled()) << c.slot;
        // The other slots keep what they hold.
        const int other = (c.slot + 1) % kPlotSlotCount;
        EXPECT_EQ(h.link.Slots[static_cast<std::size_t>(other)].HasBitmap, 1) << c.slot;
    }
}

// A one-curve document ready to render: 3 points, one curve.
void PrepareDocument(GraphHarness& h) {
    h.link.XValues = {1.0f, 2.0f, 3.0f};
    h.link.Record.DataFormat = 2;
    h.link.Record.MaxPoints = 3;
    h.link.Record.NumCurves = 1;
    h.link.Record.NP[0] = 3;
    h.link.YValues = {5.0f, 6.0f, 7.0f};
    h.link.PlotCommands = "[Scale(1)]";
    h.link.Slots[0].ClientRect = PlotRect{0, 0, 320, 200};
    h.link.Slots[1].ClientRect = PlotRect{0, 0, 250, 240};
}

TEST(RenderPlot, FetchesABitmapOfTheClientSizeIntoTheSlot) {
    GraphHarness h;
    PrepareDocument(h);
    h.api.nextDocument = 12;
    ASSERT_TRUE(RenderPlot(h.graph, 0));
    ASSERT_EQ(h.api.plots.size(), 1U);
    EXPECT_EQ(h.api.plots[0].x, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(h.api.plots[0].y, (std::vector<float>{5.0f, 6.0f, 7.0f}));
    EXPECT_EQ(h.api.plots[0].commands, "[Scale(1)]");
    ASSERT_EQ(h.api.bitmaps.size(), 1U);
    EXPECT_EQ(h.api.bitmaps[0].document, 12);
    EXPECT_EQ(h.api.bitmaps[0].width, 320);
    EXPECT_EQ(h.api.bitmaps[0].height, 200);
    EXPECT_EQ(h.api.bitmaps[0].metricsSize, 36);
    const PlotSlot& slot = h.link.Slots[0];
    EXPECT_EQ(slot.DocNum, 12);
    EXPECT_EQ(slot.HasBitmap, 1);
    EXPECT_EQ(slot.Bitmap.Width, 320);
    EXPECT_EQ(slot.Metrics.Right, 310);
    EXPECT_TRUE(h.api.addData.empty());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(RenderPlot, ReportsARefusedDocumentAndLeavesTheSlotAlone) {
    struct Case {
        std::int32_t answer;
        const char* message;
    };
    const Case cases[] = {{0, kPlotFailed}, {-1, kNotFound}};
    for (const Case& c : cases) {
        GraphHarness h;
        PrepareDocument(h);
        h.state.PlotHost = PlotHostKind::PolarWindow;
        h.api.plotAnswer = c.answer;
        EXPECT_FALSE(RenderPlot(h.graph, 1)) << c.answer;
        EXPECT_TRUE(h.api.bitmaps.empty()) << c.answer;
        EXPECT_TRUE(h.api.addData.empty()) << c.answer; // no circle for a missing document
        EXPECT_EQ(h.link.Slots[1].DocNum, 0) << c.answer;
        EXPECT_EQ(h.link.Slots[1].HasBitmap, 0) << c.answer;
        ASSERT_EQ(h.messages.shown.size(), 1U) << c.answer;
        EXPECT_EQ(h.messages.shown[0].text, c.message) << c.answer;
        EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Critical) << c.answer;
    }
}

TEST(RenderPlot, KeepsAnOddNegativeDocumentWithoutBitmapAndSendsItNothing) {
    GraphHarness h;
    PrepareDocument(h);
    h.api.plotAnswer = -5;
    EXPECT_TRUE(RenderPlot(h.graph, 0));
    EXPECT_TRUE(h.api.bitmaps.empty());
    EXPECT_EQ(h.link.Slots[0].DocNum, -5);
    EXPECT_EQ(h.link.Slots[0].HasBitmap, 0);
    ClosePlot(h.graph, 0);
    EXPECT_TRUE(h.api.commands.empty());
}

TEST(RenderPlot, APictureBoxOfNoSizeGetsNoBitmapAndNoReadOut) {
    GraphHarness h;
    PrepareDocument(h);
    h.link.Slots[0].ClientRect = PlotRect{};
    EXPECT_TRUE(RenderPlot(h.graph, 0));
    EXPECT_EQ(h.link.Slots[0].DocNum, 1);
    EXPECT_EQ(h.link.Slots[0].HasBitmap, 0);
}

TEST(RenderPlot, RefusesArraysShorterThanTheRecordSays) {
    GraphHarness h;
    PrepareDocument(h);
    h.link.Record.NumCurves = 2; // but only one curve of values
    EXPECT_FALSE(RenderPlot(h.graph, 0));
    EXPECT_TRUE(h.api.plots.empty());
    ASSERT_EQ(h.messages.shown.size(), 1U);
    EXPECT_EQ(h.messages.shown[0].text, kPlotFailed);
}

TEST(RenderPlot, AddsTheBeamCircleOnlyToPolarDocumentsInThePolarWindow) {
    struct Case {
        PlotHostKind host;
        int slot;
        bool circle;
    };
    const Case cases[] = {
        {PlotHostKind::PolarWindow, 1, true},  {PlotHostKind::PolarWindow, 2, true},
        {PlotHostKind::PolarWindow, 0, false}, {PlotHostKind::MainWindow, 1, false},
        {PlotHostKind::MainWindow, 2, false},
    };
    for (const Case& c : cases) {
        GraphHarness h;
        PrepareDocument(h);
        h.state.PlotHost = c.host;
        h.state.Pattern.MaxGain = 10.0f;
        h.state.Pattern.PlotRange = 70.0f;
        ASSERT_TRUE(RenderPlot(h.graph, c.slot));
        EXPECT_EQ(h.api.addData.size(), c.circle ? 1U : 0U) << c.slot;
        if (c.circle) {
            // The circle goes in before the picture is taken.
            const std::vector<std::string> order = {"Plot", "AddData", "Command", "GetBitmap"};
            EXPECT_EQ(h.api.calls, order);
            EXPECT_EQ(h.api.addData[0].document, 1);
            EXPECT_EQ(h.api.addData[0].curve, 2);
        }
    }
}

} // namespace
} // namespace lobex::test
