#pragma once

#include <string>
#include <vector>

namespace lobex {

// One data line of an optimisation table as kept (spaces collapsed, MMANA's star gone), with the
// set number it names and the line of the text it stood on.
struct TableRow {
    std::string text;
    double set = 0.0;
    int line = 0;
};

// MMANA's result table: its header words and its data lines, every set.
struct OptimisationTable {
    // Read from MMANA's window rather than from a file.
    bool fromWindow = false;
    std::vector<std::string> headerWords{std::string()};
    std::vector<TableRow> rows;
    // The largest set number: MMANA's optimiser cycles through its variables, so the last line
    // need not name the last set.
    double lastSet = 0.0;
};

} // namespace lobex
