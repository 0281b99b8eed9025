#include "GraphWorld.h"
#include "graphs/GraphCommands.h"
#include "graphs/GraphOutput.h"
#include "graphs/PlotApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace lobex::test {
namespace {

constexpr const char* kNotFound =
    "DPlot Jr не найден.\r\n"
    "Перед тем как использовать эту программу, скачайте и проинсталлируйте\r\n"
    "программу DPlot Jr c сайта http://www.dplot.com";
constexpr const char* kPlotFailed =
    "Ошибка построения графика.\r\nЗакройте и перестартуйте программу.";

using Answer = FakePlotApi::StartAnswer;
using Sent = std::vector<std::pair<std::int32_t, std::string>>;

TEST(StartPlotter, FillsTheRecordAndRetriesAsTheLinkRulesSay) {
    struct Case {
        const char* name;
        std::vector<Answer> answers;
        bool repeatLast;
        bool linked;
        int starts, stops, pumps;
    };
    const Case cases[] = {
        {"linked at once", {{1, 0}}, false, true, 1, 0, 0},
        {"linked after the one launch", {{0, 0}, {7, 0}}, false, true, 2, 0, 1},
        {"missing for good: one launch only", {{0, 0}}, true, false, 2, 0, 1},
        {"already running: stopped and asked again", {{1, 1}, {1, 0}}, false, true, 2, 1, 1},
        {"stopped, then missing after the launch", {{1, 1}, {0, 0}, {0, 0}}, false, false, 3, 1, 2},
        // Would loop for ever without the bound.
        {"keeps answering as running: taken after the bound",
         {{1, 1}},
         true,
         true,
         kMostPlotterRestarts + 1,
         kMostPlotterRestarts,
         kMostPlotterRestarts},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        h.api.startAnswers.assign(c.answers.begin(), c.answers.end());
        h.api.repeatLastStartAnswer = c.repeatLast;
        int pumps = 0;
        EXPECT_EQ(StartPlotter(h.link, h.state, h.messages, [&pumps] { ++pumps; }), c.linked)
            << c.name;
        EXPECT_EQ(h.api.Count("Start"), c.starts) << c.name;
        EXPECT_EQ(h.api.Count("Stop"), c.stops) << c.name;
        EXPECT_EQ(pumps, c.pumps) << c.name;
        EXPECT_EQ(h.link.PlotterHandle != 0, c.linked) << c.name;
        const MessageList told{{kNotFound, MessageIcon::Critical, "Lobex", ""}};
        EXPECT_EQ(h.messages.shown, c.linked ? MessageList{} : told) << c.name;
        EXPECT_EQ(h.api.startModes.front(), 1);
    }
    // The record the documents start from. Both curves solid: a one-curve graph drawn first sets
    // no line type of its own. "Parameter", a zero character, then the blanks of the field.
    GraphWorld<> h;
    ASSERT_TRUE(StartPlotter(h.link, h.state, h.messages));
    const DPLOT& record = h.link.Record;
    EXPECT_EQ(record.LineType[1], 1);
    EXPECT_EQ(ReadTextField(record.XAxis), "Parameter");
}

// Three slots holding documents 4, 0 and 9 with bitmaps.
void FillSlots(GraphWorld<>& h) {
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

TEST(StopPlotter, ClearsTheEditFlagOfEachDocumentThenStopsOnlyWhenLinked) {
    GraphWorld<> h;
    FillSlots(h);
    StopPlotter(h.link); // not linked: nothing
    EXPECT_TRUE(h.api.calls.empty());
    EXPECT_EQ(h.link.Slots[0].DocNum, 4);
    h.link.PlotterHandle = 1;
    StopPlotter(h.link);
    EXPECT_EQ(h.api.commands, (Sent{{4, "[ClearEditFlag()]"}, {9, "[ClearEditFlag()]"}}));
    EXPECT_EQ(h.api.calls.back(), "Stop");
    EXPECT_EQ(h.link.PlotterHandle, 0);
    for (const PlotSlot& slot : h.link.Slots) {
        EXPECT_TRUE(slot.Bitmap.IsNull() && slot.HasBitmap == 0 && slot.DocNum == 0);
    }
}

TEST(ClosePlot, ClosesTheDocumentDropsTheBitmapAndClearsThePicture) {
    for (int closed = 0; closed < kPlotSlotCount; ++closed) {
        GraphWorld<> h;
        FillSlots(h);
        for (int slot = 0; slot < kPlotSlotCount; ++slot) {
            h.view.PaintSlot(slot); // the second polar area shows its result frame too
        }
        h.view.SetGraphMenusEnabled(true);
        ClosePlot(h.graph, closed);
        // Only a slot with a document is sent the command (slot 1 holds none).
        EXPECT_EQ(h.link.Slots[static_cast<std::size_t>(closed)].DocNum, 0) << closed;
        EXPECT_EQ(h.api.commands,
                  (closed == 1 ? Sent{} : Sent{{closed == 0 ? 4 : 9, "[FileClose()]"}}));
        for (int slot = 0; slot < kPlotSlotCount; ++slot) {
            const PlotSlot& after = h.link.Slots[static_cast<std::size_t>(slot)];
            EXPECT_EQ(after.HasBitmap == 1, slot != closed) << closed << " " << slot;
            EXPECT_EQ(after.Bitmap.IsNull(), slot == closed) << closed << " " << slot;
            EXPECT_EQ(h.view.Painted(slot), slot != closed) << closed << " " << slot;
        }
        EXPECT_EQ(h.view.PolarResultsShown(), closed != kElevationSlot);
        EXPECT_FALSE(h.view.GraphMenusEnabled());
    }
}

// A one-curve document of three points ready to render.
void PrepareDocument(GraphWorld<>& h) {
    h.link.XValues = {1.0f, 2.0f, 3.0f};
    h.link.YValues = {5.0f, 6.0f, 7.0f};
    h.link.Record.DataFormat = 2;
    h.link.Record.MaxPoints = 3;
    h.link.Record.NumCurves = 1;
    h.link.Record.NP[0] = 3;
    h.link.PlotCommands = "[Scale(1)]";
    h.link.Slots[0].ClientRect = PlotRect{0, 0, 320, 200};
}

TEST(RenderPlot, ABitmapOfTheClientSizeOrTheMessageForTheEnginesAnswer) {
    struct Case {
        const char* name;
        std::int32_t answer;
        int numCurves;
        PlotRect rect;
        bool rendered;
        const char* message;
        std::int32_t docNum;
        int hasBitmap;
    };
    const PlotRect box{0, 0, 320, 200};
    const Case cases[] = {
        {"a document", 12, 1, box, true, nullptr, 12, 1},
        {"refused", 0, 1, box, false, kPlotFailed, 0, 0},
        {"not available", -1, 1, box, false, kNotFound, 0, 0},
        // Kept, but no bitmap is fetched and later commands are not sent.
        {"an odd negative number", -5, 1, box, true, nullptr, -5, 0},
        // The read-outs must not use the metrics of a picture that does not exist.
        {"a picture box of no size", 1, 1, PlotRect{}, true, nullptr, 1, 0},
        // Two curves in the record but one curve of values: never handed over.
        {"arrays shorter than the record says", 1, 2, box, false, kPlotFailed, 0, 0},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        PrepareDocument(h);
        h.state.View.PlotHost = PlotHostKind::PolarWindow;
        h.api.plotAnswer = c.answer;
        h.link.Record.NumCurves = c.numCurves;
        h.link.Slots[1].ClientRect = c.rect;
        EXPECT_EQ(RenderPlot(h.graph, 1), c.rendered) << c.name;
        EXPECT_EQ(h.link.Slots[1].DocNum, c.docNum) << c.name;
        EXPECT_EQ(h.link.Slots[1].HasBitmap, c.hasBitmap) << c.name;
        if (c.hasBitmap == 1) {
            ASSERT_EQ(h.api.bitmaps.size(), 1U);
            EXPECT_EQ(h.api.bitmaps[0].width, 320);
            EXPECT_EQ(h.link.Slots[1].Metrics.Right, 310); // as the engine filled them
        }
        EXPECT_EQ(h.api.Count("AddData"), c.docNum > 0 ? 1 : 0) << c.name; // circle: documents only
        const MessageList told{{c.message ? c.message : "", MessageIcon::Critical, "Lobex", ""}};
        EXPECT_EQ(h.messages.shown, c.message ? told : MessageList{}) << c.name;
        ClosePlot(h.graph, 1);
        EXPECT_EQ(h.api.commands.size(), c.docNum > 0 ? 2U : 0U) << c.name; // circle and close
    }
}

// A picture box that changed size gets its document drawn again at that size, and only then.
TEST(RefitSlot, RendersTheDocumentAgainOnlyForANewSizeOfABoxWithADocument) {
    struct Case {
        const char* name;
        std::int32_t docNum;
        PlotRect rect;
        bool refitted;
    };
    const PlotRect drawn{0, 0, 320, 200};
    const Case cases[] = {
        {"a larger box", 4, PlotRect{0, 0, 640, 480}, true},
        {"the size it was drawn at", 4, drawn, false},
        {"a box of no size", 4, PlotRect{0, 0, 0, 480}, false},
        {"no document", 0, PlotRect{0, 0, 640, 480}, false},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        PlotSlot& slot = h.link.Slots[0];
        slot.DocNum = c.docNum;
        slot.ClientRect = drawn;
        slot.HasBitmap = 1;
        slot.Metrics.Right = 310;
        EXPECT_EQ(RefitSlot(h.link, 0, c.rect), c.refitted) << c.name;
        EXPECT_EQ(h.api.bitmaps.size(), c.refitted ? 1U : 0U) << c.name;
        EXPECT_EQ(slot.ClientRect, c.refitted ? c.rect : drawn) << c.name;
        EXPECT_EQ(slot.Metrics.Right, c.refitted ? c.rect.Width() - 10 : 310) << c.name;
        if (c.refitted) {
            EXPECT_EQ(h.api.bitmaps[0].document, c.docNum);
            EXPECT_EQ(slot.Bitmap.Width, c.rect.Width()) << c.name;
        }
    }
}

// The curves kept for the read-outs are those of the record's arrays, each its own points.
TEST(CurvesOfLastPlot, TakesEachCurvesPointsFromTheSharedArrays) {
    GraphWorld<> h;
    h.link.XValues = {1.0f, 2.0f, 3.0f};
    h.link.YValues = {5.0f, 6.0f, 7.0f, 50.0f, 60.0f, 0.0f};
    h.link.Record.MaxPoints = 3;
    h.link.Record.NumCurves = 2;
    h.link.Record.NP[0] = 3;
    h.link.Record.NP[1] = 2; // fewer points than the stride
    const DrawnCurves drawn = CurvesOfLastPlot(h.link, {{"R", 1, {}}, {"j X", 2, {}}});
    EXPECT_EQ(drawn.x, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    ASSERT_EQ(drawn.curves.size(), 2U);
    EXPECT_EQ(drawn.curves[0].y, (std::vector<float>{5.0f, 6.0f, 7.0f}));
    EXPECT_EQ(drawn.curves[1].y, (std::vector<float>{50.0f, 60.0f}));
    EXPECT_EQ(drawn.curves[1].column, 2);
    // Arrays shorter than the record give nothing to read.
    h.link.YValues.resize(4);
    EXPECT_TRUE(CurvesOfLastPlot(h.link, {{"R", 1, {}}, {"j X", 2, {}}}).curves.empty());
}

using Output = std::function<bool(PlotLink&, const AppState&)>;

constexpr std::int32_t kGraphDoc = 11;
constexpr std::int32_t kAzimuthDoc = 12;
constexpr std::int32_t kElevationDoc = 13;

constexpr const char* kNote735 = "[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]";

// A graph, or both diagrams of a pattern whose maximum gain is 7.35 dBi, ready to leave.
void Prepare(GraphWorld<>& h, bool pattern, const char* decimal = ".") {
    h.state.View.PatternShown = pattern;
    h.state.Loaded.Pattern.MaxGain = 7.35f;
    h.state.DecimalSeparator = decimal;
    h.link.Slots[kMainSlot].DocNum = pattern ? 0 : kGraphDoc;
    h.link.Slots[kAzimuthSlot].DocNum = pattern ? kAzimuthDoc : 0;
    h.link.Slots[kElevationSlot].DocNum = pattern ? kElevationDoc : 0;
}

Output Copy(int chosen) {
    return [chosen](PlotLink& link, const AppState& state) {
        return CopyGraph(link, state, chosen);
    };
}
Output Print() {
    return [](PlotLink& link, const AppState& state) {
        return PrintGraph(link, state, "/data/yagi.csv");
    };
}
Output Save(const char* format, std::string path, int chosen = 0) {
    return [=](PlotLink& link, const AppState& state) {
        return SaveGraphAs(link, state, chosen, format, path);
    };
}

// Each output goes to the document that leaves with its command string; nothing sent, a missing
// document or a refused command is a failure.
TEST(GraphOutput, EachCommandGoesToTheDocumentThatLeavesWithItsCommandString) {
    struct Case {
        const char* name;
        bool pattern;
        Output output;
        Sent sent;
        std::int32_t answer = 1; // the engine's answer to each command
        int missingSlot = -1;    // a slot whose document is gone
        const char* decimal = ".";
    };
    const std::string note = kNote735, lw = "[LineWidth(-2,10)]", dims = "[SetMetafileDims(5,3)]";
    const std::string commaCopy =
        "[NoteText(\"7,35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]" + lw + "[CopyPicture()]";
    // The print heading: the file's name (a pattern's figures are read back from the page in the
    // window test).
    const std::string printed = R"([PrintHeading()][PrintHeading("yagi.csv")])" + lw +
                                "[FilePageSetup(0.5,0.5,0.5,0.5)][FilePrint(1)]";
    const std::string copied = dims + "[CopyPicture()]";
    const std::string pdf = dims + "[FileSaveAs(4099,\"C:\\Графики\\g.pdf\")]";
    const std::string emf = note + lw + "[SetMetafileDims(3.3,3.3)][FileSaveAs(4097,\"e.emf\")]";
    const std::string refusedPdf =
        note + lw + "[SetMetafileDims(3.3,3.3)][FileSaveAs(4099,\"d.pdf\")]";
    const Case cases[] = {
        {"graph copied", false, Copy(0), {{kGraphDoc, copied}}},
        {"decimal comma", true, Copy(2), {{kElevationDoc, commaCopy}}, 1, -1, ","},
        {"no diagram chosen: nothing to copy", true, Copy(0), {}},
        {"graph printed", false, Print(), {{kGraphDoc, printed}}},
        {"graph saved as PDF", false, Save("pdf", "C:\\Графики\\g.pdf"), {{kGraphDoc, pdf}}},
        {"elevation saved with its note", true, Save("emf", "e.emf", 2), {{kElevationDoc, emf}}},
        {"a bitmap is no engine output", false, Save("png", "g.png"), {}},
        {"copy without a graph", false, Copy(0), {}, 1, kMainSlot},
        {"copy refused", false, Copy(0), {{kGraphDoc, copied}}, 0},
        {"print failed or cancelled", false, Print(), {{kGraphDoc, printed}}, 0},
        {"print without the elevation: not even the note", true, Print(), {}, 1, kElevationSlot},
        {"print stops when the note is refused", true, Print(), {{kAzimuthDoc, note + lw}}, 0},
        {"save refused", true, Save("pdf", "d.pdf", 1), {{kAzimuthDoc, refusedPdf}}, 0},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        Prepare(h, c.pattern, c.decimal);
        if (c.missingSlot >= 0) {
            h.link.Slots[static_cast<std::size_t>(c.missingSlot)].DocNum = 0;
        }
        h.api.commandAnswer = c.answer;
        EXPECT_EQ(c.output(h.link, h.state), !c.sent.empty() && c.answer != 0) << c.name;
        EXPECT_EQ(h.api.commands, c.sent) << c.name;
        EXPECT_TRUE(h.messages.shown.empty()) << c.name;
    }
}

TEST(PlotRecordFields, TextIsCutBetweenCharactersPaddedWithBlanksAndReadUpToAZero) {
    DPLOT plot;
    SetTextField(plot.YAxis, "SWR(50.0Om)");
    EXPECT_EQ(std::string(plot.YAxis.data(), 12), "SWR(50.0Om) ");
    EXPECT_EQ(plot.YAxis.back(), ' ');
    EXPECT_EQ(ReadTextField(plot.YAxis), "SWR(50.0Om)");
    // 79 ASCII letters then a two-byte Cyrillic letter: only its first byte would fit.
    SetTextField(plot.YAxis, std::string(79, 'a') + "Ж");
    EXPECT_EQ(plot.YAxis[79], ' ');
    EXPECT_EQ(ReadTextField(plot.YAxis), std::string(79, 'a'));
    // Reading stops at a zero and decodes UTF-8, else Windows-1251.
    const std::pair<std::string, std::string> cases[] = {
        {std::string("Parameter\0 x", 12), "Parameter"},
        // As an older writer would leave it: the last letter's first byte only.
        {std::string("Угол", 7), "Уго"},
        {"\xD3\xE3\xEE\xEB", "Угол"},
    };
    for (const auto& [bytes, text] : cases) {
        std::array<char, 12> field{};
        std::memcpy(field.data(), bytes.data(), bytes.size());
        EXPECT_EQ(ReadTextField(field), text);
    }
}

// A quote the engine would take as the end of the text becomes U+201D ("\u201D"); every other
// character stays as it is.
TEST(GraphCommands, ATextArgumentCannotEndEarlyOrStartAnotherCommand) {
    struct Case {
        const char* name;
        const char* text;
        const char* quoted;
        bool whole;
    };
    const Case cases[] = {
        {"plain", "Частота, МГц", "\"Частота, МГц\"", true},
        {"empty", "", "\"\"", true},
        {"quotes inside a word", R"(R "a" [Ом])", R"("R "a" [Ом]")", true},
        {"brackets and parentheses", "a)][b(c)", "\"a)][b(c)\"", true},
        {"a quote last", "inch\"", "\"inch\"\"", true},
        {"a quote before a comma", "a\",b", "\"a\u201D,b\"", false},
        {"a quote before a parenthesis", "Gain (\"dBi\")", "\"Gain (\"dBi\u201D)\"", false},
        {"blanks between", "a\" \t\r\n)", "\"a\u201D \t\r\n)\"", false},
        {"a second command", "a.emf\")][FileSaveAs(4097,\"injected.emf",
         "\"a.emf\u201D)][FileSaveAs(4097,\"injected.emf\"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(graphs::Quoted(c.text), c.quoted) << c.name;
        EXPECT_EQ(graphs::QuotesWhole(c.text), c.whole) << c.name;
    }
}

} // namespace
} // namespace lobex::test
