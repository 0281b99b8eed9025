#include "plotter/PlotEngine.h"
#include "PlotFixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace lobex::plotter {
namespace {

using test::MakeRecord;

class PlotEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::int32_t wasActive = -1;
        ASSERT_NE(engine.DPlot_Start(1, &wasActive), 0);
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

TEST(PlotEngineLink, StartAlwaysLinksAndTellsWhetherItWasRunning) {
    PlotEngine engine;
    std::int32_t wasActive = -1;
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 0);
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 1);
    engine.DPlot_Stop();
    EXPECT_NE(engine.DPlot_Start(1, nullptr), 0);
    EXPECT_NE(engine.DPlot_Start(1, &wasActive), 0);
    EXPECT_EQ(wasActive, 1);
}

TEST(PlotEngineLink, PlotWithoutStartIsNotAvailable) {
    PlotEngine engine;
    const DPLOT record = MakeRecord(1, 2);
    const float values[] = {1, 2};
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1);
}

TEST(PlotEngineLink, StopDropsEveryDocument) {
    PlotEngine engine;
    engine.DPlot_Start(1, nullptr);
    const DPLOT record = MakeRecord(1, 2);
    const float values[] = {1, 2};
    const std::int32_t document = engine.DPlot_Plot(record, values, values, "");
    ASSERT_GT(document, 0);
    engine.DPlot_Stop();
    EXPECT_EQ(engine.FindDocument(document), nullptr);
    EXPECT_EQ(engine.DPlot_Command(document, "[AutoSize()]"), 0);
    EXPECT_EQ(engine.DPlot_Plot(record, values, values, ""), -1);
}

TEST_F(PlotEngineTest, DocumentsGetNumbersAboveZero) {
    const std::int32_t first = PlotTwoCurves();
    const std::int32_t second = PlotTwoCurves();
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
}

TEST_F(PlotEngineTest, CurvesShareTheXArrayAndFollowEachOtherInY) {
    const PlotDocument& document = Document(PlotTwoCurves());
    ASSERT_EQ(document.curves.size(), 2U);
    EXPECT_EQ(document.curves[0].x, x);
    EXPECT_EQ(document.curves[1].x, x);
    EXPECT_EQ(document.curves[0].y, std::vector<float>(y.begin(), y.begin() + 5));
    EXPECT_EQ(document.curves[1].y, std::vector<float>(y.begin() + 5, y.end()));
}

TEST_F(PlotEngineTest, RecordTextsAreTheStartingLabels) {
    const PlotDocument& document = Document(PlotTwoCurves());
    EXPECT_EQ(document.xLabel, "Parameter");
    EXPECT_EQ(document.yLabel, "SWR");
    EXPECT_EQ(document.title1, "Record title");
    EXPECT_EQ(document.scaleCode, kScaleLinear);
}

TEST_F(PlotEngineTest, FewerPointsInACurveThanTheStride) {
    DPLOT record = MakeRecord(2, 5);
    record.NP[1] = 3;
    const std::int32_t number = engine.DPlot_Plot(record, x.data(), y.data(), "");
    ASSERT_GT(number, 0);
    EXPECT_EQ(Document(number).curves[1].y, (std::vector<float>{10, 20, 30}));
}

TEST_F(PlotEngineTest, RefusesRecordsItCannotRead) {
    const std::vector<std::pair<std::string, std::function<void(DPLOT&)>>> cases = {
        {"data format 0",
         [](DPLOT& r) {
             r.DataFormat = 0;
         }},
        {"no curves",
         [](DPLOT& r) {
             r.NumCurves = 0;
         }},
        {"21 curves",
         [](DPLOT& r) {
             r.NumCurves = 21;
         }},
        {"no points",
         [](DPLOT& r) {
             r.MaxPoints = 0;
         }},
        {"curve without points",
         [](DPLOT& r) {
             r.NP[1] = 0;
         }},
        {"curve longer than the stride",
         [](DPLOT& r) {
             r.NP[0] = 6;
         }},
        {"unknown scale",
         [](DPLOT& r) {
             r.Scale = 5;
         }},
    };
    for (const auto& [name, spoil] : cases) {
        DPLOT record = MakeRecord(2, 5);
        spoil(record);
        EXPECT_EQ(engine.DPlot_Plot(record, x.data(), y.data(), ""), 0) << name;
    }
    const DPLOT record = MakeRecord(2, 5);
    EXPECT_EQ(engine.DPlot_Plot(record, nullptr, y.data(), ""), 0);
    EXPECT_EQ(engine.DPlot_Plot(record, x.data(), nullptr, ""), 0);
    EXPECT_GT(engine.DPlot_Plot(record, x.data(), y.data(), ""), 0);
}

