#include "CliRun.h"

#include <gtest/gtest.h>

namespace lobex::cli::test {
namespace {

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
    // A lazy H radiates both ways alike; the beam has 24 dB less behind it.
    EXPECT_EQ(F(results[0].toObject()["front_to_back"]), 0.0f);
    EXPECT_FLOAT_EQ(F(results[2].toObject()["front_to_back"]), 24.0f);
    EXPECT_FLOAT_EQ(F(differences[1].toObject()["front_to_back"]), 24.0f);

    const CliRun sweeps = RunCommand(
        RunCompare, {Data("sweep_50ohm.csv"), Data("sweep_75ohm_blank_lines.csv")}, true);
    ASSERT_EQ(sweeps.code, 0) << sweeps.err;
    // The lowest SWR as info computes it from R and jX, not the file's rounded column.
    const QJsonObject lowest = sweeps.json["results"].toArray()[0].toObject();
    EXPECT_NEAR(F(lowest["min_swr"]), 1.99869f, 1e-4f);
    EXPECT_FLOAT_EQ(F(lowest["frequency"]), 14.15f);
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
