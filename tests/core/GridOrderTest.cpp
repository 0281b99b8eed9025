#include "core/GridOrder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace lobex {
namespace {

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

TEST(GridOrder, NumbersComeByValueThenTextsThenEmptyCells) {
    EXPECT_LT(CompareGridCells("9,5", "10,25", ","), 0);
    EXPECT_GT(CompareGridCells("-3,5", "-12", ","), 0);
    EXPECT_EQ(CompareGridCells("2,50", "2,5", ","), 0);
    EXPECT_LT(CompareGridCells("1e9", "—", "."), 0);
    EXPECT_LT(CompareGridCells("—", "", "."), 0);
    EXPECT_LT(CompareGridCells("abc", "abd", "."), 0);
    EXPECT_EQ(CompareGridCells("", " ", "."), 0);
}

TEST(GridOrder, AscendingAndDescendingKeepNumbersFirstAndTiesInTheirOrder) {
    const GridTable table = Column({"10,5", "—", "-3,5", "9", "", "1,23", "9,0", "x"});
    // Byte order puts "x" before the dash, a multi-byte character.
    EXPECT_EQ(Sorted(table, false, ","),
              (std::vector<std::string>{"-3,5", "1,23", "9", "9,0", "10,5", "x", "—", ""}));
    EXPECT_EQ(Sorted(table, true, ","),
              (std::vector<std::string>{"10,5", "9", "9,0", "1,23", "-3,5", "—", "x", ""}));
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