TEST_F(PlotEngineTest, RefusesAPlotWhoseCommandsAreRefused) {
    for (const char* commands :
         {"[AutoSize()", "[Frobnicate()]", "[Scale(7)]", "[AutoSize()][FileClose()]"}) {
        EXPECT_EQ(PlotTwoCurves(commands), 0) << commands;
        EXPECT_FALSE(engine.LastError().empty()) << commands;
    }
}

// Every command string the graph code sends, and what it leaves in the document.
TEST_F(PlotEngineTest, EveryDocumentedCommandIsCarriedOut) {
    struct Case {
        std::string command;
        std::function<bool(const PlotDocument&)> effect;
    };
    const auto font = [](const PlotDocument& d, int element) {
        return d.fonts[static_cast<std::size_t>(element - 1)];
    };
    const std::vector<Case> cases = {
        {"[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)]",
         [&](const PlotDocument& d) {
             return font(d, 1).points == 8 && font(d, 4).points == 8 && font(d, 5).points == 8 &&
                    font(d, 2).points == 10;
         }},
        {"[FontPoints(1,9)][FontPoints(4,9)][FontPoints(2,11)]",
         [&](const PlotDocument& d) {
             return font(d, 1).points == 9 && font(d, 2).points == 11;
         }},
        {"[GridLineType(1,1)]",
         [](const PlotDocument& d) {
             return d.gridKind == 1 && d.gridLineType == 1;
         }},
        {"[Size(1,2,2,0)]",
         [](const PlotDocument& d) {
             return d.fixedSize && d.fixedWidth == 2.0 && d.fixedHeight == 2.0;
         }},
        {"[Size(1,3.3,3.3,0)]",
         [](const PlotDocument& d) {
             return d.fixedSize && d.fixedWidth == 3.3;
         }},
        {"[AutoSize()]",
         [](const PlotDocument& d) {
             return !d.fixedSize;
         }},
        {"[ManualScale(13.9,1.03,14.42,2.71)]",
         [](const PlotDocument& d) {
             return *d.limits.xLo == 13.9 && *d.limits.yLo == 1.03 && *d.limits.xHi == 14.42 &&
                    *d.limits.yHi == 2.71 && !d.limits.y2Lo;
         }},
        {"[ManualScale(13.9,1.03,14.42,2.71,7.27,8.09)]",
         [](const PlotDocument& d) {
             return *d.limits.y2Lo == 7.27 && *d.limits.y2Hi == 8.09;
         }},
        {"[ManualScale(0,0,360,1)]",
         [](const PlotDocument& d) {
             return *d.limits.xHi == 360.0 && *d.limits.yHi == 1.0;
         }},
        {"[SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"Ga(dBi)\")]",
         [](const PlotDocument& d) {
             return d.selectedCurve == 2 && d.yAxes == 2 && d.firstCurveOnY2 == 2 &&
                    d.y2Label == "Ga(dBi)" && d.OnSecondAxis(2) && !d.OnSecondAxis(1);
         }},
        {"[Color(2,0,0,255)]",
         [](const PlotDocument& d) {
             return d.styles[1].color == Rgb{0, 0, 255};
         }},
        {"[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")][TextFont(4,8,700,0,0,0,0,\"MS Sans "
         "Serif\")]",
         [&](const PlotDocument& d) {
             return font(d, 2).weight == 500 && font(d, 2).points == 10 &&
                    font(d, 4).weight == 700 && font(d, 4).family == "MS Sans Serif";
         }},
        {"[XAxisLabel(\"Частота, MHz\")][Title1(\"Частотные характеристики\")]",
         [](const PlotDocument& d) {
             return d.xLabel == "Частота, MHz" && d.title1 == "Частотные характеристики";
         }},
        {"[XAxisLabel(\"\")][Title1(\" \")]",
         [](const PlotDocument& d) {
             return d.xLabel.empty() && d.title1 == " ";
         }},
        {"[Scale(1)]",
         [](const PlotDocument& d) {
             return d.scaleCode == 1;
         }},
        {"[Scale(2)]",
         [](const PlotDocument& d) {
             return IsLogY(d.scaleCode) && !IsLogX(d.scaleCode);
         }},
        {"[Scale(3)]",
         [](const PlotDocument& d) {
             return IsLogX(d.scaleCode) && !IsLogY(d.scaleCode);
         }},
        {"[Scale(4)]",
         [](const PlotDocument& d) {
             return IsLogX(d.scaleCode) && IsLogY(d.scaleCode);
         }},
        {"[Scale(264)]",
         [](const PlotDocument& d) {
             return d.IsPolar();
         }},
        {"[PolarPlotStyle(3)]",
         [](const PlotDocument& d) {
             return d.polarStyle == 3;
         }},
        {"[PolarPlotStyle(0)]",
         [](const PlotDocument& d) {
             return d.polarStyle == 0;
         }},
        {"[NumTicks(1,18,5)]",
         [](const PlotDocument& d) {
             return d.ticks[0].intervals == 18 && d.ticks[0].minorDivisions == 5;
         }},
        {"[NumTicks(1,36,5)]",
         [](const PlotDocument& d) {
             return d.ticks[0].intervals == 36;
         }},
        {"[LineWidth(-2,10)][LineWidth(-1,10)]",
         [](const PlotDocument& d) {
             return d.frameWidth == 10.0 && d.styles[0].width == 10.0 && d.styles[19].width == 10.0;
         }},
        {"[LineWidth(-1,25)]",
         [](const PlotDocument& d) {
             return d.styles[0].width == 25.0 && d.frameWidth == 10.0;
         }},
        {"[Caption(\"Lobex Data\")]",
         [](const PlotDocument& d) {
             return d.caption == "Lobex Data";
         }},
        {"[Caption(\"Azimuth\")]",
         [](const PlotDocument& d) {
             return d.caption == "Azimuth";
         }},
        {"[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]",
         [](const PlotDocument& d) {
             return d.styles[2].color == Rgb{0, 128, 0} && d.styles[2].lineType == 3 &&
                    d.styles[1].lineType == 1;
         }},
        {"[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]",
         [&](const PlotDocument& d) {
             return d.note && d.note->text == "7.35dBi" && d.note->x == 0.0 && d.note->y == 1.0 &&
                    font(d, 7).points == 7;
         }},
        {"[NoteText(\"7,35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]",
         [](const PlotDocument& d) {
             return d.note && d.note->text == "7,35dBi";
         }},
        {"[LineWidth(-2,10)]",
         [](const PlotDocument& d) {
             return d.frameWidth == 10.0;
         }},
        {"[SetMetafileDims(5,3)]",
         [](const PlotDocument& d) {
             return d.metafileWidth == 5.0 && d.metafileHeight == 3.0;
         }},
        {"[LineWidth(-2,10)][SetMetafileDims(3.3,3.3)]",
         [](const PlotDocument& d) {
             return d.metafileWidth == 3.3;
         }},
        {"[FilePageSetup(0.5,6,0.5,0.5)]",
         [](const PlotDocument& d) {
             return d.page.left == 0.5 && d.page.top == 6.0 && d.page.right == 0.5 &&
                    d.page.bottom == 0.5;
         }},
        {"[FilePageSetup(0.5,5,0.2,0.2)]",
         [](const PlotDocument& d) {
             return d.page.top == 5.0 && d.page.bottom == 0.2;
         }},
        {"[ClearEditFlag()]",
         [](const PlotDocument& d) {
             return !d.edited;
         }},
    };
    for (const Case& c : cases) {
        const std::int32_t number = PlotTwoCurves();
        ASSERT_GT(number, 0);
        EXPECT_GT(engine.DPlot_Command(number, c.command), 0)
            << c.command << ": " << engine.LastError();
        EXPECT_TRUE(c.effect(Document(number))) << c.command;
    }
}

