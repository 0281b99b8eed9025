#include "core/DataGrid.h"
#include "LoadHarness.h"
#include "core/GridOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace lobex {
namespace {

const char* const kLabels[] = {"Parameter", "R", "j X", "SWR", "Ga", "F / B", "Elev"};

// A table shown in the grid: the given first column, its negation in the second, and the first
// column plus c in column c.
bool ShowTable(test::LoadHarness& h, const std::vector<float>& first,
               std::int16_t kind = KindTable) {
    h.state.Loaded.Data.DataKind = kind;
    for (std::size_t c = 0; c < kSeriesCount; ++c) {
        SeriesRecord& series = h.state.Loaded.Data.Series[c];
        series.Label = kLabels[c];
        series.Values.clear();
        for (float value : first) {
            series.Values.push_back(c == 1 ? -value : value + static_cast<float>(c));
        }
    }
    ClearGrid(h.state);
    return FillGrid(h.state);
}

TEST(DataGrid, RowsAppearInAscendingOrderAndReadBackIntoTheSeries) {
    test::LoadHarness h;
    ASSERT_TRUE(ShowTable(h, {3.0f, 2.0f, 1.0f, 0.1234567f}));
    EXPECT_EQ(h.state.Loaded.DataGrid.rows.front()[1], "-0.12346");
    EXPECT_EQ(h.state.Loaded.DataGrid.rows.back()[1], "-3.00");
    EXPECT_EQ(h.state.Loaded.DataGrid.shownRows, 24); // the 20 empty rows stay below the data
    ASSERT_TRUE(GridToSeries(h.state));
    // A table is rebuilt from the shown texts; other kinds keep their own series.
    EXPECT_EQ(h.state.Loaded.Data.Series[0].Values,
              (std::vector<float>{0.12346f, 1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(h.state.Loaded.Data.Series[0].Min, 0.12346f); // what info reports as the minimum
    test::LoadHarness sweep;
    ASSERT_TRUE(ShowTable(sweep, {2.0f, 1.0f}, KindSweep));
    ASSERT_TRUE(GridToSeries(sweep.state));
    EXPECT_EQ(sweep.state.Loaded.Data.Series[0].Values, (std::vector<float>{2.0f, 1.0f}));
    EXPECT_EQ(sweep.state.Loaded.Data.DataText, "1\t1\t1.00\t-1.00\t3.00\t4.00\t5.00\t6.00\r\n"
                                                "2\t1\t2.00\t-2.00\t4.00\t5.00\t6.00\t7.00");
}

TEST(DataGrid, TheSelectionSnapsBackToTheLastDataRow) {
    AppState state;
    state.Loaded.Data.GridRowCount = 4;
    EXPECT_EQ(SnapGridRow(state, 9), 4);
    state.Loaded.Data.GridRowCount = 0;
    EXPECT_EQ(SnapGridRow(state, 9), 9); // an empty grid has no data row to snap to
}

TEST(DataGrid, RefusesMoreRowsThanItCanCount) {
    test::LoadHarness h;
    EXPECT_FALSE(ShowTable(h, std::vector<float>(32768, 1.0f)));
    EXPECT_TRUE(h.state.Loaded.DataGrid.rows.empty());
}

TEST(SortRows, SortsByTheLeadingNumberInTheUsersDecimalSymbol) {
    std::vector<std::string> lines = {"10,5\tx", "9,75\ty", "-1\tz", "10,25"};
    SortRows(lines, 0, 3, ",");
    EXPECT_EQ(lines, (std::vector<std::string>{"-1\tz", "9,75\ty", "10,25", "10,5\tx"}));
    lines = {"3", "2", "1", "0"};
    SortRows(lines, 1, 2, "."); // only the range asked for
    EXPECT_EQ(lines, (std::vector<std::string>{"3", "1", "2", "0"}));

    // Large inputs of any shape: ascending, descending, many equal keys, zigzag.
    for (int shape = 0; shape < 4; ++shape) {
        std::vector<int> keys;
        lines.clear();
        for (int i = 0; i < 20000; ++i) {
            const int key[] = {i, -i, i % 50, i % 2 == 0 ? i : 20000 - i};
            keys.push_back(key[shape]);
            lines.push_back(std::to_string(key[shape]) + "\trow");
        }
        SortRows(lines, 0, 19999, ".");
        std::sort(keys.begin(), keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(std::stoi(lines[i]), keys[i]) << "shape " << shape << " row " << i;
        }
    }
}

TEST(CsvExport, WritesWhatTheGridShowsWithTheLabelsUpToTheFirstEmptyOne) {
    test::LoadHarness h;
    test::TempFolder folder;
    ASSERT_TRUE(ShowTable(h, {14.2f, 14.1f}));
    ASSERT_TRUE(GridToSeries(h.state));
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(ExportCsv(h.ctx, path));
    EXPECT_EQ(test::ReadBytes(path), "No,Set,Parameter,R,j X,SWR,Ga,F / B,Elev\r\n"
                                     "1,1,14.10,-14.10,16.10,17.10,18.10,19.10,20.10\r\n"
                                     "2,1,14.20,-14.20,16.20,17.20,18.20,19.20,20.20\r\n");
    EXPECT_EQ(SavedStatus(path), "Данные сохранены в файл: " + path);
    h.state.Loaded.Data.Series[4].Label.clear();
    EXPECT_EQ(CsvHeader(h.state.Loaded.Data), "No,Set,Parameter,R,j X,SWR");

    // Under a decimal comma the cells are written with "." (a comma there would split them), and
    // the file reads back to the same values under that locale.
    test::LoadHarness comma;
    comma.state.DecimalSeparator = ",";
    ASSERT_TRUE(ShowTable(comma, {0.5f, 14.15f}));
    ASSERT_TRUE(GridToSeries(comma.state));
    const std::string commaPath = (folder.Path() / "comma.csv").string();
    ASSERT_TRUE(ExportCsv(comma.ctx, commaPath));
    test::LoadHarness commaBack;
    commaBack.state.DecimalSeparator = ",";
    ASSERT_TRUE(commaBack.Open(commaPath));
    EXPECT_EQ(commaBack.state.Loaded.Data.Series[0].Values, (std::vector<float>{0.5f, 14.15f}));
}

GridTable Column(const std::vector<std::string>& cells) {
    GridTable table;
    table.header = {"A"};
    for (const std::string& cell : cells) {
        table.rows.push_back({cell});
    }
    return table;
}

std::vector<std::string> Sorted(const GridTable& table, bool descending,
                                std::string_view separator) {
    std::vector<std::string> cells;
    for (std::size_t row : SortedRowOrder(table, 0, descending, separator)) {
        cells.push_back(table.rows[row][0]);
    }
    return cells;
}

TEST(GridOrder, CellsReadAsNumbersInTheLocalesFormOrNotAtAll) {
    EXPECT_EQ(GridCellNumber("1,23", ","), 1.23);
    EXPECT_EQ(GridCellNumber("-3.5", "."), -3.5);
    EXPECT_EQ(GridCellNumber(" 2.5e3", "."), 2500.0);
    EXPECT_EQ(GridCellNumber("12.5 dB", "."), 12.5);
    // With "." as the separator a comma ends the number.
    EXPECT_EQ(GridCellNumber("1,23", "."), 1.0);
    for (const char* none : {"—", "", "   ", "None", "-"}) {
        EXPECT_FALSE(GridCellNumber(none, ",").has_value()) << none;
    }
    // Too large for any number: an infinity of its sign, still above or below every value.
    EXPECT_EQ(GridCellNumber("1e999", "."), HUGE_VAL);
    EXPECT_EQ(GridCellNumber(" -1e999", "."), -HUGE_VAL);
}

// Numbers by value, then texts, then empty or blank cells; ties keep their order either way.
TEST(GridOrder, AscendingAndDescendingKeepNumbersFirstAndTiesInTheirOrder) {
    const GridTable table =
        Column({"10,5", "—", "-3,5", "9", "", "1,23", "9,0", "x", "-12", " ", "2,50", "2,5"});
    // Byte order puts "x" before the dash, a multi-byte character.
    EXPECT_EQ(Sorted(table, false, ","),
              (std::vector<std::string>{"-12", "-3,5", "1,23", "2,50", "2,5", "9", "9,0", "10,5",
                                        "x", "—", "", " "}));
    EXPECT_EQ(Sorted(table, true, ","),
              (std::vector<std::string>{"10,5", "9", "9,0", "2,50", "2,5", "1,23", "-3,5", "-12",
                                        "—", "x", "", " "}));
}

TEST(GridOrder, RowsMissingTheColumnSortAsEmptyAndOtherColumnsComeAlong) {
    GridTable table;
    table.header = {"F", "SWR"};
    table.rows = {{"14.0", "2.17"}, {"14.1"}, {"14.2", "1.05"}, {"14.3", "11.8"}};
    EXPECT_EQ(SortedRowOrder(table, 1, false, "."), (std::vector<std::size_t>{2, 0, 3, 1}));
    EXPECT_EQ(SortedRowOrder(table, 1, true, "."), (std::vector<std::size_t>{3, 0, 2, 1}));
    EXPECT_EQ(SortedRowOrder(table, 0, true, "."), (std::vector<std::size_t>{3, 2, 1, 0}));
    EXPECT_TRUE(SortedRowOrder(GridTable{}, 0, false, ".").empty());
}

} // namespace
} // namespace lobex
