#pragma once

#include "GridTable.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace lobex {

// The number a grid cell shows, read by the leading-number rule once the locale's decimal
// separator has become "." ("1,23" with "," is 1.23); none for a cell without one ("—", "").
// A magnitude too large for a double counts as an infinity of its sign.
std::optional<double> GridCellNumber(std::string_view cell, std::string_view decimalSeparator);

// How two cells of a column compare when the grid is sorted by it, ascending: numbers by
// value first, then cells with text in byte order, then empty cells. Negative when a comes
// first, positive when b does, 0 when they tie.
int CompareGridCells(std::string_view a, std::string_view b, std::string_view decimalSeparator);

// The data rows of table in the order a sort by column gives: ascending by CompareGridCells,
// or descending, where numbers and texts each run the other way but still come before texts
// and empty cells. Ties keep their order; a row without the column counts as an empty cell.
std::vector<std::size_t> SortedRowOrder(const GridTable& table, std::size_t column, bool descending,
                                        std::string_view decimalSeparator);

} // namespace lobex