TEST_F(PlotEngineTest, FileCloseEndsTheDocument) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_GT(engine.DPlot_Command(number, "[FileClose()]"), 0);
    EXPECT_EQ(engine.FindDocument(number), nullptr);
    EXPECT_EQ(engine.DPlot_Command(number, "[ClearEditFlag()]"), 0);
    PlotMetrics metrics;
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 100, 100, metrics).IsNull());
}

TEST_F(PlotEngineTest, RefusesUnknownCommandsAndBadArguments) {
    const std::vector<std::string> refused = {
        "[Frobnicate()]",
        "[FontPoints(8,8)]",
        "[FontPoints(1)]",
        "[FontPoints(1,0)]",
        "[TextFont(2,10,500,0,0,0,0)]",
        "[TextFont(2,10,500,0,0,0,0,12)]",
        "[GridLineType(3,1)]",
        "[Size(2)]",
        "[Size(1,0,2,0)]",
        "[Size(1,2)]",
        "[ManualScale(1,2,3)]",
        "[ManualScale(\"a\",0,1,1)]",
        "[SelectCurve(21)]",
        "[SelectCurve(1.5)]",
        "[MultipleYAxes(3,2,0)]",
        "[XAxisLabel(5)]",
        "[Title1()]",
        "[Color(2,0,0,256)]",
        "[Color(0,0,0,0)]",
        "[Color(2,0,0)]",
        "[Scale(5)]",
        "[Scale(\"1\")]",
        "[PolarPlotStyle(4)]",
        "[NumTicks(4,18,5)]",
        "[NumTicks(1,-1,5)]",
        "[LineWidth(0,10)]",
        "[LineWidth(-3,10)]",
        "[LineWidth(1,0)]",
        "[LineType(1,6)]",
        "[NotePosition(0.0,1.0)]", // no note yet
        "[NoteText(\"a\")][NotePosition(1.5,0)]",
        "[SetMetafileDims(0,3)]",
        "[SetMetafileDims(5)]",
        "[FilePageSetup(0.5,6,0.5)]",
        "[FilePageSetup(-1,6,0.5,0.5)]",
        "[CopyPicture(1)]",
        "[FilePrint(0)]",
        "[FileSaveAs(4096,\"x.emf\")]",
        "[FileSaveAs(4097,\"\")]",
        "[FileSaveAs(4097)]",
        "[ClearEditFlag(1)]",
        "[FileClose(1)]",
        "[AutoSize()",
    };
    for (const std::string& command : refused) {
        const std::int32_t number = PlotTwoCurves();
        EXPECT_EQ(engine.DPlot_Command(number, command), 0) << command;
        EXPECT_FALSE(engine.LastError().empty()) << command;
        EXPECT_NE(engine.FindDocument(number), nullptr) << command;
    }
}

