#include "LoadHarness.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

// The strongest total gain above the horizon, read with the standard library alone.
float StrongestTotal(const std::filesystem::path& file, std::size_t& rows) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    float best = -100.0f;
    rows = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string zenith, azimuth, vertical, horizontal, total;
        std::getline(fields, zenith, ',');
        std::getline(fields, azimuth, ',');
        std::getline(fields, vertical, ',');
        std::getline(fields, horizontal, ',');
        std::getline(fields, total, ',');
        if (zenith.empty()) {
            continue;
        }
        ++rows;
        if (std::stof(zenith) <= 90.0f) {
            best = std::max(best, std::stof(total));
        }
    }
    return best;
}

TEST(Corpus, EveryRealFarFieldGridLoadsWithItsStrongestGain) {
    const std::filesystem::path folder = test::CorpusFolder() / "farfield_csv";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        test::LoadHarness h;
        ASSERT_TRUE(RunFileOpen(h.ctx, entry.path().string())) << entry.path();
        std::size_t rows = 0;
        const float strongest = StrongestTotal(entry.path(), rows);
        const AppState& s = h.state;
        EXPECT_EQ(s.Pattern.MaxGain, strongest) << entry.path();
        // Each file stops one step short of 360, so the circle is closed with a copy of 0.
        EXPECT_EQ(s.FarField.back().Azimuth, 360.0f) << entry.path();
        const std::size_t points = s.FarField[0].Points.size();
        EXPECT_EQ((s.FarField.size() - 1) * points, rows) << entry.path();
        EXPECT_EQ(s.Data.DataKind, KindFarField);
        EXPECT_GT(s.Pattern.BeamWidth, 0.0f) << entry.path();
        EXPECT_LE(s.Pattern.BeamWidth, 360.0f) << entry.path();
        EXPECT_EQ(s.Data.GridRowCount, static_cast<int>(2 * points - 1)) << entry.path();
        EXPECT_TRUE(h.messages.shown.empty()) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 3);
}

TEST(Corpus, TheOptimiserLogOfAnotherProgramIsRefused) {
    test::LoadHarness h;
    const auto path = test::CorpusFolder() / "tables" / "handiko_160M_4nec2_Optimizer.log";
    EXPECT_FALSE(RunFileOpen(h.ctx, path.string()));
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Неизвестный Формат Файла"});
    // Renamed to .csv it reaches the table reader, which finds no MMANA marker.
    test::TempFolder folder;
    test::LoadHarness renamed;
    EXPECT_FALSE(RunFileOpen(renamed.ctx, folder.Write("log.csv", test::ReadBytes(path))));
    EXPECT_EQ(renamed.MessageTexts(), (std::vector<std::string>{"Неправильный формат данных",
                                                                "Неправильный формат данных"}));
}

TEST(TestData, EveryFixtureLoads) {
    struct Case {
        const char* prefix;
        std::int16_t kind;
    };
    const Case kinds[] = {{"sweep_", KindSweep},
                          {"table_", KindTable},
                          {"currents_", KindCurrents},
                          {"nearfield_", KindNearField},
                          {"farfield_", KindFarField}};
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::TestDataFolder())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".csv") {
            continue;
        }
        test::LoadHarness h;
        ASSERT_TRUE(RunFileOpen(h.ctx, entry.path().string())) << name;
        bool known = false;
        for (const Case& c : kinds) {
            if (name.rfind(c.prefix, 0) == 0) {
                EXPECT_EQ(h.state.Data.DataKind, c.kind) << name;
                known = true;
            }
        }
        EXPECT_TRUE(known) << name;
        EXPECT_GT(h.state.Data.GridRowCount, 0) << name;
        ++files;
    }
    EXPECT_EQ(files, 11);
}

} // namespace
} // namespace lobex
