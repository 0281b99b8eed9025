#include "ApplicationObject.h"
#include "Commands.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

// lobex-cli info and table run this program with their own arguments when they are to read the
// running MMANA, whose link needs Qt: lobex-mmana info|table ARGS.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : argc), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    // The link finds its helper in the program's folder, which Qt tells through this object.
    const auto application = lobex::cli::MakeApplication<QCoreApplication>();
    if (command == "info") {
        return lobex::cli::RunInfo(args, std::cout, std::cerr);
    }
    if (command == "table") {
        return lobex::cli::RunTable(args, std::cout, std::cerr);
    }
    std::cerr << "Usage: lobex-mmana info|table --mmana [OPTIONS]\n";
    return 2;
}