TEST_F(PlotEngineTest, ARefusedStringChangesNothing) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_EQ(engine.DPlot_Command(number, "[Color(1,0,255,0)][Title1(\"new\")][Scale(5)]"), 0);
    const PlotDocument& document = Document(number);
    EXPECT_EQ(document.styles[0].color, (Rgb{255, 0, 0}));
    EXPECT_EQ(document.title1, "Record title");
}

TEST_F(PlotEngineTest, CommandsToAMissingDocumentFail) {
    EXPECT_EQ(engine.DPlot_Command(0, "[AutoSize()]"), 0);
    EXPECT_EQ(engine.DPlot_Command(-1, "[AutoSize()]"), 0);
    EXPECT_EQ(engine.DPlot_Command(12345, "[AutoSize()]"), 0);
}

TEST_F(PlotEngineTest, CommandNamesIgnoreCase) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_GT(engine.DPlot_Command(number, "[setmetafiledims(4,2)][COLOR(1,1,2,3)]"), 0);
    EXPECT_EQ(Document(number).metafileWidth, 4.0);
    EXPECT_EQ(Document(number).styles[0].color, (Rgb{1, 2, 3}));
}

TEST_F(PlotEngineTest, FirstCurveIsRedAndTheSecondBlueOnlyWhenAsked) {
    const PlotDocument& plain = Document(PlotTwoCurves());
    EXPECT_EQ(plain.styles[0].color, (Rgb{255, 0, 0}));
    EXPECT_NE(plain.styles[1].color, (Rgb{0, 0, 255}));
    const PlotDocument& blue = Document(PlotTwoCurves("[Color(2,0,0,255)]"));
    EXPECT_EQ(blue.styles[1].color, (Rgb{0, 0, 255}));
}

TEST_F(PlotEngineTest, EditFlagFollowsChangesAndClearEditFlag) {
    const std::int32_t number = PlotTwoCurves();
    EXPECT_TRUE(Document(number).edited);
    engine.DPlot_Command(number, "[ClearEditFlag()]");
    EXPECT_FALSE(Document(number).edited);
    engine.DPlot_Command(number, "[LineWidth(-2,10)]");
    EXPECT_TRUE(Document(number).edited);
    engine.DPlot_Command(number, "[LineWidth(-2,10)][ClearEditFlag()]");
    EXPECT_FALSE(Document(number).edited);
}

