#include "core/MmanaTable.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kThreeSets = (test::TestDataFolder() / "table_optimisation_3sets.csv").string();

std::vector<std::string> ParamTexts(const test::RecordingView& view) {
    std::vector<std::string> texts;
    for (const auto& entry : view.params) {
        texts.push_back(entry.text);
    }
    return texts;
}

TEST(IsMmanaTable, KnowsATableByItsMarkersOrItsFirstRow) {
    const std::pair<const char*, bool> cases[] = {
        {"No  Val  Para  R", true},
        {"x no target reached", true},
        {"NO GOAL", true},
        {"Optimization", true},
        {"no,set,parameter,R", true},
        {"Val Para", false},          // one space only
        {"1,1,2,3,4,5,6,7,8", false}, // a first line read alone has no CR
        {"1,1,2,3,4,5,6,7,8\r\n2", true},
        {"1 1 2 3 4 5 6 7 8\r\n", true},
        {"  1 1 2 3 4 5 6 7 8\r\n", false},     // leading spaces are fields too
        {"1  1 2 3 4 5 6 7 8\r\n", false},      // a run of spaces gives an empty field
        {"1 \t1\t2\t3\t4\t5\t6\t7\t8\r", true}, // the first field is trimmed
        {"2,1,2,3,4,5,6,7,8\r\n", false},
        {"1,1,2,3,4,5,6,7\r\n", false},
        {"", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IsMmanaTable(text), expected) << '"' << text << '"';
    }
}

TEST(TableFile, KeepsTheRowsOfTheChosenSetAndListsEverySet) {
    for (int set : {0, 1, 3, 7}) {
        test::LoadHarness h;
        h.state.Data.SelectedSetIndex = static_cast<std::int16_t>(set);
        // Selecting the entry while the list is filled must not count as the user's choice.
        h.view.onParamClick = [&h](int) {
            EXPECT_TRUE(h.state.ComboFilling);
        };
        ASSERT_TRUE(LoadTableFile(h.ctx, kThreeSets)) << set;
        const std::vector<float>& parameters = h.state.Data.Series[0].Values;
        if (set == 7) {
            // No rows of set 7: the file is read whole and the list holds a single entry.
            EXPECT_EQ(parameters.size(), 12U);
            EXPECT_EQ(ParamTexts(h.view), std::vector<std::string>{"3"});
            EXPECT_EQ(h.view.paramIndex, 0);
            continue;
        }
        const int shown = set == 0 ? 1 : set;
        EXPECT_EQ(ParamTexts(h.view), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(h.view.paramIndex, shown - 1);
        EXPECT_EQ(parameters, (std::vector<float>{5.2f, 5.25f, 5.3f, 5.35f}));
        EXPECT_EQ(h.state.Data.Series[1].Values[0], 20.0f + static_cast<float>(shown));
    }
}

TEST(TableFile, ReloadingASingleSetListDoesNotPileEntriesUp) {
    test::LoadHarness h;
    h.state.Data.SelectedSetIndex = 7;
    ASSERT_TRUE(LoadTableFile(h.ctx, kThreeSets));
    h.state.SetChosen = true;
    ASSERT_TRUE(LoadTableFile(h.ctx, kThreeSets));
    ASSERT_TRUE(LoadTableFile(h.ctx, kThreeSets));
    EXPECT_EQ(ParamTexts(h.view), std::vector<std::string>{"3"});
}

TEST(TableFile, LabelsComeFromTheLastHeaderLine) {
    const std::pair<const char*, std::vector<std::string>> files[] = {
        {"table_optimisation_3sets.csv", {"Parameter", "R", "jX", "SWR", "Ga", "F/B", "Elev"}},
        {"table_val_descending.csv", {"Val", "Para", "R", "jX", "SWR", "Ga", "F/B"}},
        {"table_cp1251_russian.csv", {"Val", "Длина", "R", "jX", "КСВ", "Усил", "F/B"}},
    };
    for (const auto& [name, labels] : files) {
        test::LoadHarness h;
        ASSERT_TRUE(LoadTableFile(h.ctx, (test::TestDataFolder() / name).string())) << name;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(h.state.Data.Series[i].Label, labels[i]) << name;
        }
    }
    const std::tuple<const char*, const char*, const char*> headers[] = {
        {"Optim", "X", "Y6"},                            // no header line
        {"Optim\r\nNo Val R", "X", "Y6"},                // three words
        {"Optim\r\nA B Val C D E F G", "B", "G"},        // eight words: from the second
        {"Optim\r\nNo,Set,Val,a,b,c,d,e,f", "Val", "f"}, // nine words split at commas
    };
    test::TempFolder folder;
    for (const auto& [lines, first, last] : headers) {
        test::LoadHarness h;
        ASSERT_TRUE(LoadTableFile(
            h.ctx,
            folder.Write("t.csv", std::string(lines) + "\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n")))
            << lines;
        EXPECT_EQ(h.state.Data.Series[0].Label, first) << lines;
        EXPECT_EQ(h.state.Data.Series[6].Label, last) << lines;
    }
}

