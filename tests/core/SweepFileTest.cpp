#include "core/SweepFile.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"
#include "core/Messages.h"

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

LoadResult Read(const std::string& text) {
    return ReadSweep(text, LoadRequest{});
}

TEST(SweepReader, ReadsSixColumnsWithTheirLabelsLimitsAndCurveLists) {
    const LoadResult result = Read(test::ReadBytes(test::TestDataFolder() / "sweep_50ohm.csv"));
    ASSERT_TRUE(result.loaded);
    const DataSet& data = result.data;
    EXPECT_EQ(SeriesLabels(data),
              (std::vector<std::string>{"Частота", "R", "j X", "КСВ", "Усил", "Впер/Назад", ""}));
    EXPECT_EQ(data.Series[0].Max, 14.3f);
    EXPECT_EQ(data.Series[2].Values[0], -18.0f); // jX of the first row
    EXPECT_EQ(data.Series[3].Min, 2.0f);         // the best SWR, at 14.15 MHz
    EXPECT_EQ(result.sets, SetList{});           // a sweep has no sets
}

TEST(SweepReader, ReadsNumbersByTheLeadingNumberRule) {
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"14,1,50,0,1.0,7,10", {14.0f, 1.0f, 50.0f, 0.0f, 1.0f, 7.0f}}, // a decimal comma
        {" 14.2 ,abc,-3e1,1.5x,,9,extra", {14.2f, 0.0f, -30.0f, 1.5f, 0.0f, 9.0f}},
    };
    for (const auto& [row, values] : cases) {
        const LoadResult result = Read(kHeader + row + "\r\n");
        ASSERT_TRUE(result.loaded) << row;
        for (std::size_t col = 0; col < values.size(); ++col) {
            EXPECT_EQ(result.data.Series[col].Values.at(0), values[col]) << row << " " << col;
        }
    }
}

TEST(SweepReader, ReadsCrLineEndsALastLineWithoutOneAndAFullRowCounter) {
    const LoadResult cr =
        Read(test::ReadBytes(test::TestDataFolder() / "sweep_matched_14150kHz_cr.csv"));
    EXPECT_EQ(cr.data.Series[0].Values, (std::vector<float>{14.1f, 14.15f, 14.2f}));
    const LoadResult lf = Read("Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)\n1,2,3,4,5,6");
    EXPECT_EQ(lf.data.Series[5].Values, std::vector<float>{6.0f});
    EXPECT_EQ(Read(kHeader + Rows(32767)).data.Series[5].Values.size(), 32767U);
}

TEST(SweepReader, RefusesBadTextWithAMessageAndNoData) {
    const std::tuple<const char*, std::string, Rejection> cases[] = {
        {"short line",
         kHeader + "14.0,50,0,1,7,20\r\n14.1,50,0\r\n",
         {"строка %1: нет поля %2", 3, 4}},
        {"a header alone, which would show a row of zeros at 0 MHz",
         kHeader + "\r\n  \r\n",
         {"нет ни одной строки данных"}},
        {"beyond the float range",
         kHeader + "14.0,1e39,0,1,7,20\r\n",
         {"строка %1, поле %2: число не умещается в 32 бита", 2, 2}},
        {"more rows than the counter holds",
         kHeader + Rows(32768),
         {"строка %1: больше 32767 строк", 32769}},
        {"no sweep header",
         "Freq(MHz),R,jX\r\n1,2,3,4,5,6\r\n",
         {"строка %1: заголовок не узнан", 1}},
    };
    for (const auto& [what, text, cause] : cases) {
        const LoadResult result = Read(text);
        EXPECT_FALSE(result.loaded) << what;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{"Неправильный формат данных",
                                                              MessageIcon::Information, cause}}))
            << what;
        EXPECT_EQ(result.data.Series[0].Values, std::vector<float>{0.0f}) << what;
    }
}

TEST(ReadByHeader, EveryReferenceImpedanceInTheHeaderReachesTheSweepReader) {
    for (const char* header : {
             "Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)",
             "Freq(MHz),R(Om),jX(Om),SWR(50.0-j12.5Om),Ga(dBi),F/B(dB)",
             "  Freq(MHz),R Ohm,jX Ohm,SWR(14.15MHz),Ga(dBi),F/B(dB)  ",
             "Freq(MHz),R(Ω),jX(Ω),SWR(50.0-j12.5Ω),Ga(dBi),F/B(dB)",
         }) {
        const LoadResult result =
            ReadByHeader(std::string(header) + "\r\n14.1,50,0,1,7,20\r\n", LoadRequest{});
        ASSERT_TRUE(result.loaded) << header;
        EXPECT_EQ(result.data.Series[0].Values, std::vector<float>{14.1f});
    }
}

// Japanese MMANA writes its sweep in Windows-932 with the ohm sign in the header.
TEST(ReadByHeader, JapaneseMmanasSweepIsReadWithItsValues) {
    const LoadResult result = ReadByHeader(
        test::ReadBytes(test::TestDataFolder() / "sweep_cp932_ohm_sign.csv"), LoadRequest{});
    ASSERT_TRUE(result.loaded);
    EXPECT_EQ(result.reader, KindSweep);
    EXPECT_EQ(result.data.Series[0].Values, (std::vector<float>{14.0f, 14.1f, 14.2f, 14.3f}));
    EXPECT_EQ(result.data.Series[2].Values, (std::vector<float>{-18.0f, -2.0f, 14.0f, 30.0f}));
    EXPECT_EQ(result.data.Series[3].Min, 2.03f);
    EXPECT_TRUE(result.messages.empty());
}

} // namespace
} // namespace lobex
