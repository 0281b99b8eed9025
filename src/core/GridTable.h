#pragma once

#include <string>
#include <vector>

namespace lobex {

// What the data grid shows: one caption per column and the cell texts of each row, in the
// order the user sees them. The program's own logic fills it; windows only display it.
struct GridTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // Rows the grid shows at least, empty ones below the data included.
    int shownRows = 20;
};

} // namespace lobex
