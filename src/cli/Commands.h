#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The lobex-cli subcommands. Each takes the arguments after its name and returns the exit code.
namespace lobex::cli {

// Loads a file as File > Open does and prints what it left as one JSON object.
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads a file and prints the grid as the user sees it, tab-separated.
int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads a file and writes the graph or polar diagram the window would draw to an image file.
int RunPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same for another command that draws diagrams (render), whose name its errors carry.
int RunPlotAs(std::string_view command, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err);
// Reads a far-field file and writes the .x model of its pattern, binary or text.
int RunModel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads two or more far fields or sweeps and prints their figures and differences as JSON.
int RunCompare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Loads a sweep and writes its impedance as a Touchstone one-port file (.s1p).
int RunTouchstone(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reads an MMANA model file and prints its wires, sources and loads as one JSON object.
int RunAntenna(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes an MMANA model as a NEC-2 deck, or computes it with nec2c and writes the output.
int RunNec(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCompute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lobex::cli
