#include "plotter/PlotLayout.h"
#include "plotter/CommandParser.h"
#include "plotter/FontResolver.h"
#include "plotter/PlotCommands.h"
#include "plotter/TextMeasure.h"
#include "plotter/Ticks.h"

#include <QFontDatabase>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

// The layout of plots, measured with a stand-in for font metrics so that every margin can be
// predicted: no paint device is involved.
namespace lobex::plotter {
namespace {

// Every character is half a point-size wide and a line is 1.25 point-sizes high; point sizes
// are logical units.
class FakeMeasure final : public TextMeasure {
public:
    explicit FakeMeasure(bool hasMinusSign = true) : hasMinusSign_(hasMinusSign) {}
    double FontScale() const override { return 1.0; }
    double Width(const QFont& font, const QString& text) const override {
        return static_cast<double>(text.size()) * font.pointSizeF() * 0.5;
    }
    double Height(const QFont& font) const override { return font.pointSizeF() * 1.25; }
    double AverageCharWidth(const QFont& font) const override { return font.pointSizeF() * 0.5; }
    bool HasGlyph(const QFont&, char32_t character) const override {
        return character != 0x2212 || hasMinusSign_;
    }

private:
    bool hasMinusSign_;
};

PlotDocument Document(const std::vector<std::vector<float>>& xy, const std::string& commands) {
    PlotDocument document = NewDocument();
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        document.curves.push_back({xy[i], xy[i + 1]});
    }
    const ParseResult parsed = ParseCommands(commands);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    for (const PlotCommand& command : parsed.commands) {
        const CommandEffect effect = ApplyCommand(document, command);
        EXPECT_TRUE(effect.ok) << command.name << ": " << effect.error;
    }
    return document;
}

PlotLayout LayOut(const PlotDocument& document, double width, double height,
                  const TextMeasure& measure = FakeMeasure()) {
    RenderSettings settings;
    settings.decimalSeparator = ".";
    return LayOutPlot(document, QSizeF(width, height), measure, settings);
}

const std::vector<std::vector<float>> kSweep = {{0, 10, 20}, {20, 50, 90}};
const std::string kLabelled = "[Title1(\"Yagi\")][Title2(\"20 m\")][XAxisLabel(\"MHz\")]"
                              "[YAxisLabel(\"SWR\")][ManualScale(0,0,20,100)]";

TEST(PlotLayout, FixedSizePlotKeepsItsInchesWhereItFitsAndShrinksWithItsTextWhereNot) {
    // What, the plot's inches wide and high, the picture's width and height, whether it shrinks.
    const std::tuple<const char*, double, double, double, double, bool> cases[] = {
        {"fits", 5.0, 3.0, 800, 500, false},
        {"too small both ways", 6.0, 6.0, 200, 200, true},
    };
    for (const auto& [name, inchesWide, inchesHigh, width, height, shrinks] : cases) {
        SCOPED_TRACE(name);
        const PlotLayout layout =
            LayOut(Document(kSweep, kLabelled + "[Size(1," + std::to_string(inchesWide) + "," +
                                        std::to_string(inchesHigh) + ",0)]"),
                   width, height);
        const PlotMapping& m = layout.mapping;
        EXPECT_TRUE(shrinks ? layout.shrink < 1.0 : layout.shrink == 1.0) << layout.shrink;
        // The area is its size in inches at 96 units an inch, scaled; rounding its edges onto
        // whole pixels may lose a pixel at each.
        EXPECT_NEAR(m.Right() - m.Left(), inchesWide * kUnitsPerInch * layout.shrink, 2.0);
        EXPECT_NEAR(m.Bottom() - m.Top(), inchesHigh * kUnitsPerInch * layout.shrink, 2.0);
        // The text shrinks with it.
        EXPECT_DOUBLE_EQ(layout.fonts.ticks.pointSizeF(), 8.0 * layout.shrink);
        // The area, its labels and the titles stay within the picture.
        EXPECT_GE(m.Left() - layout.y.widestLabel - layout.axisTextHeight, 0.0);
        EXPECT_LE(m.Right() + layout.x.labels.back().width / 2.0, width);
        EXPECT_LE(m.Bottom() + layout.tickTextHeight + layout.axisTextHeight, height);
        EXPECT_GE(layout.titleTop, 0.0);
        EXPECT_LE(layout.titleTop + layout.titleHeight + layout.subtitleHeight, m.Top());
    }
}

TEST(PlotLayout, SecondYAxisTakesRoomOnTheRightWithItsOwnScale) {
    const std::vector<std::vector<float>> twoCurves = {
        {0, 10, 20}, {20, 50, 90}, {0, 10, 20}, {-8, 0, 9}};
    const std::string limits = "[ManualScale(0,0,20,100,-10,10)][Y2AxisLabel(\"Ga(dBi)\")]";
    const PlotLayout one = LayOut(Document(twoCurves, limits), 800, 500);
    const PlotLayout two = LayOut(Document(twoCurves, "[MultipleYAxes(2,2,0)]" + limits), 800, 500);

    EXPECT_FALSE(one.secondAxis);
    EXPECT_TRUE(one.y2Label.isEmpty()); // a label of an axis not drawn takes no room
    ASSERT_TRUE(two.secondAxis);
    EXPECT_EQ(two.y2Label, QStringLiteral("Ga(dBi)"));

    // The left axis stays where it was; the plot gives up room on the right for the second
    // axis's labels and its turned title.
    EXPECT_EQ(two.mapping.Left(), one.mapping.Left());
    EXPECT_LT(two.mapping.Right(), one.mapping.Right());
    EXPECT_GE(800 - two.mapping.Right(), two.y2.widestLabel + two.axisTextHeight + kTickLength);

    // Its own scale, labelled from its own limits.
    ASSERT_FALSE(two.y2.labels.empty());
    EXPECT_EQ(two.y2.labels.front().text, QString(QChar(0x2212)) + QStringLiteral("10"));
    EXPECT_EQ(two.y2.labels.back().text, QStringLiteral("10"));
}

TEST(PlotLayout, TickLabelsUseARealMinusSignWhereTheFontHasOne) {
    // Whether the font has the minus sign, the labels.
    const QString minus(QChar(0x2212));
    const std::pair<bool, std::vector<QString>> cases[] = {
        {true, {minus + "1.0", minus + "0.5", "0.0", "0.5", "1.0"}},
        {false, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
    };
    const PlotDocument document = Document(kSweep, "[ManualScale(0,-1,20,1)][NumTicks(2,4,1)]");
    for (const auto& [fontHasMinus, expected] : cases) {
        std::vector<QString> texts;
        std::ranges::transform(LayOut(document, 800, 500, FakeMeasure(fontHasMinus)).y.labels,
                               std::back_inserter(texts), &TickLabel::text);
        EXPECT_EQ(texts, expected) << (fontHasMinus ? "minus sign" : "hyphen");
    }
}

TEST(PlotLayout, NoteStaysInsideThePictureWithAMargin) {
    // What, the corner as NotePosition gives it (fractions from the bottom left), where it lands
    // in an 800 x 500 picture; "7.35dBi" at 8 points is 28 wide, 10 high.
    const std::tuple<const char*, double, double, double, double> cases[] = {
        {"as placed", 0.5, 0.75, 400, 125},
        {"top left corner keeps the margin", 0.0, 1.0, kPad, kPad},
        {"on the bottom edge", 0.2, 0.0, 160, 500 - 10 - kPad},
    };
    for (const auto& [name, x, y, left, top] : cases) {
        const PlotDocument document =
            Document(kSweep, "[NoteText(\"7.35dBi\")][FontPoints(7,8)][NotePosition(" +
                                 std::to_string(x) + "," + std::to_string(y) + ")]");
        EXPECT_EQ(LayOut(document, 800, 500).note, QRectF(left, top, 28, 10)) << name;
    }
    EXPECT_TRUE(LayOut(Document(kSweep, "[NoteText(\"  \")]"), 800, 500).noteText.isEmpty());
}

TEST(PlotLayout, TheLegendNamesTheCurvesDrawnInsideThePlottingAreasTopRight) {
    // What, the commands, the rows by curve (0: the title).
    const std::tuple<const char*, std::string, std::vector<int>> cases[] = {
        {"none named", "", {}},
        {"a title alone draws none", "[Legend(0,\"Files\")]", {}},
        {"title and curve", "[Legend(0,\"Files\")][Legend(1,\"a.csv\")]", {0, 1}},
        {"a curve the document lacks", "[Legend(1,\"a.csv\")][Legend(2,\"b.csv\")]", {1}},
    };
    for (const auto& [name, commands, curves] : cases) {
        const PlotLayout layout = LayOut(Document(kSweep, commands), 800, 500);
        std::vector<int> rows;
        std::ranges::transform(layout.legendRows, std::back_inserter(rows), &LegendRow::curve);
        EXPECT_EQ(rows, curves) << name;
        if (!rows.empty()) {
            EXPECT_LT(layout.legend.right(), layout.mapping.Right() + 0.5) << name;
            EXPECT_GT(layout.legend.top(), layout.mapping.Top()) << name;
        }
    }
}

// Labels of points close together, or under the legend, are moved apart: none covers another.
TEST(PlotLayout, PointLabelsKeepClearOfEachOtherAndOfTheLegend) {
    const std::string labels = "[PointLabel(10,50,\"14.000 MHz\")][PointLabel(10.2,50.5,"
                               "\"14.300 MHz\")][PointLabel(19.9,89.9,\"far end\")]";
    for (const std::string& legend : {std::string(), std::string("[Legend(1,\"a long name.csv\")]"
                                                                 "[Legend(2,\"b.csv\")]")}) {
        const PlotLayout layout = LayOut(
            Document({kSweep[0], kSweep[1], kSweep[0], kSweep[1]}, labels + legend), 800, 500);
        ASSERT_EQ(layout.marks.size(), 3u);
        for (std::size_t i = 0; i < layout.marks.size(); ++i) {
            const QRectF& box = layout.marks[i].label.box;
            EXPECT_FALSE(box.intersects(layout.legend)) << i;
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(box.intersects(layout.marks[j].label.box)) << i << " " << j;
            }
        }
    }
}

TEST(FontResolver, MissingFacesFallBackToAnInstalledOneThatWritesRussian) {
    const QStringList installed = QFontDatabase::families();
    ASSERT_FALSE(installed.isEmpty());
    for (const QString& requested : {QStringLiteral("MS Sans Serif"), QStringLiteral("No Face")}) {
        const QString family = ResolveFontFamily(requested);
        EXPECT_TRUE(installed.contains(family)) << family.toStdString();
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic))
            << family.toStdString();
    }
    // The bitmap face is replaced even where it is installed; other installed faces stay.
    EXPECT_NE(ResolveFontFamily(QStringLiteral("MS Sans Serif")), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(ResolveFontFamily(installed.front().toUpper()), installed.front());
}

