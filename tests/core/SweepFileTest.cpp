#include "core/SweepFile.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader = "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)\r\n";

std::string Rows(int count) {
    std::string rows;
    for (int r = 0; r < count; ++r) {
        rows += "14.0,50,0,1,7,20\n";
    }
    return rows;
}

TEST(SweepFile, ReadsSixColumnsWithTheirLabelsAndLimits) {
    test::LoadHarness h;
    ASSERT_TRUE(LoadSweepFile(h.ctx, (test::TestDataFolder() / "sweep_50ohm.csv").string()));
    const DataSet& data = h.state.Data;
    EXPECT_EQ(data.DataKind, KindSweep);
    const std::vector<std::string> labels = {"Частота", "R",          "j X", "КСВ",
                                             "Усил",    "Впер/Назад", ""};
    for (std::size_t c = 0; c < labels.size(); ++c) {
        EXPECT_EQ(data.Series[c].Label, labels[c]);
    }
    EXPECT_EQ(data.Series[0].Values.size(), 7U);
    EXPECT_EQ(data.Series[0].Max, 14.3f);
    EXPECT_EQ(data.Series[2].Values[0], -18.0f); // jX of the first row
    EXPECT_EQ(data.Series[3].Min, 2.0f);         // the best SWR, at 14.15 MHz
    EXPECT_EQ(h.view.fillCombos, std::vector<int>{5});
}

TEST(SweepFile, ReadsNumbersByTheLeadingNumberRule) {
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"14,1,50,0,1.0,7,10", {14.0f, 1.0f, 50.0f, 0.0f, 1.0f, 7.0f}}, // a decimal comma
        {" 14.2 ,abc,-3e1,1.5x,,9,extra", {14.2f, 0.0f, -30.0f, 1.5f, 0.0f, 9.0f}},
        {"+.5,-0.25,1e-2,2.,-0,3", {0.5f, -0.25f, 0.01f, 2.0f, 0.0f, 3.0f}},
    };
    for (const auto& [row, values] : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        ASSERT_TRUE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader + row + "\r\n"))) << row;
        for (std::size_t col = 0; col < values.size(); ++col) {
            EXPECT_EQ(h.state.Data.Series[col].Values.at(0), values[col]) << row << " " << col;
        }
    }
}

TEST(SweepFile, SkipsBlankLinesAnywhereAndReadsEveryLineEnd) {
    const std::pair<const char*, std::vector<float>> files[] = {
        {"sweep_75ohm_blank_lines.csv", {14.0f, 14.1f, 14.2f, 14.3f}},
        {"sweep_matched_14150kHz_cr.csv", {14.1f, 14.15f, 14.2f}},
    };
    for (const auto& [name, frequencies] : files) {
        test::LoadHarness h;
        ASSERT_TRUE(LoadSweepFile(h.ctx, (test::TestDataFolder() / name).string())) << name;
        EXPECT_EQ(h.state.Data.Series[0].Values, frequencies) << name;
        EXPECT_TRUE(h.messages.shown.empty()) << name;
    }
}

TEST(SweepFile, AHeaderAloneGivesOneRowOfZerosAndAFullCounterLoads) {
    for (int rows : {0, 32767}) {
        test::LoadHarness h;
        test::TempFolder folder;
        ASSERT_TRUE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader + Rows(rows)))) << rows;
        for (std::size_t c = 0; c <= 5; ++c) {
            EXPECT_EQ(h.state.Data.Series[c].Values.size(),
                      static_cast<std::size_t>(std::max(rows, 1)))
                << rows;
        }
        EXPECT_EQ(h.state.Data.Series[1].Values[0], rows == 0 ? 0.0f : 50.0f);
    }
}

TEST(SweepFile, BadFilesAreRefusedWithAMessageAndClearedSeries) {
    const std::pair<const char*, std::string> cases[] = {
        {"short line", kHeader + "14.0,50,0,1,7,20\r\n14.1,50,0\r\n"},
        {"tab-separated", kHeader + "14.0\t50\t0\t1\t7\t20\r\n"},
        {"beyond the float range", kHeader + "14.0,1e39,0,1,7,20\r\n"},
        {"more rows than the counter holds", kHeader + Rows(32768)},
        {"no sweep header", "Freq(MHz),R,jX\r\n1,2,3,4,5,6\r\n"},
    };
    for (const auto& [what, text] : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        EXPECT_FALSE(LoadSweepFile(h.ctx, folder.Write("s.csv", text))) << what;
        EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Неправильный формат данных"}) << what;
        EXPECT_EQ(h.messages.shown.at(0).icon, MessageIcon::Information);
        EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{0.0f}) << what;
        EXPECT_EQ(h.state.Data.Series[0].Label, "") << what;
    }
}

TEST(SweepFile, EveryReferenceImpedanceInTheHeaderReachesTheSweepReader) {
    for (const char* header : {
             "Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)",
             "Freq(MHz),R(Om),jX(Om),SWR(75.0Om),Ga(dBi),F/B(dB)",
             "Freq(MHz),R(Om),jX(Om),SWR(50.0-j12.5Om),Ga(dBi),F/B(dB)",
             "  Freq(MHz),R Ohm,jX Ohm,SWR(14.15MHz),Ga(dBi),F/B(dB)  ",
         }) {
        test::LoadHarness h;
        test::TempFolder folder;
        const std::string path =
            folder.Write("s.csv", std::string(header) + "\r\n14.1,50,0,1,7,20\r\n");
        ASSERT_TRUE(LoadFileByHeader(h.ctx, path)) << header;
        EXPECT_EQ(h.state.Data.DataKind, KindSweep) << header;
        EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{14.1f});
    }
}

} // namespace
} // namespace lobex
