#include "GridOrder.h"

#include "Errors.h"
#include "TextRules.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <string>

namespace lobex {
namespace {

// Where a cell sorts: its group (number, text, empty) and, for a number, its value.
struct CellKey {
    int group = 0;
    double number = 0.0;
    std::string_view text;
};

constexpr int kNumberGroup = 0;
constexpr int kTextGroup = 1;
constexpr int kEmptyGroup = 2;

CellKey KeyOf(std::string_view cell, std::string_view decimalSeparator) {
    if (const std::optional<double> number = GridCellNumber(cell, decimalSeparator)) {
        return {kNumberGroup, *number, cell};
    }
    return {TrimSpaces(cell).empty() ? kEmptyGroup : kTextGroup, 0.0, cell};
}

// Ascending order of two keys within and across groups.
int CompareKeys(const CellKey& a, const CellKey& b) {
    if (a.group != b.group) {
        return a.group < b.group ? -1 : 1;
    }
    if (a.group == kNumberGroup) {
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    }
    if (a.group == kEmptyGroup) {
        return 0;
    }
    const int compared = a.text.compare(b.text);
    return compared < 0 ? -1 : (compared > 0 ? 1 : 0);
}

} // namespace

std::optional<double> GridCellNumber(std::string_view cell, std::string_view decimalSeparator) {
    const std::string text = ToPointForm(cell, decimalSeparator);
    std::size_t stop = 0;
    try {
        const double value = LeadingNumber(text, stop);
        if (stop == 0) {
            return std::nullopt;
        }
        return value;
    } catch (const RuntimeError&) {
        const std::size_t first = text.find_first_not_of(" \t");
        const bool negative = first != std::string::npos && text[first] == '-';
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
}

int CompareGridCells(std::string_view a, std::string_view b, std::string_view decimalSeparator) {
    return CompareKeys(KeyOf(a, decimalSeparator), KeyOf(b, decimalSeparator));
}

std::vector<std::size_t> SortedRowOrder(const GridTable& table, std::size_t column, bool descending,
                                        std::string_view decimalSeparator) {
    // Each cell is read once, not at every comparison.
    std::vector<CellKey> keys;
    keys.reserve(table.rows.size());
    for (const std::vector<std::string>& row : table.rows) {
        keys.push_back(
            KeyOf(column < row.size() ? std::string_view(row[column]) : std::string_view(),
                  decimalSeparator));
    }
    std::vector<std::size_t> order(table.rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys, descending](std::size_t x, std::size_t y) {
        const CellKey& a = keys[x];
        const CellKey& b = keys[y];
        const int compared = CompareKeys(a, b);
        // Descending turns the order round within a group only: the groups stay in place.
        return descending && a.group == b.group ? compared > 0 : compared < 0;
    });
    return order;
}

} // namespace lobex
