#include "core/MmanaTable.h"
#include "LoadHarness.h"
#include "core/Errors.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

std::string Fixture(const char* name) {
    return (test::TestDataFolder() / name).string();
}

std::vector<std::string> ParamTexts(const test::RecordingView& view) {
    std::vector<std::string> texts;
    for (const auto& entry : view.params) {
        texts.push_back(entry.text);
    }
    return texts;
}

TEST(IsMmanaTable, KnowsATableByItsMarkersOrItsFirstRow) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        {"No  Val  Para  R", true},
        {"x no target reached", true},
        {"NO GOAL", true},
        {"Optimization", true},
        {"no,set,parameter,R", true},
        {"Val Para", false},          // one space only
        {"1,1,2,3,4,5,6,7,8", false}, // a first line read alone has no CR
        {"1,1,2,3,4,5,6,7,8\r\n2", true},
        {"1 1 2 3 4 5 6 7 8\r\n", true},
        {"  1 1 2 3 4 5 6 7 8\r\n", false}, // leading spaces are fields too
        {"1  1 2 3 4 5 6 7 8\r\n", false},  // a run of spaces gives an empty field
        {"1\t1\t2\t3\t4\t5\t6\t7\t8\r", true},
        {"1 \t1\t2\t3\t4\t5\t6\t7\t8\r", true}, // the first field is trimmed
        {"2,1,2,3,4,5,6,7,8\r\n", false},
        {"1,1,2,3,4,5,6,7\r\n", false},
        {"", false},
        {"Freq(MHz),R(Om)", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsMmanaTable(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TableFile, KeepsTheRowsOfTheChosenSetAndListsEverySet) {
    for (int set : {0, 1, 2, 3}) {
        test::LoadHarness h;
        h.state.Data.SelectedSetIndex = static_cast<std::int16_t>(set);
        ASSERT_TRUE(LoadTableFile(h.ctx, Fixture("table_optimisation_3sets.csv"))) << set;
        const DataSet& data = h.state.Data;
        const int shown = set == 0 ? 1 : set;
        EXPECT_EQ(data.DataKind, KindTable);
        EXPECT_EQ(ParamTexts(h.view), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(h.view.paramIndex, shown - 1);
        EXPECT_TRUE(h.view.paramEnabled);
        EXPECT_FALSE(h.state.ComboFilling);
        // Four rows of the set: parameters 5.20 .. 5.35, R rising with the set number.
        EXPECT_EQ(data.Series[0].Values, (std::vector<float>{5.2f, 5.25f, 5.3f, 5.35f}));
        EXPECT_EQ(data.Series[1].Values[0], 20.0f + static_cast<float>(shown));
        EXPECT_EQ(data.Series[5].Max, 18.0f);
        EXPECT_EQ(data.Series[6].Min, 22.5f);
    }
}

TEST(TableFile, LabelsComeFromTheLastHeaderLine) {
    struct Case {
        const char* name;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"table_optimisation_3sets.csv", {"Parameter", "R", "jX", "SWR", "Ga", "F/B", "Elev"}},
        {"table_val_descending.csv", {"Val", "Para", "R", "jX", "SWR", "Ga", "F/B"}},
        {"table_cp1251_russian.csv", {"Val", "Длина", "R", "jX", "КСВ", "Усил", "F/B"}},
    };
    for (const Case& c : cases) {
        test::LoadHarness h;
        ASSERT_TRUE(LoadTableFile(h.ctx, Fixture(c.name))) << c.name;
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            EXPECT_EQ(h.state.Data.Series[i].Label, c.labels[i]) << c.name;
        }
        EXPECT_EQ(h.view.fillCombos, std::vector<int>{6});
    }
    struct Header {
        const char* lines;
        const char* first;
        const char* last;
    };
    const Header headers[] = {
        {"Optim", "X", "Y6"},                            // no header line
        {"Optim\r\nNo Val R", "X", "Y6"},                // three words
        {"Optim\r\nA B Val C D E F G", "B", "G"},        // eight words: from the second
        {"Optim\r\nNo,Set,Val,a,b,c,d,e,f", "Val", "f"}, // nine words split at commas
    };
    test::TempFolder folder;
    for (const Header& header : headers) {
        test::LoadHarness h;
        const std::string path = folder.Write("t.csv", std::string(header.lines) +
                                                           "\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n");
        ASSERT_TRUE(LoadTableFile(h.ctx, path)) << header.lines;
        EXPECT_EQ(h.state.Data.Series[0].Label, header.first) << header.lines;
        EXPECT_EQ(h.state.Data.Series[6].Label, header.last) << header.lines;
    }
}

