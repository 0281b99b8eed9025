#include "CliRun.h"

#include <cmath>
#include <string>

namespace lobex::cli::test {
namespace {

// SWR from R and jX by hand, (1 + |Γ|)/(1 - |Γ|): at 50 ohms the best point 14.15 MHz is just
// under 2 (the file's rounded column says 2.00); at 75 ohms nothing is under 2, and the band
// under 3 runs between the points whose SWR passes 3. jX passes 0 a quarter of the way from
// 14.10 (-2) to 14.15 (+6) MHz.
TEST(CliInfo, ImpedanceFiguresAtTheFilesOwnZ0AndAtOneAsked) {
    struct Case {
        std::vector<std::string> args;
        double z0;
        double minSwr;
        float frequency;
        std::vector<std::pair<double, double>> bands;
    };
    const Case cases[] = {
        {{Data("sweep_50ohm.csv")}, 50.0, 1.998693, 14.15f, {{14.147812, 14.150645}}},
        {{Data("sweep_50ohm.csv"), "--z0", "75"}, 75.0, 2.962440, 14.15f, {}},
        // The header's own Z0 is 75; every other point of the first file.
        {{Data("sweep_75ohm_blank_lines.csv"), "--swr-threshold", "3"},
         75.0,
         2.964409,
         14.2f,
         {{14.152194, 14.216872}}},
    };
    for (const Case& c : cases) {
        const CliRun run = Info(c.args);
        ASSERT_EQ(run.code, 0) << run.err;
        const QJsonObject impedance = run.json["impedance"].toObject();
        EXPECT_EQ(impedance["z0"].toDouble(), c.z0);
        EXPECT_NEAR(impedance["min_swr"].toDouble(), c.minSwr, 1e-5) << c.args.back();
        EXPECT_EQ(F(impedance["min_swr_frequency"]), c.frequency);
        const QJsonArray bands = impedance["bandwidths"].toArray();
        ASSERT_EQ(bands.size(), static_cast<qsizetype>(c.bands.size())) << run.out;
        for (std::size_t i = 0; i < c.bands.size(); ++i) {
            const QJsonObject band = bands[static_cast<qsizetype>(i)].toObject();
            EXPECT_NEAR(band["low"].toDouble(), c.bands[i].first, 1e-5);
            EXPECT_NEAR(band["high"].toDouble(), c.bands[i].second, 1e-5);
        }
        EXPECT_NEAR(impedance["resonances"][0].toDouble(), 14.1125, 1e-5);
    }
    // The grid's columns stay; --z0 adds SWR, |Γ| and return loss after them.
    const CliRun table = RunCommand(RunTable, {Data("sweep_50ohm.csv"), "--z0", "75"}, false);
    EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
              "Частота\tR\tj X\tКСВ\tУсил\tВпер/Назад\tКСВ (75 Ом)\t|Γ|\tОбр. потери");
    EXPECT_NE(table.out.find("\t17.84\t3.45209\t0.55077\t5.18056\n"), std::string::npos);
    // A threshold marks the rows within it, at the file's own Z0 without --z0.
    const CliRun marked =
        RunCommand(RunTable, {Data("sweep_50ohm.csv"), "--swr-threshold", "2.2"}, false);
    EXPECT_EQ(marked.out.substr(0, marked.out.find('\n')),
              "Частота\tR\tj X\tКСВ\tУсил\tВпер/Назад\tКСВ (50 Ом)\t|Γ|\tОбр. потери\tКСВ ≤ 2.2");
    EXPECT_NE(marked.out.find("\t2.50835\t0.42993\t7.332\tвне полосы\n"), std::string::npos);
    EXPECT_NE(marked.out.find("\t2.19897\t0.3748\t8.52402\tв полосе\n"), std::string::npos);

