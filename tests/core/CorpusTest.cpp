#include "LoadHarness.h"
#include "core/Messages.h"
#include "core/TextRules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace lobex {
namespace {

// The strongest total gain above the horizon, and the number of data rows, read with the
// standard library alone.
float StrongestTotal(const std::filesystem::path& file, std::size_t& rows) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    float best = -100.0f;
    rows = 0;
    while (std::getline(in, line)) {
        float zenith = 0, azimuth = 0, vertical = 0, horizontal = 0, total = 0;
        if (std::sscanf(line.c_str(), "%f,%f,%f,%f,%f", &zenith, &azimuth, &vertical, &horizontal,
                        &total) == 5) {
            ++rows;
            best = zenith <= 90.0f ? std::max(best, total) : best;
        }
    }
    return best;
}

TEST(Corpus, EveryRealFarFieldGridLoadsWithItsStrongestGain) {
    const std::filesystem::path folder = test::CorpusFolder() / "farfield_csv";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path());
        test::LoadHarness h;
        ASSERT_TRUE(h.Open(entry.path().string()));
        std::size_t rows = 0;
        const AppState& s = h.state;
        EXPECT_EQ(s.Loaded.Pattern.MaxGain, StrongestTotal(entry.path(), rows));
        // Each file stops one step short of 360, so the circle is closed with a copy of 0.
        EXPECT_EQ(s.Loaded.FarField.back().Azimuth, 360.0f);
        const std::size_t points = s.Loaded.FarField[0].Points.size();
        EXPECT_EQ((s.Loaded.FarField.size() - 1) * points, rows);
        EXPECT_GT(s.Loaded.Pattern.BeamWidth, 0.0f);
        EXPECT_TRUE(h.messages.shown.empty());
        ++files;
    }
    EXPECT_EQ(files, 3);
}

// Its own name is refused as every name not ending in .csv is (LoadFlow's test); renamed to .csv
// it reaches the table reader, which finds no MMANA marker.
TEST(Corpus, TheOptimiserLogOfAnotherProgramIsRefused) {
    const auto path = test::CorpusFolder() / "tables" / "handiko_160M_4nec2_Optimizer.log";
    test::TempFolder folder;
    test::LoadHarness renamed;
    EXPECT_FALSE(renamed.Open(folder.Write("log.csv", test::ReadBytes(path))));
    EXPECT_EQ(renamed.messages.Texts(), std::vector<std::string>{std::string(kWrongFormatMessage)});
}

// Japanese MMANA writes Windows-932, the Russian MMANA-GAL Windows-1251; English files are ASCII.
TEST(Corpus, EveryModelFileIsReadInTheEncodingItsMmanaWrote) {
    const std::set<std::string> russian = {
        "handiko_4xQQ_ru_stack.maa", "handiko_DDRR4_ru_cyrillic_title.maa",
        "handiko_MCQM_oldheaders_Sloads.MAA", "handiko_Split_J-ant_V-H145_ru.maa",
        "handiko_Wideband_match_ru.maa"};
    std::map<TextEncoding, int> seen;
    for (const auto& entry : std::filesystem::directory_iterator(test::CorpusFolder() / "maa")) {
        const std::string name = entry.path().filename().string();
        const std::string bytes = test::ReadBytes(entry.path());
        const TextEncoding encoding = DetectEncoding(bytes);
        ++seen[encoding];
        if (name.starts_with("MMANA-JA_")) {
            EXPECT_EQ(encoding, TextEncoding::Cp932) << name;
            EXPECT_NE(DecodeText(bytes).find("*** 給電点 ***"), std::string::npos) << name;
        } else if (russian.contains(name)) {
            EXPECT_EQ(encoding, TextEncoding::Cp1251) << name;
            EXPECT_EQ(DecodeText(bytes), Cp1251ToUtf8(bytes)) << name;
        } else {
            EXPECT_EQ(encoding, TextEncoding::Utf8) << name;
        }
    }
    EXPECT_EQ(seen[TextEncoding::Cp932], 8);
    EXPECT_EQ(seen[TextEncoding::Cp1251], 5);
}

} // namespace
} // namespace lobex