void ExpectValues(const std::vector<double>& got, const std::vector<double>& want,
                  const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i], want[i], std::abs(want[i]) * 1e-12) << what << " tick " << i;
    }
}

TEST(LinearTicks, WidenToLabelledTicksAndNeverExceedTheIntervalsAsked) {
    // A sweep from 13.9 to 14.42 MHz: the axis runs from 13.9 to 14.5 in steps of 0.1.
    const AxisTicks sweep = LinearTicks(13.9, 14.42, 8, true);
    EXPECT_NEAR(sweep.lo, 13.9, 1e-12);
    EXPECT_NEAR(sweep.hi, 14.5, 1e-12);
    ExpectValues(sweep.major, {13.9, 14.0, 14.1, 14.2, 14.3, 14.4, 14.5}, "sweep");
    EXPECT_EQ(sweep.decimals, 1);
    // Steps are 1, 2, 2.5 or 5 times a power of ten.
    ExpectValues(LinearTicks(0.0, 100.0, 4, true).major, {0, 25, 50, 75, 100}, "quarters");
    ExpectValues(LinearTicks(0.0, 18000.0, 9, true).major,
                 {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000}, "thousands");
    // Never more intervals than asked.
    for (int most = 2; most <= 10; ++most) {
        const AxisTicks ticks = LinearTicks(-177.3, 12.0, most, true);
        EXPECT_LE(static_cast<int>(ticks.major.size()) - 1, most);
        EXPECT_LE(ticks.lo, -177.3);
        EXPECT_GE(ticks.hi, 12.0);
    }
    // Without widening the range stays and the ticks stay inside it.
    const AxisTicks inside = LinearTicks(1.03, 2.71, 5, false);
    EXPECT_DOUBLE_EQ(inside.lo, 1.03);
    EXPECT_DOUBLE_EQ(inside.hi, 2.71);
    EXPECT_GE(inside.major.front(), 1.03);
    EXPECT_LE(inside.major.back(), 2.71);
}