TEST_F(PlotEngineTest, AddDataAppendsOrReplacesACurve) {
    const std::int32_t number = PlotTwoCurves();
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

TEST_F(PlotEngineTest, AddDataIgnoresWhatItCannotUse) {
    const std::int32_t number = PlotTwoCurves();
    const float values[] = {1, 2, 3};
    engine.DPlot_AddData(number, 0, 3, 4, values, values);  // a gap after curve 2
    engine.DPlot_AddData(number, 0, 3, 0, values, values);  // no curve 0
    engine.DPlot_AddData(number, 1, 3, 3, values, values);  // unknown type
    engine.DPlot_AddData(number, 0, 0, 3, values, values);  // no points
    engine.DPlot_AddData(number, 0, 3, 3, nullptr, values); // no X array
    engine.DPlot_AddData(number + 100, 0, 3, 3, values, values);
    EXPECT_EQ(Document(number).curves.size(), 2U);
}

TEST_F(PlotEngineTest, BitmapHasExactlyTheAskedSize) {
    const std::int32_t number = PlotTwoCurves();
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{800, 500}, {257, 263}, {31, 17}}) {
        PlotMetrics metrics;
        const PlotBitmap bitmap = engine.DPlot_GetBitmapEx(number, width, height, metrics);
        ASSERT_FALSE(bitmap.IsNull());
        EXPECT_EQ(bitmap.Width, width);
        EXPECT_EQ(bitmap.Height, height);
        EXPECT_EQ(bitmap.PixelWidth, width);
        EXPECT_EQ(bitmap.PixelHeight, height);
        EXPECT_EQ(bitmap.Pixels.size(), static_cast<std::size_t>(width) * height);
        EXPECT_EQ(metrics.Size, 36);
        EXPECT_GE(metrics.Left, 0);
        EXPECT_LT(metrics.Left, metrics.Right);
        EXPECT_LT(metrics.Top, metrics.Bottom);
    }
}

TEST_F(PlotEngineTest, BitmapOnAHighDensityScreenKeepsItsMetrics) {
    const std::int32_t number = PlotTwoCurves();
    PlotMetrics plain;
    engine.DPlot_GetBitmapEx(number, 400, 300, plain);
    engine.SetDevicePixelRatio(2.0);
    PlotMetrics dense;
    const PlotBitmap bitmap = engine.DPlot_GetBitmapEx(number, 400, 300, dense);
    EXPECT_EQ(bitmap.Width, 400);
    EXPECT_EQ(bitmap.PixelWidth, 800);
    EXPECT_EQ(bitmap.PixelHeight, 600);
    EXPECT_DOUBLE_EQ(bitmap.DevicePixelRatio, 2.0);
    EXPECT_EQ(ToQImage(bitmap).deviceIndependentSize().toSize(), QSize(400, 300));
    // Text measures alike at both densities, so the plotting area stays within a pixel.
    EXPECT_NEAR(dense.Left, plain.Left, 1);
    EXPECT_NEAR(dense.Right, plain.Right, 1);
    EXPECT_NEAR(dense.Top, plain.Top, 1);
    EXPECT_NEAR(dense.Bottom, plain.Bottom, 1);
}

TEST_F(PlotEngineTest, NoBitmapForImpossibleRequests) {
    const std::int32_t number = PlotTwoCurves();
    PlotMetrics metrics;
    metrics.Left = 77;
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 0, 100, metrics).IsNull());
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 100, -5, metrics).IsNull());
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 100000, 100, metrics).IsNull());
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number + 50, 100, 100, metrics).IsNull());
    EXPECT_EQ(metrics.Left, 77); // untouched
    metrics.Size = 0;
    EXPECT_TRUE(engine.DPlot_GetBitmapEx(number, 100, 100, metrics).IsNull());
}

TEST_F(PlotEngineTest, WrappedAndCopiedImagesShowTheSamePixels) {
    const std::int32_t number = PlotTwoCurves();
    PlotMetrics metrics;
    const PlotBitmap bitmap = engine.DPlot_GetBitmapEx(number, 120, 90, metrics);
    const QImage wrapped = WrapPlotBitmap(bitmap);
    const QImage copied = ToQImage(bitmap);
    ASSERT_EQ(wrapped.size(), QSize(120, 90));
    EXPECT_EQ(wrapped, copied);
    EXPECT_EQ(wrapped.pixel(3, 4), bitmap.PixelAt(3, 4));
    EXPECT_EQ(wrapped.constBits(), reinterpret_cast<const uchar*>(bitmap.Pixels.data()));
    EXPECT_NE(copied.constBits(), reinterpret_cast<const uchar*>(bitmap.Pixels.data()));
}

} // namespace
} // namespace lobex::plotter
