#include "core/SweepFile.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader = "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)\r\n";

TEST(SweepFile, ReadsSixColumnsWithTheirLabelsAndLimits) {
    test::LoadHarness h;
    const std::string path = (test::TestDataFolder() / "sweep_50ohm.csv").string();
    ASSERT_TRUE(LoadSweepFile(h.ctx, path));
    const DataSet& data = h.state.Data;
    EXPECT_EQ(data.DataKind, KindSweep);
    EXPECT_EQ(data.DataText, "Data Loaded");
    const std::vector<std::string> labels = {"Частота", "R",          "j X", "КСВ",
                                             "Усил",    "Впер/Назад", ""};
    for (std::size_t c = 0; c < labels.size(); ++c) {
        EXPECT_EQ(data.Series[c].Label, labels[c]);
    }
    EXPECT_EQ(data.Series[0].Values.size(), 7U);
    EXPECT_EQ(data.Series[0].Values.front(), 14.0f);
    EXPECT_EQ(data.Series[0].Values.back(), 14.3f);
    EXPECT_EQ(data.Series[0].Min, 14.0f);
    EXPECT_EQ(data.Series[0].Max, 14.3f);
    EXPECT_EQ(data.Series[2].Values[0], -18.0f); // jX of the first row
    EXPECT_EQ(data.Series[3].Min, 2.0f);         // the best SWR, at 14.15 MHz
    EXPECT_EQ(data.Series[6].Values, std::vector<float>{0.0f});
    // The grid header comes from the labels; the curve lists get five curves.
    EXPECT_EQ(h.view.grid.header[0], "Частота");
    EXPECT_EQ(h.view.fillCombos, std::vector<int>{5});
    EXPECT_FALSE(h.view.paramEnabled);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(SweepFile, ReadsNumbersByTheLeadingNumberRule) {
    struct Case {
        const char* row;
        std::vector<float> values;
    };
    const Case cases[] = {
        {"14,1,50,0,1.0,7,10", {14.0f, 1.0f, 50.0f, 0.0f, 1.0f, 7.0f}}, // a decimal comma
        {" 14.2 ,abc,-3e1,1.5x,,9,extra", {14.2f, 0.0f, -30.0f, 1.5f, 0.0f, 9.0f}},
        {"+.5,-0.25,1e-2,2.,-0,3", {0.5f, -0.25f, 0.01f, 2.0f, 0.0f, 3.0f}},
    };
    for (const Case& c : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        ASSERT_TRUE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader + c.row + "\r\n"))) << c.row;
        for (std::size_t col = 0; col < c.values.size(); ++col) {
            EXPECT_EQ(h.state.Data.Series[col].Values.at(0), c.values[col]) << c.row << " " << col;
        }
    }
}

TEST(SweepFile, SkipsBlankLinesAnywhereAndReadsEveryLineEnd) {
    for (const char* name : {"sweep_75ohm_blank_lines.csv", "sweep_matched_14150kHz_cr.csv"}) {
        test::LoadHarness h;
        ASSERT_TRUE(LoadSweepFile(h.ctx, (test::TestDataFolder() / name).string())) << name;
        EXPECT_GE(h.state.Data.Series[0].Values.size(), 3U) << name;
        EXPECT_TRUE(h.messages.shown.empty()) << name;
    }
    test::LoadHarness h;
    ASSERT_TRUE(
        LoadSweepFile(h.ctx, (test::TestDataFolder() / "sweep_75ohm_blank_lines.csv").string()));
    EXPECT_EQ(h.state.Data.Series[0].Values, (std::vector<float>{14.0f, 14.1f, 14.2f, 14.3f}));
}

TEST(SweepFile, AHeaderAloneGivesOneRowOfZeros) {
    test::LoadHarness h;
    test::TempFolder folder;
    ASSERT_TRUE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader)));
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(h.state.Data.Series[static_cast<std::size_t>(c)].Values,
                  std::vector<float>{0.0f});
    }
}

TEST(SweepFile, BadRowsAreRefusedWithAMessageAndClearedSeries) {
    struct Case {
        const char* what;
        std::string body;
    };
    std::string tooMany;
    for (int r = 0; r < 32768; ++r) {
        tooMany += "14.0,50,0,1,7,20\n";
    }
    const Case cases[] = {
        {"short line", "14.0,50,0,1,7,20\r\n14.1,50,0\r\n"},
        {"tab-separated", "14.0\t50\t0\t1\t7\t20\r\n"},
        {"beyond the float range", "14.0,1e39,0,1,7,20\r\n"},
        {"more rows than the counter holds", tooMany},
    };
    for (const Case& c : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        EXPECT_FALSE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader + c.body))) << c.what;
        EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Неправильный формат данных"})
            << c.what;
        EXPECT_EQ(h.messages.shown.at(0).icon, MessageIcon::Information);
        EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{0.0f}) << c.what;
        EXPECT_EQ(h.state.Data.Series[0].Label, "") << c.what;
    }
    test::LoadHarness h;
    test::TempFolder folder;
    std::string fullCounter;
    for (int r = 0; r < 32767; ++r) {
        fullCounter += "14.0,50,0,1,7,20\n";
    }
    EXPECT_TRUE(LoadSweepFile(h.ctx, folder.Write("s.csv", kHeader + fullCounter)));
    EXPECT_EQ(h.state.Data.Series[0].Values.size(), 32767U);
}

TEST(SweepFile, RefusesAFileWithoutTheSweepHeader) {
    test::LoadHarness h;
    test::TempFolder folder;
    EXPECT_FALSE(LoadSweepFile(h.ctx, folder.Write("s.csv", "Freq(MHz),R,jX\r\n1,2,3,4,5,6\r\n")));
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Неправильный формат данных"});
}

TEST(SweepFile, EveryReferenceImpedanceInTheHeaderReachesTheSweepReader) {
    const char* headers[] = {
        "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)",
        "Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)",
        "Freq(MHz),R(Om),jX(Om),SWR(75.0Om),Ga(dBi),F/B(dB)",
        "Freq(MHz),R(Om),jX(Om),SWR(50.0-j12.5Om),Ga(dBi),F/B(dB)",
        "  Freq(MHz),R Ohm,jX Ohm,SWR(14.15MHz),Ga(dBi),F/B(dB)  ",
    };
    for (const char* header : headers) {
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