TEST(TableFile, ASetWithoutRowsReadsEveryRowAndListsOneSet) {
    test::LoadHarness h;
    h.state.Data.SelectedSetIndex = 7;
    ASSERT_TRUE(LoadTableFile(h.ctx, Fixture("table_optimisation_3sets.csv")));
    EXPECT_EQ(h.state.Data.Series[0].Values.size(), 12U);
    EXPECT_EQ(ParamTexts(h.view), std::vector<std::string>{"3"});
    EXPECT_EQ(h.view.params[0].itemData, 3);
    EXPECT_EQ(h.view.paramIndex, 0);
}

TEST(TableFile, ReloadingASingleSetListDoesNotPileEntriesUp) {
    test::LoadHarness h;
    h.state.Data.SelectedSetIndex = 7;
    ASSERT_TRUE(LoadTableFile(h.ctx, Fixture("table_optimisation_3sets.csv")));
    h.state.SetChosen = true;
    ASSERT_TRUE(LoadTableFile(h.ctx, Fixture("table_optimisation_3sets.csv")));
    ASSERT_TRUE(LoadTableFile(h.ctx, Fixture("table_optimisation_3sets.csv")));
    EXPECT_EQ(ParamTexts(h.view), std::vector<std::string>{"3"});
}

TEST(TableFile, DropsTheBestSetStarAndSkipsStatusAndShortLines) {
    test::LoadHarness h;
    h.state.Data.DataKind = KindTable;
    ASSERT_TRUE(ParseMmanaText(h.ctx, Fixture("table_optimisation_3sets.csv"), 2));
    // Set 2 alone, its starred row without the star, no status line.
    EXPECT_EQ(h.state.Data.DataText, "5\t2\t5.200\t22.00\t-14.00\t1.50\t7.20\t15.00\t22.5\r\n"
                                     "6\t2\t5.250\t24.50\t-9.00\t1.60\t7.20\t16.00\t22.5\r\n"
                                     "7\t2\t5.300\t27.00\t-4.00\t1.70\t7.20\t17.00\t22.5\r\n"
                                     "8\t2\t5.350\t29.50\t1.00\t1.80\t7.20\t18.00\t22.5");
    EXPECT_EQ(h.state.Data.Series[0].Values.size(), 4U);
}

TEST(TableFile, AnyLineWithValIsAHeaderAndShortLinesAreNoData) {
    test::LoadHarness h;
    test::TempFolder folder;
    const std::string path =
        folder.Write("t.csv", "Optim\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n1 1 2 3\r\n"
                              "2 1 14.2 51 1 1.1 interval 21 31\r\n");
    ASSERT_TRUE(LoadTableFile(h.ctx, path));
    EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{14.1f});
    EXPECT_EQ(h.state.Data.HeaderWords.size(), 9U); // the "interval" row became the header
}

TEST(TableFile, ReadsRowsWithTheLocaleDecimalComma) {
    test::LoadHarness h;
    h.state.DecimalSeparator = ",";
    test::TempFolder folder;
    const std::string path =
        folder.Write("t.csv", "Optim\r\n1\t1\t14,150\t50,5\t-1,25\t1,1\t7\t20\t30\r\n");
    ASSERT_TRUE(LoadTableFile(h.ctx, path));
    EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{14.15f});
    EXPECT_EQ(h.state.Data.Series[2].Values, std::vector<float>{-1.25f});
}

