#include "CliRun.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace lobex::cli::test {
namespace {

CliRun Info(const std::vector<std::string>& args) {
    return RunCommand(RunInfo, args, true);
}

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
    const CliRun missing = Info({Deck("yagi3.nec"), "--frequency", "14.25"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no frequency 14.25 MHz"), std::string::npos) << missing.err;
}

TEST(CliNec, ADeckNec2cRefusesGivesNec2csErrorAndLeavesNoFolder) {
    const std::filesystem::path deck = std::filesystem::temp_directory_path() /
                                       ("lobex-bad-deck-" + std::to_string(getpid()) + ".nec");
    {
        std::ofstream out(deck);
        out << "CM no wire\nCE\nGW 1 0 0 0 0 0 0 0 0\nGE 0\nEN\n";
    }
    const auto folders = [] {
        int count = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
            count += entry.path().filename().string().starts_with("lobex-nec-") ? 1 : 0;
        }
        return count;
    };
    const int before = folders();
    const CliRun run = Info({deck.string()});
    std::filesystem::remove(deck);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("nec2c failed on"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("GEOMETRY DATA CARD ERROR"), std::string::npos) << run.err;
    EXPECT_EQ(folders(), before);
}

} // namespace
} // namespace lobex::cli::test
