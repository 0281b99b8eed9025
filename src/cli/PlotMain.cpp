#include "Commands.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

// lobex-cli plot runs this program with its own arguments; see RunPlot.
int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit the write is to fail and be reported, the old file kept, rather
    // than the program ending half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lobex::cli::RunPlot(args, std::cout, std::cerr);
}