TEST(TableFile, DropsTheBestSetStarAndSkipsStatusAndShortLines) {
    test::LoadHarness h;
    h.state.Data.DataKind = KindTable;
    ASSERT_TRUE(ParseMmanaText(h.ctx, kThreeSets, 2));
    // Set 2 alone, its starred row without the star, no status line.
    EXPECT_EQ(h.state.Data.DataText, "5\t2\t5.200\t22.00\t-14.00\t1.50\t7.20\t15.00\t22.5\r\n"
                                     "6\t2\t5.250\t24.50\t-9.00\t1.60\t7.20\t16.00\t22.5\r\n"
                                     "7\t2\t5.300\t27.00\t-4.00\t1.70\t7.20\t17.00\t22.5\r\n"
                                     "8\t2\t5.350\t29.50\t1.00\t1.80\t7.20\t18.00\t22.5");

    // A data line holding "Val" in any case is a header; a decimal comma of the locale is read.
    test::LoadHarness comma;
    comma.state.DecimalSeparator = ",";
    test::TempFolder folder;
    ASSERT_TRUE(LoadTableFile(
        comma.ctx, folder.Write("t.csv", "Optim\r\n1\t1\t14,150\t50,5\t-1,25\t1,1\t7\t20\t30\r\n"
                                         "1 1 2 3\r\n2 1 14.2 51 1 1.1 interval 21 31\r\n")));
    EXPECT_EQ(comma.state.Data.Series[0].Values, std::vector<float>{14.15f});
    EXPECT_EQ(comma.state.Data.Series[2].Values, std::vector<float>{-1.25f});
    EXPECT_EQ(comma.state.Data.HeaderWords.size(), 9U);
}

TEST(TableFile, RefusalsShowTheParsersMessageThenTheLoadFlows) {
    const auto info = MessageIcon::Information;
    const auto critical = MessageIcon::Critical;
    const std::tuple<std::string, std::string, MessageIcon> cases[] = {
        {"1,1,2,3,4,5,6,7,8\r\n1,1,2,3,4,5,6,7,8\r\n", "Неправильный формат данных", info},
        {"Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n", "Subscript out of range", critical},
        {"Optim\r\nabcdefghijklmnopqrstuvwxyz\r\n", "Subscript out of range", critical},
        {"Optim\r\nNo goal\r\n", "Ошибка чтения данных", info},
        {"Optim\r\n1 1 14.1 5e50 0 1.0 7.1 20 30\r\n", "Overflow", critical},
        {"Optim\r\n1 99999 14.1 50 0 1.0 7.1 20 30\r\n", "Overflow", critical}, // set: 16 bits
    };
    for (const auto& [text, message, icon] : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        EXPECT_FALSE(LoadFileByHeader(h.ctx, folder.Write("t.csv", text))) << text;
        EXPECT_EQ(h.MessageTexts(),
                  (std::vector<std::string>{message, "Неправильный формат данных"}))
            << text;
        EXPECT_EQ(h.messages.shown.at(0).icon, icon) << text;
        EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{0.0f}) << text;
        EXPECT_FALSE(h.state.ComboFilling) << text;
    }
    // Text the parser refuses outright is also told of on the status line.
    test::LoadHarness h;
    test::TempFolder folder;
    EXPECT_FALSE(ParseMmanaText(h.ctx, folder.Write("t.csv", "plain text\r\n"), 1));
    EXPECT_EQ(h.view.statuses, std::vector<std::string>{"Ошибка ввода данных"});
}

} // namespace
} // namespace lobex
