#include "core/DataGrid.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace lobex {
namespace {

// A table-kind data set with the given first column and its negation in the second.
void FillTableSeries(AppState& state, const std::vector<float>& first) {
    state.Data.DataKind = KindTable;
    for (std::size_t c = 0; c < kSeriesCount; ++c) {
        SeriesRecord& series = state.Data.Series[c];
        series.Label = "c" + std::to_string(c);
        series.Values.clear();
        for (float value : first) {
            series.Values.push_back(c == 1 ? -value : value + static_cast<float>(c));
        }
    }
}

std::vector<std::string> Column(const GridTable& table, std::size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : table.rows) {
        cells.push_back(row.at(column));
    }
    return cells;
}

TEST(DataGrid, TheEmptyGridHasTheDefaultHeaderAndTwentyRows) {
    test::LoadHarness h;
    h.state.DataGrid.rows = {{"x"}};
    ClearGrid(h.ctx);
    EXPECT_EQ(h.view.grid.header, (std::vector<std::string>{"Парам", "R", "j X", "КСВ", "Усил",
                                                            "Впер/Назад", "Зенит"}));
    EXPECT_TRUE(h.view.grid.rows.empty());
    EXPECT_EQ(h.view.grid.shownRows, 20);
    EXPECT_EQ(h.view.selectedRow, 1);
    SetGridHeader(h.ctx, kGridLanguageHeader);
    EXPECT_EQ(h.view.grid.header[5], "Впер/Наз");
}

TEST(DataGrid, CellsShowTwoToFiveDecimalsInTheUsersDecimalSymbol) {
    struct Case {
        float value;
        const char* separator;
        const char* cell;
    };
    const Case cases[] = {
        {0.1234567f, ".", "0.12346"}, {3.0f, ".", "3.00"},         {-177.29f, ".", "-177.29"},
        {14.15f, ",", "14,15"},       {0.45f, ",", "0,45"},        {1e-7f, ".", "0.00"},
        {-0.000004f, ".", "0.00"},    {2.000005f, ".", "2.00001"},
    };
    for (const Case& c : cases) {
        test::LoadHarness h;
        h.state.DecimalSeparator = c.separator;
        FillTableSeries(h.state, {c.value});
        ClearGrid(h.ctx);
        ASSERT_TRUE(FillGrid(h.ctx));
        EXPECT_EQ(h.view.grid.rows.at(0).at(0), c.cell) << c.value;
    }
}

