#include "CliRun.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "graphs/RectangularGraph.h"
#include "graphs/SmithGraph.h"
#include "model/PatternDifference.h"
#include "session/Comparison.h"

#include <QFile>
#include <QImage>
#include <QSvgRenderer>

#include <filesystem>
#include <numeric>

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
    return {program.code, Lines(program.out.toStdString()), program.err};
}

class CliPlot : public ::testing::Test {
protected:
    QString Out(const char* name) const {
        return QString::fromStdString((folder.Path() / name).string());
    }
    lobex::test::TempFolder folder;
};

// The command strings are pinned in the graphs tests; here the graph the options choose, its
// picture's size and the edit flag cleared once the picture is written.
TEST_F(CliPlot, TheOptionsChooseTheGraphAndItsPictureAndPrintTheCommandStrings) {
    struct Case {
        std::string file;
        QStringList args;
        const char* out;
        QSize size;
        const char* command; // in the first command string
        std::size_t lines;
        std::string told; // on standard error; empty: no message
    };
    const std::string sweep = Data("sweep_50ohm.csv");
    const std::string pattern = Data("farfield_below_horizon_30deg.csv");
    const Case cases[] = {
        // The first column against the second, the third on a second axis.
        {sweep, {"--size", "640x360"}, "s.png", {640, 360}, "[Y2AxisLabel(\"j X\")]", 2, ""},
        // Other columns: the fifth on a second axis with its own limits.
        {sweep,
         {"--left", "4", "--right", "5"},
         "g.png",
         {760, 343},
         "[ManualScale(14,6.95,14.3,7.43,17.84,20)]",
         2,
         ""},
        // A refused log axis is told and drawn linear.
        {sweep,
         {"--left", "2", "--right", "0", "--log", "xy"},
         "l.bmp",
         {760, 343},
         "[Scale(3)]",
         2,
         FirstLine(kLogRefusedMessage)},
        // Both diagrams of a far field, for either host.
        {pattern, {}, "a.png", {380, 343}, "[Size(1,2,2,0)]", 4, ""},
        {pattern,
         {"--host", "polar", "--diagram", "elevation"},
         "e.svg",
         {500, 500},
         "[Size(1,3.3,3.3,0)]",
         6,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        const PlotRun run =
            Plot(c.file, c.args + QStringList{"--out", Out(c.out), "--print-commands"});
        ASSERT_EQ(run.code, 0) << run.err;
        const QSize size = std::string_view(c.out).ends_with(".svg")
                               ? QSvgRenderer(Out(c.out)).viewBox().size()
                               : QImage(Out(c.out)).size();
        EXPECT_EQ(size, c.size);
        ASSERT_EQ(run.lines.size(), c.lines);
        EXPECT_NE(run.lines[0].find(c.command), std::string::npos) << run.lines[0];
        EXPECT_EQ(run.lines.back(), "[ClearEditFlag()]");
        if (c.told.empty()) {
            EXPECT_EQ(run.err.find("lobex-cli plot:"), std::string::npos) << run.err;
        } else {
            EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
        }
    }
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

TEST_F(CliPlot, OverlaysComparedFilesAndDecksNamedInTheLegendOrRefusesAnotherKind) {
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
    // A deck compares by its pattern, named after itself.
    const PlotRun deck = Plot(Data("nec/yagi3.nec"), {"--compare", QString::fromStdString(a),
                                                      "--out", Out("d.png"), "--print-commands"});
    ASSERT_EQ(deck.code, 0) << deck.err;
    EXPECT_NE(deck.lines.at(1).find("[Legend(1,\"yagi3.nec\")]"), std::string::npos);

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

} // namespace
} // namespace lobex::cli::test