TEST(TableFile, RefusalsShowTheParsersMessagesThenTheLoadFlows) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> messages;
        MessageIcon firstIcon;
    };
    const Case cases[] = {
        {"no marker on the first line",
         "1,1,2,3,4,5,6,7,8\r\n1,1,2,3,4,5,6,7,8\r\n",
         {"Неправильный формат данных", "Неправильный формат данных"},
         MessageIcon::Information},
        {"a row of eight fields",
         "Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n",
         {"Subscript out of range", "Неправильный формат данных"},
         MessageIcon::Critical},
        {"a row that cannot be split",
         "Optim\r\nabcdefghijklmnopqrstuvwxyz\r\n",
         {"Subscript out of range", "Неправильный формат данных"},
         MessageIcon::Critical},
        {"no data line at all",
         "Optim\r\nNo goal\r\n",
         {"Ошибка чтения данных", "Неправильный формат данных"},
         MessageIcon::Information},
        {"a value beyond the float range",
         "Optim\r\n1 1 14.1 5e50 0 1.0 7.1 20 30\r\n",
         {"Overflow", "Неправильный формат данных"},
         MessageIcon::Critical},
        {"a set number beyond 16 bits",
         "Optim\r\n1 99999 14.1 50 0 1.0 7.1 20 30\r\n",
         {"Overflow", "Неправильный формат данных"},
         MessageIcon::Critical},
    };
    for (const Case& c : cases) {
        test::LoadHarness h;
        test::TempFolder folder;
        EXPECT_FALSE(LoadFileByHeader(h.ctx, folder.Write("t.csv", c.text))) << c.what;
        EXPECT_EQ(h.MessageTexts(), c.messages) << c.what;
        ASSERT_FALSE(h.messages.shown.empty());
        EXPECT_EQ(h.messages.shown[0].icon, c.firstIcon) << c.what;
        EXPECT_EQ(h.state.Data.Series[0].Values, std::vector<float>{0.0f}) << c.what;
        EXPECT_FALSE(h.state.ComboFilling) << c.what;
    }
}

TEST(TableFile, StatusLineTellsOfRefusedInput) {
    test::LoadHarness h;
    test::TempFolder folder;
    EXPECT_FALSE(ParseMmanaText(h.ctx, folder.Write("t.csv", "plain text\r\n"), 1));
    EXPECT_EQ(h.view.statuses, std::vector<std::string>{"Ошибка ввода данных"});
}

TEST(RowsToSeries, RenumbersRowsAndRebuildsTheSeriesOfTableKinds) {
    AppState state;
    state.Data.DataKind = KindTable;
    // The grid's block text: CR between rows.
    state.Data.DataText = "5\t1\t2\t3\t4\t5\t6\r7\t8\t9\t10\t11\t12\t13\r\n";
    ASSERT_TRUE(RowsToSeries(state, true));
    EXPECT_EQ(state.Data.DataText, "1\t1\t5\t1\t2\t3\t4\t5\t6\r\n2\t1\t7\t8\t9\t10\t11\t12\t13");
    EXPECT_EQ(state.Data.Series[0].Values, (std::vector<float>{5.0f, 7.0f}));
    EXPECT_EQ(state.Data.Series[6].Values, (std::vector<float>{6.0f, 13.0f}));
    EXPECT_EQ(state.Data.Series[6].Max, 13.0f);

    // Kinds that fill their own series keep them.
    state.Data.DataKind = KindFarField;
    state.Data.DataText = "1\t2\t3\t4";
    ASSERT_TRUE(RowsToSeries(state, true));
    EXPECT_EQ(state.Data.DataText, "1\t1\t1\t2\t3\t4");
    EXPECT_EQ(state.Data.Series[0].Values, (std::vector<float>{5.0f, 7.0f}));

    state.Data.DataKind = KindTable;
    state.Data.DataText = "";
    EXPECT_FALSE(RowsToSeries(state, false));
    state.Data.DataText = "single";
    EXPECT_FALSE(RowsToSeries(state, false));
    state.Data.DataText = "1,2,3";
    EXPECT_THROW(RowsToSeries(state, false), RuntimeError);
}

TEST(FillSetList, FilteredListsEverySetAndSelectsTheChosenOne) {
    test::LoadHarness h;
    h.view.onParamClick = [&h](int) {
        EXPECT_TRUE(h.state.ComboFilling);
    };
    FillSetList(h.ctx, "5", true, 3);
    EXPECT_EQ(ParamTexts(h.view), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(h.view.params[4].itemData, 5);
    EXPECT_EQ(h.view.paramIndex, 2);
    EXPECT_FALSE(h.state.ComboFilling);
    FillSetList(h.ctx, "2", true, 4); // no entry 4: nothing selected
    EXPECT_EQ(h.view.ParamCount(), 2);
    EXPECT_EQ(h.view.paramIndex, -1);
    EXPECT_THROW(FillSetList(h.ctx, "40000", true, 1), RuntimeError);
    EXPECT_FALSE(h.state.ComboFilling);
}

} // namespace
} // namespace lobex
