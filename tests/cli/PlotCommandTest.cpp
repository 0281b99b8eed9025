#include "CliRun.h"
#include "core/Messages.h"
#include "graphs/RectangularGraph.h"
#include "graphs/SmithGraph.h"
#include "model/PatternDifference.h"
#include "session/Comparison.h"

#include <QFile>

#include <QGuiApplication>
#include <QImage>
#include <QSvgRenderer>
#include <numeric>

#include <filesystem>

namespace lobex::cli::test {
namespace {

struct PlotRun {
    int code = -1;
    std::vector<std::string> lines; // the command strings printed
    std::string err;
};

// lobex-cli plot as a user runs it: its own process, its own QGuiApplication.
PlotRun Plot(const std::string& file, const QStringList& args) {
    const ProgramRun program = RunProgram(QStringList{"plot", QString::fromStdString(file)} + args);
    PlotRun run{program.code, {}, program.err};
    std::istringstream out(program.out.toStdString());
    for (std::string line; std::getline(out, line);) {
        run.lines.push_back(line);
    }
    return run;
}

// A message's first line: lobex-cli prints each line of a message on a line of its own.
std::string FirstLine(std::string_view message) {
    return std::string(message.substr(0, message.find('\r')));
}

// Reading the pictures back needs an application of the test's own (the runs have theirs).
void NeedGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "cli_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
}

class CliPlot : public ::testing::Test {
protected:
    void SetUp() override { NeedGuiApplication(); }
    QString Out(const char* name) const {
        return QString::fromStdString((folder.Path() / name).string());
    }
    lobex::test::TempFolder folder;
};

TEST_F(CliPlot, WritesASweepGraphAndPrintsItsCommandStrings) {
    const PlotRun run = Plot(Data("sweep_50ohm.csv"),
                             {"--out", Out("sweep.png"), "--size", "640x360", "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err.find("lobex-cli plot:"), std::string::npos) << run.err; // no message
    EXPECT_EQ(QImage(Out("sweep.png")).size(), QSize(640, 360));
    // The command strings are pinned in the graphs tests; here the columns the options choose
    // (the first against the second, the third on a second axis) and the edit flag cleared.
    ASSERT_EQ(run.lines.size(), 2U);
    EXPECT_NE(run.lines[0].find("[Y2AxisLabel(\"j X\")]"), std::string::npos) << run.lines[0];
    EXPECT_EQ(run.lines[1], "[ClearEditFlag()]");

    // Other columns: the third on a second axis with its own limits.
    const PlotRun gain =
        Plot(Data("sweep_50ohm.csv"),
             {"--out", Out("gain.png"), "--print-commands", "--left", "4", "--right", "5"});
    ASSERT_EQ(gain.code, 0) << gain.err;
    EXPECT_NE(gain.lines.at(0).find("[ManualScale(14,6.95,14.3,7.43,17.84,20)]"), std::string::npos)
        << gain.lines[0];
}

TEST_F(CliPlot, ARefusedLogAxisIsToldOnStderrAndDrawnLinear) {
    const PlotRun run =
        Plot(Data("sweep_50ohm.csv"), {"--out", Out("sweep.bmp"), "--left", "2", "--right", "0",
                                       "--log", "xy", "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(FirstLine(kLogRefusedMessage)), std::string::npos) << run.err;
    EXPECT_NE(run.lines.at(0).find("[Scale(3)]"), std::string::npos) << run.lines[0];
    EXPECT_EQ(QImage(Out("sweep.bmp")).size(), QSize(760, 343));
}

TEST_F(CliPlot, DrawsFarFieldDiagramsForEitherHost) {
    const PlotRun polar =
        Plot(Data("farfield_below_horizon_30deg.csv"), {"--host", "polar", "--diagram", "elevation",
                                                        "--out", Out("e.svg"), "--print-commands"});
    ASSERT_EQ(polar.code, 0) << polar.err;
    EXPECT_EQ(QSvgRenderer(Out("e.svg")).viewBox(), QRect(0, 0, 500, 500));

    const PlotRun main =
        Plot(Data("farfield_below_horizon_30deg.csv"), {"--out", Out("a.png"), "--print-commands"});
    ASSERT_EQ(main.code, 0) << main.err;
    EXPECT_EQ(QImage(Out("a.png")).size(), QSize(380, 343));
    EXPECT_NE(main.lines.at(0).find("[Size(1,2,2,0)]"), std::string::npos);
}

TEST_F(CliPlot, EveryFileFormatComesOutReadableWithItsOptions) {
    struct Case {
        const char* name;
        const char* magic;
        std::size_t offset;
    };
    for (const Case& c :
         {Case{"p.png", "\x89PNG", 0}, Case{"p.bmp", "BM", 0}, Case{"p.jpg", "\xFF\xD8", 0},
          Case{"p.gif", "GIF87a", 0}, Case{"p.pdf", "%PDF", 0}, Case{"p.svg", "<?xml", 0},
          Case{"p.emf", " EMF", 40}}) { // the header record's signature
        const PlotRun run = Plot(Corpus("farfield_csv", "APET_LazyH-16m_1deg.csv"),
                                 {"--out", Out(c.name), "--size", "300x300"});
        ASSERT_EQ(run.code, 0) << c.name << run.err;
        const std::string bytes = lobex::test::ReadBytes(Out(c.name).toStdString());
        ASSERT_GT(bytes.size(), 100U) << c.name;
        EXPECT_EQ(bytes.substr(c.offset, std::strlen(c.magic)), c.magic) << c.name;
    }
    EXPECT_EQ(QImage(Out("p.png")).size(), QSize(300, 300));
}

TEST_F(CliPlot, FailuresEndWithTheirMessagesAndWriteNothing) {
    const PlotRun missing =
        Plot(Data("farfield_single_zenith.csv"), {"--diagram", "elevation", "--out", Out("o.png")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no elevation diagram"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find(FirstLine(kElevationMessage)), std::string::npos);

    const PlotRun refused =
        Plot(folder.Write("wrong.pf3", "anything\r\n"), {"--out", Out("o.png")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(kUnknownFormatMessage), std::string::npos) << refused.err;

    EXPECT_EQ(Plot(Data("sweep_50ohm.csv"), {"--left", "9", "--out", Out("o.png")}).code, 2);
    EXPECT_FALSE(std::filesystem::exists(Out("o.png").toStdString()));
}

TEST_F(CliPlot, DrawsTheDifferenceOfTwoPatternsOrSaysWhyNot) {
    const std::string a = Data("farfield_below_horizon_30deg.csv");
    std::string text = lobex::test::ReadBytes(a);
    for (std::size_t at = 0; (at = text.find(",8.04", at)) != std::string::npos;) {
        text.replace(at, 5, ",5.04"); // B 3 dB weaker at zenith 60
    }
    const std::string b = folder.Write("b.csv", text);
    const PlotRun run = Plot(a, {"--compare", QString::fromStdString(b), "--difference", "--out",
                                 Out("d.png"), "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    // The polar diagrams come first, as the window draws them, then the difference in their place.
    const auto drawn = std::ranges::find_if(
        run.lines, [](const std::string& line) { return line.find("[Title2(") != line.npos; });
    ASSERT_NE(drawn, run.lines.end());
    const std::string& commands = *drawn;
    EXPECT_NE(commands.find("[Title2(\"B: b.csv  \u2212  A: farfield_below_horizon_30deg.csv\")]"),
              std::string::npos)
        << commands;
    EXPECT_NE(commands.find("[ManualScale(0,-4,360,4)]"), std::string::npos) << commands;
    // The red curve lies below the dotted zero line all round: B is worse everywhere.
    const QImage picture(Out("d.png"));
    int red = 0;
    for (int y = picture.height() / 2; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            red += picture.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 100);

    const std::string apart =
        folder.Write("apart.csv", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n"
                                  "1.0,0.0,-999,1,1\r\n2.0,0.0,-999,1,1\r\n"
                                  "1.0,180.0,-999,1,1\r\n2.0,180.0,-999,1,1\r\n");
    const PlotRun refused = Plot(
        a, {"--compare", QString::fromStdString(apart), "--difference", "--out", Out("r.png")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(kNoCommonAngles), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(Out("r.png").toStdString()));
}

TEST_F(CliPlot, OverlaysComparedFilesNamedInTheLegendOrRefusesAnotherKind) {
    const std::string a = Corpus("farfield_csv", "APET_LazyH-16m2_10deg.csv");
    const std::string b = Corpus("farfield_csv", "APET_4cross_quads2_10deg.csv");
    const PlotRun run = Plot(
        a, {"--compare", QString::fromStdString(b), "--out", Out("o.svg"), "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    // Curves 1-2 are A's (solid), 3-4 B's (dashed); the legend names each file once.
    const std::string& styles = run.lines.at(1);
    for (const char* command :
         {"[LineType(1,1)]", "[Legend(1,\"APET_LazyH-16m2_10deg.csv\")]", "[LineType(3,2)]",
          "[Legend(3,\"APET_4cross_quads2_10deg.csv\")]", "[LineType(4,2)]"}) {
        EXPECT_NE(styles.find(command), std::string::npos) << command << " in " << styles;
    }
    EXPECT_EQ(styles.find("[Legend(2,"), std::string::npos) << "one entry per file";
    // The saved picture carries the legend as the screen does.
    const std::string svg = lobex::test::ReadBytes(Out("o.svg").toStdString());
    EXPECT_NE(svg.find("APET_4cross_quads2_10deg.csv"), std::string::npos);

    const PlotRun sweep = Plot(
        a, {"--compare", QString::fromStdString(Data("sweep_50ohm.csv")), "--out", Out("x.png")});
    EXPECT_EQ(sweep.code, 1);
    EXPECT_NE(sweep.err.find(kCompareOtherKind), std::string::npos) << sweep.err;
    EXPECT_FALSE(std::filesystem::exists(Out("x.png").toStdString()));
    EXPECT_EQ(Plot(a, {"--normalise", "--out", Out("x.png")}).code, 2) << "nothing to normalise";
}

// The chart is checked in a file that can be read: the grid's labels, the sweep's ends with
// their frequencies and the SWR circle are all text of the SVG (in runs of one script each), in
// the decimal symbol asked for.
TEST_F(CliPlot, SmithChartOfASweepAndOfDataWithoutReactance) {
    const PlotRun run =
        Plot(Data("sweep_50ohm.csv"), {"--smith", "--decimal", ",", "--out", Out("smith.svg")});
    ASSERT_EQ(run.code, 0) << run.err;
    QFile file(Out("smith.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    for (const char* text : {"Диаграмма Вольперта-Смита", "Z0=50,0", "14,000 MHz", "14,300 MHz",
                             "КСВ 2,0", "j0,5", "−j2", "∞"}) {
        EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;
    }
    // The rim, five resistance circles, the SWR circle and the two marks.
    EXPECT_GE(svg.count(QStringLiteral("<circle")), 9);

    // A compared sweep goes on the same chart, named in the legend beside the file on show.
    const PlotRun both =
        Plot(Data("sweep_50ohm.csv"),
             {"--smith", "--compare", QString::fromStdString(Data("sweep_75ohm_blank_lines.csv")),
              "--print-commands", "--out", Out("both.png")});
    ASSERT_EQ(both.code, 0) << both.err;
    const std::string commands =
        std::accumulate(both.lines.begin(), both.lines.end(), std::string());
    EXPECT_NE(commands.find("[Legend(2,\"sweep_75ohm_blank_lines.csv\")]"), std::string::npos);
    EXPECT_NE(commands.find("[Legend(1,\"sweep_50ohm.csv\")]"), std::string::npos);

    const PlotRun none = Plot(Data("table_no_reactance.csv"), {"--smith", "--out", Out("no.png")});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find(FirstLine(kNoReactanceMessage)), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(Out("no.png").toStdString()));
    EXPECT_EQ(Plot(Data("farfield_single_zenith.csv"), {"--smith", "--out", Out("f.png")}).code, 2);
}

// A deck compares by its pattern, named after itself in the legend.
TEST_F(CliPlot, ADecksPatternIsComparedWithAFarField) {
    const std::string farField = Corpus("farfield_csv", "APET_LazyH-16m2_10deg.csv");
    const PlotRun run = Plot(Data("nec/yagi3.nec"), {"--compare", QString::fromStdString(farField),
                                                     "--out", Out("o.png"), "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.lines.at(1).find("[Legend(1,\"yagi3.nec\")]"), std::string::npos);
}

} // namespace
} // namespace lobex::cli::test
