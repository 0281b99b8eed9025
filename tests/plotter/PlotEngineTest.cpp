#include "plotter/PlotEngine.h"
#include "GraphWorld.h"
#include "plotter/CommandParser.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <tuple>
#include <utility>

namespace lobex::plotter {
namespace {

using lobex::test::MakeRecord;

class PlotEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(engine.DPlot_Start(1, nullptr), 0);
        engine.SetDecimalSeparator(".");
    }

    // A two-curve document of five points: y = x and y = 10 x.
    std::int32_t PlotTwoCurves(const std::string& commands = "[Caption(\"Lobex Data\")]") {
        DPLOT record = MakeRecord(2, 5, "SWR");
        SetTextField(record.Title1, "Record title");
        return engine.DPlot_Plot(record, x.data(), y.data(), commands);
    }

    const PlotDocument& Document(std::int32_t number) {
        const PlotDocument* document = engine.FindDocument(number);
        EXPECT_NE(document, nullptr);
        static const PlotDocument empty;
        return document != nullptr ? *document : empty;
    }

    PlotEngine engine;
    std::vector<float> x{1, 2, 3, 4, 5};
    std::vector<float> y{1, 2, 3, 4, 5, 10, 20, 30, 40, 50};
};

TEST(PlotEngineLink, StartLinksStopDropsEveryDocument) {
    PlotEngine engine;
    const DPLOT record = MakeRecord(1, 2);
    const float values[] = {1, 2};
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1); // not started
    std::int32_t wasActive = -1;
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 0);
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 1);
    const std::int32_t first = engine.DPlot_Plot(record, values, values, "");
    EXPECT_GT(first, 0);
    engine.DPlot_Stop();
    EXPECT_EQ(engine.FindDocument(first), nullptr);
    EXPECT_EQ(engine.DPlot_Command(first, "[AutoSize()]"), 0);
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1);
}

