#include "core/MmanaTable.h"
#include "LoadHarness.h"
#include "core/ImpedanceColumns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kThreeSets =
    test::ReadBytes(test::TestDataFolder() / "table_optimisation_3sets.csv");
const std::string kRow = "\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n";

LoadRequest ForSet(int set, const char* decimal = ".") {
    return LoadRequest{set, set != 0, decimal, kPiValue};
}

TEST(IsMmanaTable, KnowsATableByItsMarkersOrItsFirstRow) {
    const std::pair<const char*, bool> cases[] = {
        {"No  Val  Para  R", true},
        {"x no target reached", true},
        {"Optimization", true},
        {"Val Para", false},          // one space only
        {"1,1,2,3,4,5,6,7,8", false}, // a first line read alone has no CR
        {"1 1 2 3 4 5 6 7 8\r\n", true},
        {"1  1 2 3 4 5 6 7 8\r\n", false}, // a run of spaces gives an empty field
        {"2,1,2,3,4,5,6,7,8\r\n", false},
        {"1,1,2,3,4,5,6,7\r\n", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IsMmanaTable(text), expected) << '"' << text << '"';
    }
}

TEST(TableReader, KeepsTheRowsOfTheChosenSetAndListsEverySet) {
    for (int set : {0, 3}) {
        const LoadResult result = ReadTable(kThreeSets, LoadRequest{set, false, ".", kPiValue});
        ASSERT_TRUE(result.loaded) << set;
        const int shown = set == 0 ? 1 : set;
        EXPECT_EQ(test::Texts(*result.sets), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(result.sets->selected, shown - 1);
        EXPECT_EQ(result.data.Series[0].Values, (std::vector<float>{5.2f, 5.25f, 5.3f, 5.35f}));
        EXPECT_EQ(result.data.Series[1].Values[0], 20.0f + static_cast<float>(shown));
    }
    // Set 2 alone, its starred best row without the star, no status line.
    LoadResult second;
    ASSERT_TRUE(ParseMmanaText(kThreeSets, 2, ".", second));
    EXPECT_EQ(second.data.DataText, "5\t2\t5.200\t22.00\t-14.00\t1.50\t7.20\t15.00\t22.5\r\n"
                                    "6\t2\t5.250\t24.50\t-9.00\t1.60\t7.20\t16.00\t22.5\r\n"
                                    "7\t2\t5.300\t27.00\t-4.00\t1.70\t7.20\t17.00\t22.5\r\n"
                                    "8\t2\t5.350\t29.50\t1.00\t1.80\t7.20\t18.00\t22.5");
}

TEST(TableReader, ListsEverySetOfAnOptimiserThatStoppedMidCycle) {
    // Five variables, the optimiser stopping on the third: the last line names set 3, yet sets
    // 4 and 5 are there to be chosen.
    std::string text = "No,Set,Parameter,R,jX,SWR,Ga,F/B,Elev\r\n";
    int row = 0;
    for (int set : {1, 2, 3, 4, 5, 1, 2, 3}) {
        ++row;
        text += std::to_string(row) + " " + std::to_string(set) + " 14." + std::to_string(row) +
                " 50 0 1.1 7.1 20 30\r\n";
    }
    EXPECT_EQ(test::Texts(*ReadTable(text, LoadRequest{}).sets),
              (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    const LoadResult fifth = ReadTable(text, ForSet(5));
    ASSERT_TRUE(fifth.loaded);
    EXPECT_EQ(fifth.data.Series[0].Values, std::vector<float>{14.5f});
}

TEST(TableReader, LabelsComeFromTheLastHeaderLine) {
    const LoadResult russian = ReadByHeader(
        test::ReadBytes(test::TestDataFolder() / "table_cp1251_russian.csv"), LoadRequest{});
    ASSERT_TRUE(russian.loaded);
    EXPECT_EQ(SeriesLabels(russian.data),
              (std::vector<std::string>{"Val", "Длина", "R", "jX", "КСВ", "Усил", "F/B"}));
    const LoadResult japanese = ReadByHeader(
        test::ReadBytes(test::TestDataFolder() / "table_cp932_japanese.csv"), LoadRequest{});
    ASSERT_TRUE(japanese.loaded);
    EXPECT_EQ(SeriesLabels(japanese.data), (std::vector<std::string>{"Val", "長さ", "R(Ω)", "jX(Ω)",
                                                                     "SWR", "Ga(dBi)", "F/B(dB)"}));
    EXPECT_EQ(japanese.data.Series[1].Values, (std::vector<float>{10.2f, 10.25f, 10.3f}));
    EXPECT_EQ(japanese.data.Series[2].Values, (std::vector<float>{60.0f, 62.0f, 64.0f}));
    const std::tuple<const char*, const char*, const char*> headers[] = {
        {"Optim", "X", "Y6"},                            // no header line
        {"Optim\r\nA B Val C D E F G", "B", "G"},        // eight words: from the second
        {"Optim\r\nNo,Set,Val,a,b,c,d,e,f", "Val", "f"}, // nine words split at commas
    };
    for (const auto& [lines, first, last] : headers) {
        const LoadResult result = ReadTable(lines + kRow, ForSet(0));
        ASSERT_TRUE(result.loaded) << lines;
        EXPECT_EQ(result.data.Series[0].Label, first) << lines;
        EXPECT_EQ(result.data.Series[6].Label, last) << lines;
    }
    // A decimal comma of the locale is read.
    const LoadResult comma =
        ReadTable("Optim\r\n1\t1\t14,150\t50,5\t-1,25\t1,1\t7\t20\t30\r\n", ForSet(0, ","));
    EXPECT_EQ(comma.data.Series[0].Values, std::vector<float>{14.15f});
}

TEST(ReadByHeader, ATableRefusalGivesTheParsersOneMessage) {
    const auto info = MessageIcon::Information;
    const auto critical = MessageIcon::Critical;
    const std::tuple<std::string, std::string, MessageIcon, Rejection> cases[] = {
        {"1,1,2,3,4,5,6,7,8\r\n1,1,2,3,4,5,6,7,8\r\n",
         "Неправильный формат данных",
         info,
         {"строка %1: заголовок не узнан", 1}},
        {"Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n",
         "Subscript out of range",
         critical,
         {"строка %1: нет поля %2", 2, 9}},
        {"Optim\r\nNo goal\r\n", "Ошибка чтения данных", info, {"нет ни одной строки данных"}},
        {"Optim\r\n1 1 14.1 5e50 0 1.0 7.1 20 30\r\n",
         "Overflow",
         critical,
         {"строка %1, поле %2: число не умещается в 32 бита", 2, 4}},
        {"Optim\r\n1 99999 14.1 50 0 1.0 7.1 20 30\r\n", "Overflow", critical, {}}, // set: 16 bits
    };
    for (const auto& [text, message, icon, cause] : cases) {
        const LoadResult result = ReadByHeader(text, LoadRequest{});
        EXPECT_FALSE(result.loaded) << text;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{message, icon, cause}})) << text;
    }
    // Text the parser refuses outright is also told of on the status line.
    LoadResult plain;
    EXPECT_FALSE(ParseMmanaText("plain text\r\n", 1, ".", plain));
    EXPECT_EQ(plain.status, "Ошибка ввода данных");
}