TEST(DataGrid, RowsAppearInAscendingOrderAndTheSeriesFollowThem) {
    test::LoadHarness h;
    FillTableSeries(h.state, {3.0f, 2.0f, 1.0f, 0.1234567f});
    ClearGrid(h.ctx);
    ASSERT_TRUE(FillGrid(h.ctx));
    EXPECT_EQ(Column(h.view.grid, 0),
              (std::vector<std::string>{"0.12346", "1.00", "2.00", "3.00"}));
    EXPECT_EQ(Column(h.view.grid, 1),
              (std::vector<std::string>{"-0.12346", "-1.00", "-2.00", "-3.00"}));
    EXPECT_EQ(h.state.Data.GridRowCount, 4);
    EXPECT_EQ(h.view.grid.shownRows, 24); // the 20 empty rows stay below the data
    EXPECT_EQ(h.view.grid.rows[0].size(), 7U);
    EXPECT_GT(h.view.pumps, 0);

    h.view.selectedRow = 3;
    ASSERT_TRUE(GridToSeries(h.ctx));
    EXPECT_EQ(h.state.Data.Series[0].Values, (std::vector<float>{0.12346f, 1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(h.state.Data.Series[1].Max, -0.12346f);
    EXPECT_EQ(h.state.Data.DataText.substr(0, 14), "1\t1\t0.12346\t-0");
    EXPECT_EQ(h.view.selectedRow, 3); // the current row stays
}

TEST(DataGrid, OtherKindsKeepTheirSeriesWhenReadBack) {
    test::LoadHarness h;
    FillTableSeries(h.state, {2.0f, 1.0f});
    h.state.Data.DataKind = KindSweep;
    ClearGrid(h.ctx);
    ASSERT_TRUE(FillGrid(h.ctx));
    EXPECT_EQ(h.view.grid.rows[0].size(), 6U); // a sweep shows six columns
    ASSERT_TRUE(GridToSeries(h.ctx));
    EXPECT_EQ(h.state.Data.Series[0].Values, (std::vector<float>{2.0f, 1.0f}));
    EXPECT_EQ(h.state.Data.DataText, "1\t1\t1.00\t-1.00\t3.00\t4.00\t5.00\t6.00\r\n"
                                     "2\t1\t2.00\t-2.00\t4.00\t5.00\t6.00\t7.00");
}

TEST(DataGrid, TheSelectionSnapsBackToTheLastDataRow) {
    AppState state;
    state.Data.GridRowCount = 4;
    EXPECT_EQ(SnapGridRow(state, 3), 3);
    EXPECT_EQ(SnapGridRow(state, 4), 4);
    EXPECT_EQ(SnapGridRow(state, 9), 4);
    state.Data.GridRowCount = 0;
    EXPECT_EQ(SnapGridRow(state, 9), 9); // an empty grid has no data row to snap to
}

TEST(DataGrid, RefusesMoreRowsThanItCanCount) {
    test::LoadHarness h;
    FillTableSeries(h.state, std::vector<float>(32768, 1.0f));
    ClearGrid(h.ctx);
    EXPECT_FALSE(FillGrid(h.ctx));
    EXPECT_TRUE(h.state.DataGrid.rows.empty());
}

TEST(SortRows, IsTheUnstableQuicksortOfTheRowTexts) {
    std::vector<std::string> lines = {"1\ta", "1\tb", "1\tc"};
    SortRows(lines, 0, 2, ".");
    EXPECT_EQ(lines, (std::vector<std::string>{"1\tc", "1\tb", "1\ta"}));

    lines = {"10,5\tx", "9,75\ty", "-1\tz", "10,25"};
    SortRows(lines, 0, 3, ",");
    EXPECT_EQ(lines, (std::vector<std::string>{"-1\tz", "9,75\ty", "10,25", "10,5\tx"}));

    lines = {"3", "2", "1", "0"};
    SortRows(lines, 1, 2, "."); // only the range asked for
    EXPECT_EQ(lines, (std::vector<std::string>{"3", "1", "2", "0"}));
}

TEST(SortRows, SortsLargeInputsOfAnyShape) {
    std::mt19937 random(7);
    for (int shape = 0; shape < 4; ++shape) {
        std::vector<float> keys(20000);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto n = static_cast<float>(i);
            keys[i] = shape == 0   ? n
                      : shape == 1 ? -n
                      : shape == 2 ? static_cast<float>(random() % 50)
                                   : static_cast<float>(i % 2 == 0 ? i : keys.size() - i);
        }
        std::vector<std::string> lines;
        for (float key : keys) {
            lines.push_back(std::to_string(key) + "\trow");
        }
        int pumps = 0;
        SortRows(lines, 0, static_cast<int>(lines.size()) - 1, ".", [&pumps] { ++pumps; });
        std::sort(keys.begin(), keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(std::stof(lines[i]), keys[i]) << "shape " << shape << " row " << i;
        }
        EXPECT_GT(pumps, 0);
    }
}

TEST(CsvExport, HeaderStopsAtTheFirstEmptyLabel) {
    DataSet data;
    const std::vector<std::string> labels = {"Частота", "R",          "j X", "КСВ",
                                             "Усил",    "Впер/Назад", ""};
    for (std::size_t c = 0; c < labels.size(); ++c) {
        data.Series[c].Label = labels[c];
    }
    EXPECT_EQ(CsvHeader(data), "No,Set,Частота,R,j X,КСВ,Усил,Впер/Назад");
    data.Series[2].Label.clear();
    EXPECT_EQ(CsvHeader(data), "No,Set,Частота,R");
    data.DataText = "1\t1\t2,5\t3\r\n2\t1\t4\t5";
    EXPECT_EQ(CsvBody(data), "1,1,2,5,3\r\n2,1,4,5");
}

TEST(CsvExport, WritesWhatTheGridShowsAndReadsBack) {
    test::LoadHarness h;
    test::TempFolder folder;
    FillTableSeries(h.state, {14.2f, 14.1f});
    const std::vector<std::string> labels = {"Parameter", "R", "j X", "SWR", "Ga", "F / B", "Elev"};
    for (std::size_t c = 0; c < labels.size(); ++c) {
        h.state.Data.Series[c].Label = labels[c];
    }
    ClearGrid(h.ctx);
    ASSERT_TRUE(FillGrid(h.ctx));
    ASSERT_TRUE(GridToSeries(h.ctx));
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(ExportCsv(h.ctx, path));
    EXPECT_EQ(test::ReadBytes(path), "No,Set,Parameter,R,j X,SWR,Ga,F / B,Elev\r\n"
                                     "1,1,14.10,-14.10,16.10,17.10,18.10,19.10,20.10\r\n"
                                     "2,1,14.20,-14.20,16.20,17.20,18.20,19.20,20.20\r\n");
    EXPECT_EQ(h.view.statuses.back(), "Данные сохранены в файл: " + path);
    EXPECT_EQ(h.state.SaveFileName, path);

    // Loaded back through the table reader, the numbers are the ones written.
    test::LoadHarness back;
    ASSERT_TRUE(RunFileOpen(back.ctx, folder.Write("again.csv", test::ReadBytes(path))));
    EXPECT_EQ(back.state.Data.Series[0].Values, (std::vector<float>{14.1f, 14.2f}));
    EXPECT_EQ(back.state.Data.Series[6].Label, "Elev");
}

TEST(CsvExport, KeepsTheDecimalCommaOfTheGrid) {
    test::LoadHarness h;
    h.state.DecimalSeparator = ",";
    FillTableSeries(h.state, {0.5f});
    ClearGrid(h.ctx);
    ASSERT_TRUE(FillGrid(h.ctx));
    ASSERT_TRUE(GridToSeries(h.ctx));
    EXPECT_EQ(CsvBody(h.state.Data), "1,1,0,50,-0,50,2,50,3,50,4,50,5,50,6,50");
}

TEST(CsvExport, AFailedWriteKeepsTheStatusAndTellsTheUser) {
    test::LoadHarness h;
    test::TempFolder folder;
    EXPECT_FALSE(ExportCsv(h.ctx, (folder.Path() / "missing" / "x.csv").string()));
    EXPECT_TRUE(h.view.statuses.empty());
    EXPECT_EQ(h.MessageTexts(),
              std::vector<std::string>{"Ошибка записи в файл. Данные не сохранены."});
}

} // namespace
} // namespace lobex