TEST_F(PlotEngineTest, TheRecordGivesCurvesAndStartingLabels) {
    DPLOT record = MakeRecord(2, 5, "SWR");
    record.NP[1] = 3; // fewer points than the stride
    SetTextField(record.Title1, "Record title");
    const PlotDocument& document = Document(engine.DPlot_Plot(record, x.data(), y.data(), ""));
    ASSERT_EQ(document.curves.size(), 2U);
    EXPECT_EQ(document.curves[0].x, x);
    EXPECT_EQ(document.curves[1].x, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(document.curves[0].y, (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(document.curves[1].y, (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(document.xLabel, "Parameter");
    EXPECT_EQ(document.yLabel, "SWR");
    EXPECT_EQ(document.title1, "Record title");
    // Curve 1 is red; curve 2 is blue only when a Color command says so.
    EXPECT_EQ(document.styles[0].color, (Rgb{255, 0, 0}));
    EXPECT_NE(document.styles[1].color, (Rgb{0, 0, 255}));
}

TEST_F(PlotEngineTest, RefusesRecordsAndPlotStringsItCannotUse) {
    const auto refused = [this](const char* name, const std::function<void(DPLOT&)>& spoil) {
        DPLOT record = MakeRecord(2, 5);
        spoil(record);
        EXPECT_EQ(engine.DPlot_Plot(record, x.data(), y.data(), ""), 0) << name;
    };
    refused("data format 0", [](DPLOT& r) { r.DataFormat = 0; });
    refused("21 curves", [](DPLOT& r) { r.NumCurves = 21; });
    refused("curve without points", [](DPLOT& r) { r.NP[1] = 0; });
    refused("curve longer than the stride", [](DPLOT& r) { r.NP[0] = 6; });
    const DPLOT record = MakeRecord(2, 5);
    EXPECT_EQ(engine.DPlot_Plot(record, nullptr, y.data(), ""), 0);
    for (const char* commands : {"[AutoSize()", "[Frobnicate()]", "[AutoSize()][FileClose()]"}) {
        EXPECT_EQ(PlotTwoCurves(commands), 0) << commands;
        EXPECT_FALSE(engine.LastError().empty()) << commands;
    }
}

TEST_F(PlotEngineTest, EditFlagFollowsChangesClearEditFlagAndFileClose) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_TRUE(Document(number).edited);
    engine.DPlot_Command(number, "[ClearEditFlag()]");
    EXPECT_FALSE(Document(number).edited);
    // Any change sets it again; command names ignore case.
    EXPECT_GT(engine.DPlot_Command(number, "[setmetafiledims(4,2)][COLOR(1,1,2,3)]"), 0);
    EXPECT_EQ(Document(number).styles[0].color, (Rgb{1, 2, 3}));
    EXPECT_TRUE(Document(number).edited);
    EXPECT_GT(engine.DPlot_Command(number, "[FileClose()]"), 0);
    EXPECT_EQ(engine.FindDocument(number), nullptr);
    EXPECT_EQ(engine.DPlot_Command(number, "[ClearEditFlag()]"), 0);
}

TEST_F(PlotEngineTest, RefusedCommandsChangeNothing) {
    const std::vector<std::string> refused = {
        "[Frobnicate()]", "[FontPoints(1,0)]", "[Size(1,0,2,0)]", "[ManualScale(1,2,3)]",
        "[SelectCurve(21)]", "[Color(2,0,0,256)]", "[Scale(5)]", "[NumTicks(4,18,5)]",
        "[LineWidth(0,10)]", "[NotePosition(0.0,1.0)]" /* no note yet */, "[SetMetafileDims(0,3)]",
        "[FileSaveAs(4100,\"x.bin\")]", "[AutoSize()",
        // A good command before a bad one is not carried out either.
        "[Color(1,0,255,0)][Title1(\"new\")][Scale(5)]"};
    for (const std::string& command : refused) {
        const std::int32_t number = PlotTwoCurves();
        EXPECT_EQ(engine.DPlot_Command(number, command), 0) << command;
        EXPECT_FALSE(engine.LastError().empty()) << command;
        EXPECT_EQ(Document(number).styles[0].color, (Rgb{255, 0, 0})) << command;
        EXPECT_EQ(Document(number).title1, "Record title") << command;
    }
    for (const std::int32_t missing : {0, -1, 12345}) {
        EXPECT_EQ(engine.DPlot_Command(missing, "[AutoSize()]"), 0) << missing;
    }
}

TEST_F(PlotEngineTest, AddDataAppendsOrReplacesACurveAndIgnoresWhatItCannotUse) {
    const std::int32_t number = PlotTwoCurves();
    const float values[] = {1, 2, 3};
    engine.DPlot_AddData(number, 0, 3, 4, values, values);  // a gap after curve 2
    engine.DPlot_AddData(number, 0, 3, 0, values, values);  // no curve 0
    engine.DPlot_AddData(number, 0, 3, 3, nullptr, values); // no X array
    engine.DPlot_AddData(number + 100, 0, 3, 3, values, values);
    EXPECT_EQ(Document(number).curves.size(), 2U);

    std::vector<float> angles(360), radii(360, 0.839f);
    for (int a = 0; a < 360; ++a) {
        angles[static_cast<std::size_t>(a)] = static_cast<float>(a);
    }
    engine.DPlot_AddData(number, 0, 360, 3, angles.data(), radii.data());
    ASSERT_EQ(Document(number).curves.size(), 3U);
    EXPECT_EQ(Document(number).curves[2].x, angles);
    EXPECT_EQ(Document(number).curves[2].y, radii);
    engine.DPlot_AddData(number, 0, 360, 1, angles.data(), radii.data());
    EXPECT_EQ(Document(number).curves[0].y, radii);
    EXPECT_EQ(Document(number).curves.size(), 3U);
}

TEST_F(PlotEngineTest, BitmapsHaveTheAskedSizeAndMetricsInThoseUnits) {
    const std::int32_t number = PlotTwoCurves();
    PlotMetrics metrics;
    const PlotBitmap odd = engine.DPlot_GetBitmapEx(number, 257, 263, metrics);
    EXPECT_EQ(odd.PixelWidth, 257);
    EXPECT_EQ(odd.PixelHeight, 263);
    EXPECT_EQ(odd.Pixels.size(), 257U * 263U);
    EXPECT_LT(metrics.Left, metrics.Right);
    PlotMetrics plain;
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 0, 100, plain).IsNull());
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 100000, 100, plain).IsNull());
}

// A document of fixed size: its bitmaps fill their size once asked to, and only its bitmaps;
// a copy still has the fixed plotting area.
TEST_F(PlotEngineTest, BitmapsFillTheirAreaOnlyWhenAskedAndCopiesKeepTheFixedSize) {
    const std::int32_t number = PlotTwoCurves("[Size(1,2,1.5,0)]");
    const auto frameWidth = [this, number](int width, int height) {
        PlotMetrics metrics;
        engine.DPlot_GetBitmapEx(number, width, height, metrics);
        return metrics.Right - metrics.Left;
    };
    EXPECT_NEAR(frameWidth(800, 600), 192, 1);
    EXPECT_NEAR(frameWidth(1200, 900), 192, 1);
    engine.SetBitmapsFillArea(true);
    const int filled = frameWidth(800, 600);
    EXPECT_GT(filled, 600);
    EXPECT_GT(frameWidth(1200, 900), filled);
    PlotMetrics copy;
    ASSERT_FALSE(engine.RenderDocumentImage(number, 800, 600, &copy).isNull());
    EXPECT_NEAR(copy.Right - copy.Left, 192, 1);
}