TEST(LogTicks, DecadesOneTwoFiveOrLinearValuesByTheRange) {
    // The data's range, the most intervals, the axis's range, its major ticks and decimals.
    const std::tuple<double, double, int, double, double, std::vector<double>, int> cases[] = {
        // Four and a half decades: the decades only, widened to whole decades.
        {3.16, 3162.0, 8, 1.0, 10000.0, {1.0, 10.0, 100.0, 1000.0, 10000.0}, 0},
        {1.5, 40.0, 8, 1.0, 50.0, {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}, 0},
        // Not positive: nothing.
        {0.0, 10.0, 5, 0.0, 0.0, {}, 0},
    };
    for (const auto& [lo, hi, most, axisLo, axisHi, major, decimals] : cases) {
        const AxisTicks ticks = LogTicks(lo, hi, most, true);
        EXPECT_NEAR(ticks.lo, axisLo, 1e-15) << lo;
        EXPECT_NEAR(ticks.hi, axisHi, 1e-12) << lo;
        ExpectValues(ticks.major, major, std::to_string(lo));
        EXPECT_EQ(ticks.decimals, decimals) << lo;
    }
    // Labels below one show their decimals.
    const AxisTicks small = LogTicks(0.012, 30.0, 12, true);
    EXPECT_NEAR(small.lo, 0.01, 1e-15);
    EXPECT_EQ(small.decimals, 2);
    // Minor ticks on 2..9 of each decade in between.
    EXPECT_EQ(LogTicks(3.16, 3162.0, 8, true).minor.size(), 4U * 8U);
    // An SWR from 1.03 to 2.71 is under a decade: linear values, still labelled.
    const AxisTicks swr = LogTicks(1.03, 2.71, 6, true);
    EXPECT_GT(swr.lo, 0.0);
    EXPECT_LE(swr.lo, 1.03);
    EXPECT_GE(swr.hi, 2.71);
    EXPECT_GE(swr.major.size(), 3U);
}

TEST(FormatTick, DecimalsSeparatorAndSign) {
    EXPECT_EQ(FormatTick(14.2, 2, ","), "14,20");
    EXPECT_EQ(FormatTick(-0.0000001, 2, "."), "0.00");
    EXPECT_EQ(FormatTick(-2.5, 1, "."), "-2.5");
    EXPECT_EQ(FormatTick(2e6, 0, "."), "2e+06");
    EXPECT_EQ(FormatTick(1.5e-8, 8, ","), "1,5e-08");
}

} // namespace
} // namespace lobex::plotter
