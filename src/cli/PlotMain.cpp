#include "Commands.h"

#include <iostream>
#include <string>
#include <vector>

// lobex-cli plot runs this program with its own arguments; see RunPlot.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lobex::cli::RunPlot(args, std::cout, std::cerr);
}