// Re Γ and Im Γ over a square, whatever the shape of the picture: its read-outs use the
// metrics as a rectangular graph's.
TEST_F(PlotEngineTest, ASmithChartIsSquareInAnyPicture) {
    const DPLOT record = MakeRecord(1, 2);
    const float re[] = {0.0f, 0.5f};
    const float im[] = {0.0f, 0.2f};
    const std::int32_t document =
        engine.DPlot_Plot(record, re, im, "[Scale(12)][SwrCircle(2,\"SWR 2\")]");
    ASSERT_GT(document, 0);
    for (const auto& [width, height] : {std::pair{600, 300}, std::pair{300, 600}}) {
        PlotMetrics m;
        ASSERT_FALSE(engine.DPlot_GetBitmapEx(document, width, height, m).IsNull());
        EXPECT_EQ(m.Right - m.Left, m.Bottom - m.Top);
        EXPECT_GT(m.Left, 0);
        EXPECT_LT(m.Right, width);
        EXPECT_LT(m.Bottom, height);
        EXPECT_EQ(std::tuple(m.XLo, m.YLo, m.XHi, m.YHi), std::tuple(-1.0f, -1.0f, 1.0f, 1.0f));
    }
    EXPECT_EQ(engine.DPlot_Command(document, "[SwrCircle(0.5)]"), 0); // no SWR below 1
}

// The commands as read: Name(args) each, numbers as numbers, texts in <>, omitted ones as _.
std::string Describe(const ParseResult& result) {
    std::ostringstream out;
    for (const PlotCommand& command : result.commands) {
        out << command.name << '(';
        for (std::size_t i = 0; i < command.arguments.size(); ++i) {
            const CommandArgument& argument = command.arguments[i];
            out << (i > 0 ? "," : "");
            if (argument.IsText()) {
                out << '<' << argument.text << '>';
            } else if (argument.IsNumber()) {
                out << argument.number;
            } else {
                out << '_';
            }
        }
        out << ')';
    }
    return out.str();
}

TEST(CommandParser, ReadsCommandsTextsAndNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"[FontPoints(1,8)][GridLineType(1,1)][AutoSize()]",
         "FontPoints(1,8)GridLineType(1,1)AutoSize()"},
        {R"([TextFont(2,10,500,0,0,0,0,"MS Sans Serif")][Title1("Частотные характеристики")])",
         "TextFont(2,10,500,0,0,0,0,<MS Sans Serif>)Title1(<Частотные характеристики>)"},
        {R"([XAxisLabel("")][Title1(" ")])", "XAxisLabel(<>)Title1(< >)"},
        // Labels come from data files: a text ends only at a quote followed by "," or ")".
        {R"cmd([Y2AxisLabel("R "a" [Ом], (x)")][FileSaveAs(4097,"C:\tmp\a,b.emf")])cmd",
         R"cmd(Y2AxisLabel(<R "a" [Ом], (x)>)FileSaveAs(4097,<C:\tmp\a,b.emf>))cmd"},
        // Scale limits need the decimal point: "1,8" is two limits.
        {"[ManualScale(1.8,-0.25,14.35,1e-05)]", "ManualScale(1.8,-0.25,14.35,1e-05)"},
        {"[Title1(\"\xD3\xE3\xEE\xEB\")]", "Title1(<Угол>)"}, // Windows-1251
        {"[ManualScale(,0,,1)]", "ManualScale(_,0,_,1)"},
        {" [ Color ( 2 , 0 , 0 , 255 ) ]\r\n[FileClose()] ", "Color(2,0,0,255)FileClose()"},
    };
    for (const auto& [text, expected] : cases) {
        const ParseResult result = ParseCommands(text);
        EXPECT_TRUE(result.ok()) << text << ": " << result.error;
        EXPECT_EQ(Describe(result), expected) << text;
    }
}

TEST(CommandParser, RefusesBrokenStringsWhole) {
    for (const char* text :
         {"FontPoints(1,8)", "[FontPoints(1,8)", "[FontPoints 1,8)]", "[(1,8)]",
          R"([Title1("unterminated)])", "[ManualScale(1.8.1,0,1,1)]", "[ManualScale(abc,0,1,1)]",
          "[ManualScale(inf,0,1,1)]", "[AutoSize()]x", "[AutoSize()]["}) {
        const ParseResult result = ParseCommands(text);
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_TRUE(result.commands.empty()) << text;
    }
}

TEST(CommandParser, NumberFormsBeyondTheCommandsAbove) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {".5", 0.5}, {"-1.5E+20", -1.5e20}, {"0x0099FF", 39423.0}, {"0x", {}},
        {"1e", {}},  {"1e999", {}},
    };
    for (const auto& [token, value] : cases) {
        EXPECT_EQ(ParseNumber(token), value) << token;
    }
}

} // namespace
} // namespace lobex::plotter
