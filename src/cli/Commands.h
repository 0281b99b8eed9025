#pragma once

#include <ostream>
#include <string>
#include <vector>

// The lobex-cli subcommands. Each takes the arguments after its name and returns the exit code.
namespace lobex::cli {

// Loads a file as File > Open does and prints what it left as one JSON object.
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads a file and prints the grid as the user sees it, tab-separated.
int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads a file and writes the graph or polar diagram the window would draw to an image file.
int RunPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lobex::cli