// The one rule that every view of R and jX (derived curves, the Smith chart, table --z0, info,
// Touchstone) finds its columns by, over the captions MMANA, its window and translated tables
// write.
TEST(ImpedanceColumns, FoundByKindAndCaption) {
    struct Case {
        std::int16_t kind;
        std::vector<std::string> captions;
        std::optional<std::pair<int, int>> expected;
    };
    const std::vector<Case> cases = {
        {KindSweep, {"Частота", "R", "j X", "КСВ"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "jX", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Val", "Длина", "R", "jX"}, std::pair{2, 3}},
        {KindTable, {"Val", "長さ", "R(Ω)", "jX(Ω)"}, std::pair{2, 3}},
        {KindMmanaWindow, {"Parameter", "R", "j X", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "SWR", "Ga"}, std::nullopt},
        {KindTable, {"Parameter", "Rx", "jX1", "SWR"}, std::nullopt},
        {KindFarField, {"Zenith", "R", "jX"}, std::nullopt},
    };
    for (const Case& c : cases) {
        DataSet data;
        data.DataKind = c.kind;
        for (std::size_t i = 0; i < c.captions.size(); ++i) {
            data.Series[i].Label = c.captions[i];
        }
        const std::optional<ImpedanceColumns> found = FindImpedanceColumns(data);
        ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.captions[1];
        if (found) {
            EXPECT_EQ(found->resistance, c.expected->first) << c.captions[2];
            EXPECT_EQ(found->reactance, c.expected->second) << c.captions[2];
        }
    }
}

} // namespace
} // namespace lobex
