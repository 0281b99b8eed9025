#include "CliRun.h"

#include <cmath>
#include <filesystem>

namespace lobex::cli::test {
namespace {

std::string Deck(const char* name) {
    return (TestDataFolder() / "nec" / name).string();
}

// The decks of tests/data/nec run through the real nec2c. The expected numbers are the ones
// nec2c itself prints for them: the input impedance, the efficiency, and the strongest line of
// the pattern (theta 90 is the horizon, so elevation 90 - theta).
TEST(CliNec, ADeckIsRunThroughNec2cAndItsNumbersAreNec2cs) {
    struct Case {
        const char* deck;
        float mhz;
        float r, x;
        float maxGain, elevation, azimuth;
        float efficiency;
        int frequencies;
    };
    const Case cases[] = {
        {"dipole_free_space.nec", 14.2f, 73.200f, 7.7467f, 2.14f, 0.0f, 0.0f, 100.0f, 3},
        {"dipole_perfect_ground.nec", 14.2f, 69.745f, -38.821f, 8.00f, 30.0f, 0.0f, 100.0f, 1},
        // The Yagi beams along +X: azimuth 0 at the horizon.
        {"yagi3.nec", 14.3f, 29.666f, -6.3654f, 7.65f, 0.0f, 0.0f, 99.14f, 5},
        // Over real ground NEC-2's budget counts no ground loss; the maximum is at theta 70.
        {"vertical_radials.nec", 14.2f, 23.237f, -11.124f, 0.50f, 20.0f, 0.0f, 100.0f, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deck);
        const CliRun run = Info({Deck(c.deck), "--frequency", std::to_string(c.mhz)});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.json["kind_name"].toString(), "far_field");
        EXPECT_EQ(run.json["frequencies"].toArray().size(), c.frequencies);
        EXPECT_EQ(F(run.json["frequency"]), c.mhz);
        const QJsonObject source = run.json["sources"].toArray()[0].toObject();
        EXPECT_EQ(F(source["r"]), c.r);
        EXPECT_EQ(F(source["x"]), c.x);
        const QJsonObject pattern = run.json["pattern"].toObject();
        EXPECT_EQ(F(pattern["max_gain"]), c.maxGain);
        EXPECT_EQ(F(pattern["max_elevation"]), c.elevation);
        EXPECT_EQ(F(pattern["max_azimuth"]), c.azimuth);
        EXPECT_EQ(F(pattern["efficiency"]), c.efficiency);
    }
}

TEST(CliNec, PartsOfAnOutputAndWhatItLacks) {
    const CliRun sweep = Info({Deck("yagi3.nec"), "--part", "sweep"});
    ASSERT_EQ(sweep.code, 0) << sweep.err;
    EXPECT_EQ(sweep.json["kind_name"].toString(), "sweep");
    EXPECT_EQ(sweep.json["rows"].toInt(), 5);
    // A Yagi has a back: its F/B is no zero, unlike the dipole's.
    EXPECT_GT(F(sweep.json["sweep"].toArray()[2].toObject()["front_to_back"]), 5.0f);

    const CliRun currents = Info({Deck("yagi3.nec"), "--part", "currents"});
    ASSERT_EQ(currents.code, 0) << currents.err;
    EXPECT_EQ(currents.json["kind_name"].toString(), "currents");
    EXPECT_EQ(currents.json["set_list"].toArray().size(), 3);

    const CliRun near = Info({Deck("dipole_perfect_ground.nec"), "--part", "near-field"});
    ASSERT_EQ(near.code, 0) << near.err;
    EXPECT_EQ(near.json["kind_name"].toString(), "near_field");

    const CliRun none = Info({Deck("yagi3.nec"), "--part", "near-field"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("no near-field at 14 MHz"), std::string::npos) << none.err;
    // Each frequency's pattern figures are the ones its sweep row was built from; the average
    // gain over the sphere is the radiation efficiency the budget prints.
    for (const QJsonValue& row : sweep.json["sweep"].toArray()) {
        const double mhz = row.toObject()["frequency"].toDouble();
        SCOPED_TRACE(mhz);
        const CliRun pattern = Info({Deck("yagi3.nec"), "--frequency", std::to_string(mhz)});
        ASSERT_EQ(pattern.code, 0) << pattern.err;
        const QJsonObject figures = pattern.json["pattern"].toObject()["figures"].toObject();
        EXPECT_EQ(F(figures["front_to_back"]), F(row.toObject()["front_to_back"]));
        EXPECT_NEAR(F(figures["average_gain"]),
                    10.0 * std::log10(F(pattern.json["pattern"].toObject()["efficiency"]) / 100.0),
                    0.05);
    }
    const CliRun missing = Info({Deck("yagi3.nec"), "--frequency", "14.25"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no frequency 14.25 MHz"), std::string::npos) << missing.err;
}

TEST(CliNec, ADeckNec2cRefusesGivesNec2csErrorAndLeavesNoFolder) {
    const lobex::test::TempFolder folder;
    const auto folders = [] {
        int count = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
            count += entry.path().filename().string().starts_with("lobex-nec-") ? 1 : 0;
        }
        return count;
    };
    const int before = folders();
    const CliRun run =
        Info({folder.Write("bad.nec", "CM no wire\nCE\nGW 1 0 0 0 0 0 0 0 0\nGE 0\nEN\n")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("nec2c failed on"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("GEOMETRY DATA CARD ERROR"), std::string::npos) << run.err;
    EXPECT_EQ(folders(), before);
}

// An MMANA model computed through its NEC-2 deck gives what the same antenna's hand-written deck
// gives: the dipole segmented automatically (21 segments for 10.3 m at DM2 = 40), the Yagi with
// its own 21 per wire.
TEST(CliNec, AModelComputedGivesItsHandWrittenDecksNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"dipole_free_space.maa", "dipole_free_space.nec"},
        {"yagi3.maa", "yagi3_lossless.nec"},
    };
    const lobex::test::TempFolder folder;
    for (const auto& [model, deck] : cases) {
        SCOPED_TRACE(model);
        const std::string out = (folder.Path() / (std::string(model) + ".out")).string();
        const CliRun computed = RunCommand(
            RunCompute, {(TestDataFolder() / "maa" / model).string(), "--out", out}, false);
        ASSERT_EQ(computed.code, 0) << computed.err;
        EXPECT_NE(lobex::test::ReadBytes(out).find("Computed by NEC-2"), std::string::npos);
        const CliRun fromModel = Info({out, "--frequency", "14.2"});
        const CliRun fromDeck = Info({Deck(deck), "--frequency", "14.2"});
        ASSERT_EQ(fromModel.code, 0) << fromModel.err;
        EXPECT_EQ(fromModel.json["frequencies"].toArray().size(), 11);
        EXPECT_EQ(fromModel.json["sources"], fromDeck.json["sources"]);
        EXPECT_EQ(fromModel.json["pattern"].toObject()["max_gain"],
                  fromDeck.json["pattern"].toObject()["max_gain"]);
    }
}

// A model that cannot be computed is refused at its line; what a deck cannot hold is named on
// standard error and in the deck's comments.
TEST(CliNec, BadModelsAreRefusedAtTheirLineAndLeftOutPartsAreNamed) {
    using lobex::test::ReadBytes;
    const std::string dipole = ReadBytes(TestDataFolder() / "maa" / "dipole_free_space.maa");
    const auto with = [&dipole](std::string_view from, std::string_view to) {
        std::string text = dipole;
        return text.replace(text.find(from), from.size(), to);
    };
    struct Case {
        std::string text;
        int code;
        const char* said;
        const char* inDeck;
    };
    const Case cases[] = {
        {with("14.2", "0"), 1, "строка 3: частота модели должна быть больше 0 МГц", nullptr},
        {with("w1c", "x1"), 1, "строка 9: место источник \"x1\" не прочитано", nullptr},
        {with("w1c", "w2c"), 1, "строка 9: источник на проводе, которого нет в файле", nullptr},
        {with("w1c,", "w1b-1,"), 1, "строка 9: место за концом провода", nullptr},
        {with("0,\t0\r\n***Seg", "1,\t1\r\nw1c,\t7,\t1.0\r\n***Seg"), 1,
         "строка 12: вид нагрузки 7 не известен", nullptr},
        {with("0,\t20.0", "1,\t-1.0"), 1, "строка 6: провод уходит под землю", nullptr},
        {with("0,\t20.0", "2,\t10.0"), 0, "реальная земля: проницаемость 13",
         "GN 2 0 0 0 13 0.005"},
        {ReadBytes(CorpusFolder() / "maa" / "handiko_3-YAGI-20_taper_notitle.maa"), 0,
         "раздел $$$Taper wire set$$$ не перенесён", "Section $$$Taper wire set$$$ not carried."},
        {ReadBytes(CorpusFolder() / "maa" / "MMANA-JA_4X12.MAA"), 0,
         "стек 4x1 не перенесён: в колоде одна антенна", "Stack 4x1 not carried"},
    };
    const lobex::test::TempFolder folder;
    const std::string deck = (folder.Path() / "model.nec").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        const CliRun run =
            RunCommand(RunNec, {folder.Write("model.maa", c.text), "--out", deck}, false);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(std::filesystem::exists(deck), c.inDeck != nullptr);
        if (c.inDeck != nullptr) {
            EXPECT_NE(ReadBytes(deck).find(c.inDeck), std::string::npos) << ReadBytes(deck);
        }
        std::filesystem::remove(deck);
    }
}

} // namespace
} // namespace lobex::cli::test
