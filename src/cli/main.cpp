#include "Commands.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using CommandFunction = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct Command {
    const char* name;
    CommandFunction run;
    const char* summary;
};

// One line per subcommand.
constexpr Command kCommands[] = {
    {"info", lobex::cli::RunInfo, "load a file and print what was loaded as JSON"},
    {"table", lobex::cli::RunTable, "load a file and print the data grid"},
    {"plot", lobex::cli::RunPlot, "load a file and write its graph to an image file"},
    {"model", lobex::cli::RunModel, "write the .x model of a far-field file's pattern"},
    {"antenna", lobex::cli::RunAntenna, "read an MMANA .maa file and print it as JSON"},
};

void PrintUsage(std::ostream& out) {
    out << "Usage: lobex-cli COMMAND [ARGS]\n\nLobex without its window: MMANA exports for "
           "scripts and checks.\n\nCommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << std::string(8 - std::strlen(command.name), ' ')
            << command.summary << '\n';
    }
    out << "\n'lobex-cli COMMAND --help' tells more about a command.\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (args[0] == command.name) {
            return command.run({args.begin() + 1, args.end()}, std::cout, std::cerr);
        }
    }
    std::cerr << "lobex-cli: unknown command " << args[0] << "\n\n";
    PrintUsage(std::cerr);
    return 2;
}
