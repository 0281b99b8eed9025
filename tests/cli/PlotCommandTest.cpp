#include "LoadHarness.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>

#include <sstream>
#include <string>
#include <vector>

namespace lobex::cli {
namespace {

struct PlotRun {
    int code = -1;
    std::vector<std::string> lines; // stdout
    std::string err;
};

// lobex-cli plot as a user runs it: its own process, its own QGuiApplication.
PlotRun Plot(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(LOBEX_CLI), QStringList{"plot"} + args);
    EXPECT_TRUE(process.waitForFinished(60000));
    PlotRun run;
    run.code = process.exitCode();
    std::istringstream out(process.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(out, line);) {
        run.lines.push_back(line);
    }
    run.err = process.readAllStandardError().toStdString();
    return run;
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

QString Data(const char* name) {
    return QString::fromStdString((test::TestDataFolder() / name).string());
}

QString Corpus(const char* name) {
    return QString::fromStdString((test::CorpusFolder() / "farfield_csv" / name).string());
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST(CliPlot, RefusesOptionsItCannotUse) {
    const std::vector<std::vector<std::string>> cases = {
        {"sweep.csv"},                       // no --out
        {"sweep.csv", "--out", "graph.xyz"}, // unknown format
        {"sweep.csv", "--out", "graph"},     // no ending at all
        {"sweep.csv", "--out", "graph.png", "--quality", "50"},
        {"sweep.csv", "--out", "graph.jpg", "--quality", "101"},
        {"sweep.csv", "--out", "graph.png", "--grayscale"},
        {"sweep.csv", "--out", "graph.png", "--log", "z"},
        {"sweep.csv", "--out", "graph.png", "--size", "0x10"},
        {"sweep.csv", "--out", "graph.png", "--size", "640"},
        {"sweep.csv", "--out", "graph.png", "--diagram", "side"},
        {"sweep.csv", "--out", "graph.png", "--host", "other"},
        {"sweep.csv", "--out", "graph.png", "--left", "one"},
        {"sweep.csv", "--out", "graph.png", "--colour", "red"},
    };
    for (const std::vector<std::string>& args : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunPlot(args, out, err), 2) << args.back();
        EXPECT_NE(err.str().find("Usage: lobex-cli plot"), std::string::npos) << args.back();
        EXPECT_TRUE(out.str().empty());
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunPlot({"--help"}, out, err), 0);
    EXPECT_NE(out.str().find("--print-commands"), std::string::npos);
}

TEST(CliPlot, WritesASweepGraphAndPrintsItsCommandStrings) {
    NeedGuiApplication();
    const test::TempFolder folder;
    const QString png = QString::fromStdString((folder.Path() / "sweep.png").string());
    const PlotRun run =
        Plot({Data("sweep_50ohm.csv"), "--out", png, "--size", "640x360", "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err.find("lobex-cli plot:"), std::string::npos) << run.err; // no message
    const QImage picture(png);
    EXPECT_EQ(picture.size(), QSize(640, 360));
    ASSERT_EQ(run.lines.size(), 2U);
    // The first column against the second, the third on a second axis in blue, the labels as
    // the grid names the columns.
    EXPECT_EQ(run.lines[0],
              "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)]"
              "[GridLineType(1,1)][AutoSize()]"
              "[SelectCurve(2)][MultipleYAxes(2,2,0)][Y2AxisLabel(\"j X\")]"
              "[ManualScale(14,23.1,14.3,27.9,-18,30)][Color(2,0,0,255)]"
              "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")]"
              "[TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]"
              "[XAxisLabel(\"Частота, MHz\")][Title1(\"Частотные характеристики\")]"
              "[Scale(1)][LineWidth(-2,10)][LineWidth(-1,10)][Caption(\"Lobex Data\")]");
    EXPECT_EQ(run.lines[1], "[ClearEditFlag()]"); // at the stop
}

TEST(CliPlot, ADecimalCommaChangesNoCommandString) {
    const test::TempFolder folder;
    const QString png = QString::fromStdString((folder.Path() / "sweep.png").string());
    const QStringList common = {
        Data("sweep_50ohm.csv"), "--out", png, "--print-commands", "--left", "4", "--right", "5"};
    const PlotRun point = Plot(common + QStringList{"--decimal", "."});
    const PlotRun comma = Plot(common + QStringList{"--decimal", ","});
    ASSERT_EQ(point.code, 0) << point.err;
    ASSERT_EQ(comma.code, 0) << comma.err;
    EXPECT_EQ(comma.lines, point.lines);
    ASSERT_FALSE(point.lines.empty());
    EXPECT_NE(point.lines[0].find("[ManualScale(14,6.95,14.3,7.43,17.84,20)]"), std::string::npos)
        << point.lines[0];
}

TEST(CliPlot, ARefusedLogAxisIsToldOnStderrAndDrawnLinear) {
    NeedGuiApplication();
    const test::TempFolder folder;
    const QString bmp = QString::fromStdString((folder.Path() / "sweep.bmp").string());
    const PlotRun run = Plot({Data("sweep_50ohm.csv"), "--out", bmp, "--left", "2", "--right", "0",
                              "--log", "xy", "--print-commands"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("Логарифмическую шкалу установить нельзя"), std::string::npos);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_NE(run.lines[0].find("[Scale(3)]"), std::string::npos) << run.lines[0];
    EXPECT_EQ(QImage(bmp).size(), QSize(760, 343));
}

TEST(CliPlot, DrawsFarFieldDiagramsForEitherHost) {
    NeedGuiApplication();
    const test::TempFolder folder;
    const QString svg = QString::fromStdString((folder.Path() / "elevation.svg").string());
    const PlotRun polar = Plot({Data("farfield_below_horizon_30deg.csv"), "--host", "polar",
                                "--diagram", "elevation", "--out", svg, "--print-commands"});
    ASSERT_EQ(polar.code, 0) << polar.err;
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 500, 500));
    EXPECT_EQ(Count(polar.lines, "[Color(3,0,128,0)][LineType(3,3)][LineType(2,1)]"), 2);
    int large = 0;
    for (const std::string& line : polar.lines) {
        large += line.find("[Size(1,3.3,3.3,0)]") != std::string::npos &&
                         line.find("[NumTicks(1,36,5)]") != std::string::npos
                     ? 1
                     : 0;
    }
    EXPECT_EQ(large, 2);