    for (const char* z0 : {"0", "-75", "fifty"}) {
        const CliRun bad = Info({Data("sweep_50ohm.csv"), "--z0", z0});
        EXPECT_EQ(bad.code, 2);
        EXPECT_EQ(bad.err.substr(0, bad.err.find('\n')),
                  "lobex-cli info: --z0 needs an impedance whose resistance is above 0 ohms: "
                  "50, 75, 50-j10");
    }
    EXPECT_EQ(Info({Data("sweep_50ohm.csv"), "--swr-threshold", "0.5"}).code, 2);
}

// Written and opened through the load flow as the window opens it; the numbers read back are
// the model tests', the columns of an opened file the load flow's.
TEST(CliTouchstone, AWrittenFileOpensBackAsTheSameSweep) {
    lobex::test::TempFolder folder;
    const std::string out = (folder.Path() / "MEASURED.S1P").string();
    const CliRun write =
        RunCommand(RunTouchstone, {Data("sweep_50ohm.csv"), "--out", out, "--z0", "75"}, false);
    ASSERT_EQ(write.code, 0) << write.err;
    const std::string bytes = lobex::test::ReadBytes(out);
    // The file's name in its comment, and the Z0 asked for.
    EXPECT_EQ(bytes.substr(0, 46), "! Lobex: sweep_50ohm.csv\r\n# MHz S RI R 75\r\n14 ");

    const CliRun info = Info({out});
    ASSERT_EQ(info.code, 0) << info.out;
    EXPECT_EQ(Text(info.json["kind_name"]), "sweep");
    EXPECT_EQ(info.json["impedance"]["z0"].toDouble(), 75.0); // the file's own

    const CliRun same = RunCommand(RunTouchstone, {out, "--out", out}, false);
    EXPECT_EQ(same.code, 1);
    EXPECT_EQ(lobex::test::ReadBytes(out), bytes);
    const CliRun complex =
        RunCommand(RunTouchstone, {Data("sweep_50ohm.csv"), "--out", out, "--z0", "50-j10"}, false);
    EXPECT_EQ(complex.code, 2);
    EXPECT_EQ(lobex::test::ReadBytes(out), bytes);
}

TEST(CliCompare, PrintsEachResultAndItsDifferenceToTheFirst) {
    const std::string a = Corpus("farfield_csv", "APET_LazyH-16m_1deg.csv");
    const std::string b = Corpus("farfield_csv", "APET_LazyH-16m2_10deg.csv");
    const std::string beam = Data("farfield_below_horizon_30deg.csv");
    const CliRun run = RunCommand(RunCompare, {a, b, beam}, true);
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonArray results = run.json["results"].toArray();
    ASSERT_EQ(results.size(), 3);
    const QJsonObject first = results[0].toObject()["pattern"].toObject();
    const QJsonObject second = results[1].toObject()["pattern"].toObject();
    EXPECT_EQ(Text(results[1].toObject()["file"]), b);
    EXPECT_EQ(results[1].toObject()["kind"].toInt(), KindFarField);
    const QJsonArray differences = run.json["differences"].toArray();
    ASSERT_EQ(differences.size(), 2);
    const QJsonObject ba = differences[0].toObject();
    EXPECT_EQ(Text(ba["file"]), b);
    for (const char* figure : {"max_gain", "beam_width"}) {
        EXPECT_FLOAT_EQ(F(ba[figure]), F(second[figure]) - F(first[figure])) << figure;
    }
    // The beam has 24 dB less behind it (the lazy H's 0 is the model tests').
    EXPECT_FLOAT_EQ(F(results[2].toObject()["front_to_back"]), 24.0f);
    EXPECT_FLOAT_EQ(F(differences[1].toObject()["front_to_back"]), 24.0f);

    const CliRun sweeps = RunCommand(
        RunCompare, {Data("sweep_50ohm.csv"), Data("sweep_75ohm_blank_lines.csv")}, true);
    ASSERT_EQ(sweeps.code, 0) << sweeps.err;
    // The lowest SWR as info computes it from R and jX (its figures are checked with info's).
    EXPECT_NEAR(F(sweeps.json["results"].toArray()[0].toObject()["min_swr"]), 1.99869f, 1e-4f);
    EXPECT_TRUE(sweeps.json["differences"].toArray()[0].toObject().contains("min_swr"));

    // Tables: the best row's SWR and parameter; the same table twice differs by nothing.
    const std::string table = Data("table_optimisation_3sets.csv");
    const CliRun tables = RunCommand(RunCompare, {table, table}, true);
    ASSERT_EQ(tables.code, 0) << tables.err;
    EXPECT_GE(F(tables.json["results"].toArray()[0].toObject()["min_swr"]), 1.0f);
    EXPECT_EQ(F(tables.json["differences"].toArray()[0].toObject()["parameter"]), 0.0f);
}

TEST(CliCompare, FilesThatCannotBeComparedAreRefused) {
    const std::string pattern = Data("farfield_below_horizon_30deg.csv");
    const std::string sweep = Data("sweep_50ohm.csv");
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {{pattern, sweep}, 1, "holds another kind of data than"},
        {{Data("table_optimisation_3sets.csv"), pattern}, 1, "holds another kind of data than"},
        {{Data("currents_3wires.csv"), pattern}, 1, "neither a far field, a sweep nor"},
        {{pattern, Data("missing.csv")}, 1, "did not load: Файл не найден"},
        {{pattern}, 2, "at least two files"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCommand(RunCompare, c.args, false);
        EXPECT_EQ(run.code, c.code) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << c.says;
    }
}

} // namespace
} // namespace lobex::cli::test