    const QString png = QString::fromStdString((folder.Path() / "azimuth.png").string());
    const PlotRun main =
        Plot({Data("farfield_below_horizon_30deg.csv"), "--out", png, "--print-commands"});
    ASSERT_EQ(main.code, 0) << main.err;
    EXPECT_EQ(QImage(png).size(), QSize(380, 343));
    for (const std::string& line : main.lines) {
        EXPECT_EQ(line.find("[Color(3,0,128,0)]"), std::string::npos) << line;
    }
    EXPECT_NE(main.lines.at(0).find("[Size(1,2,2,0)]"), std::string::npos);
}

TEST(CliPlot, EveryFileFormatComesOutReadable) {
    NeedGuiApplication();
    const test::TempFolder folder;
    struct Case {
        const char* name;
        const char* magic;
        std::size_t offset;
    };
    const Case cases[] = {
        {"pattern.png", "\x89PNG", 0}, {"pattern.bmp", "BM", 0},   {"pattern.jpg", "\xFF\xD8", 0},
        {"pattern.gif", "GIF87a", 0},  {"pattern.pdf", "%PDF", 0}, {"pattern.svg", "<?xml", 0},
        {"pattern.emf", " EMF", 40}, // the header record's signature
    };
    for (const Case& c : cases) {
        const std::string path = (folder.Path() / c.name).string();
        const PlotRun run = Plot({Corpus("APET_LazyH-16m_1deg.csv"), "--out",
                                  QString::fromStdString(path), "--size", "300x300"});
        ASSERT_EQ(run.code, 0) << c.name << run.err;
        const std::string bytes = test::ReadBytes(path);
        ASSERT_GT(bytes.size(), 100U) << c.name;
        EXPECT_EQ(bytes.substr(c.offset, std::strlen(c.magic)), c.magic) << c.name;
    }
    EXPECT_EQ(QImage(QString::fromStdString((folder.Path() / "pattern.png").string())).size(),
              QSize(300, 300));
}

TEST(CliPlot, JpegOptionsReachTheWriter) {
    NeedGuiApplication();
    const test::TempFolder folder;
    const QString fine = QString::fromStdString((folder.Path() / "fine.jpg").string());
    const QString rough = QString::fromStdString((folder.Path() / "rough.jpg").string());
    ASSERT_EQ(Plot({Data("sweep_50ohm.csv"), "--out", fine, "--quality", "95"}).code, 0);
    ASSERT_EQ(
        Plot({Data("sweep_50ohm.csv"), "--out", rough, "--quality", "10", "--grayscale"}).code, 0);
    EXPECT_LT(test::ReadBytes(rough.toStdString()).size(),
              test::ReadBytes(fine.toStdString()).size());
    EXPECT_TRUE(QImage(rough).isGrayscale());
    EXPECT_FALSE(QImage(fine).isGrayscale());
}

TEST(CliPlot, FailuresEndWithTheirMessages) {
    const test::TempFolder folder;
    const QString png = QString::fromStdString((folder.Path() / "out.png").string());
    const PlotRun missing =
        Plot({Data("farfield_single_zenith.csv"), "--diagram", "elevation", "--out", png});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no elevation diagram"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("Входной файл содержит недостаточно данных"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(png.toStdString()));

    const std::string wrong = folder.Write("wrong.pf3", "anything\r\n");
    const PlotRun refused = Plot({QString::fromStdString(wrong), "--out", png});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Неизвестный Формат Файла"), std::string::npos) << refused.err;

    const PlotRun column = Plot({Data("sweep_50ohm.csv"), "--left", "9", "--out", png});
    EXPECT_EQ(column.code, 2);
    EXPECT_FALSE(std::filesystem::exists(png.toStdString()));
}

} // namespace
} // namespace lobex::cli
