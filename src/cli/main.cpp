#include "CliSupport.h"
#include "Commands.h"
#include "ProgramBeside.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using lobex::cli::LoadOptions;
using lobex::cli::ParseLoadOptions;
using CommandFunction = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

// Pictures take the plot engine or OpenGL, and reading a running MMANA takes Qt's processes;
// Qt costs a plain run most of its start-up time, so programs of their own do those, with the
// same arguments and output.
int RunProgramWithQt(const char* command, const char* program, const std::vector<std::string>& args,
                     std::ostream& err) {
    std::string error;
    const int status = lobex::cli::RunProgramBeside(program, args, error);
    if (!error.empty()) {
        err << "lobex-cli " << command << ": " << error << '\n';
        return lobex::cli::kExitFailed;
    }
    return status;
}

int RunPlotProgram(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunProgramWithQt("plot", "lobex-plot", args, err);
}

int RunRenderProgram(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunProgramWithQt("render", "lobex-render", args, err);
}

struct Command {
    const char* name;
    CommandFunction run;
    const char* summary;
    bool takesMmana; // FILE|--mmana
};

// One line per subcommand.
constexpr Command kCommands[] = {
    {"info", lobex::cli::RunInfo, "load a file and print what was loaded as JSON", true},
    {"table", lobex::cli::RunTable, "load a file and print the data grid", true},
    {"plot", RunPlotProgram, "load a file and write its graph to an image file", false},
    {"render", RunRenderProgram, "draw the 3D view or a diagram of far-field files, headless",
     false},
    {"model", lobex::cli::RunModel, "write the .x model of a far-field file's pattern", false},
    {"antenna", lobex::cli::RunAntenna, "read an MMANA .maa file and print it as JSON", false},
    {"nec", lobex::cli::RunNec, "write an MMANA .maa model as a NEC-2 deck", false},
    {"compute", lobex::cli::RunCompute, "compute an MMANA .maa model with nec2c (NEC-2)", false},
    {"touchstone", lobex::cli::RunTouchstone, "write a sweep's impedance as a .s1p file", false},
    {"compare", lobex::cli::RunCompare, "compare far fields or sweeps and print the differences",
     false},
};

void PrintUsage(std::ostream& out) {
    out << "Usage: lobex-cli COMMAND [ARGS]\n\nLobex without its window: MMANA exports for "
           "scripts and checks.\n\nCommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << std::string(12 - std::strlen(command.name), ' ')
            << command.summary << '\n';
    }
    out << "\n'lobex-cli COMMAND --help' tells more about a command; 'lobex-cli --version' "
           "gives the version.\n";
}

// Whether a run reads the running MMANA, which lobex-mmana does.
bool ReadsMmana(const Command& command, const std::vector<std::string>& args) {
    LoadOptions options;
    lobex::cli::ImpedanceOptions impedance;
    std::string error;
    return command.takesMmana && ParseLoadOptions(args, options, impedance, error) && options.mmana;
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
    if (args[0] == "--version") {
        std::cout << "lobex-cli " LOBEX_VERSION "\n";
        return 0;
    }
    for (const Command& command : kCommands) {
        if (args[0] == command.name) {
            const std::vector<std::string> rest(args.begin() + 1, args.end());
            if (ReadsMmana(command, rest)) {
                return RunProgramWithQt(command.name, "lobex-mmana", args, std::cerr);
            }
            return command.run(rest, std::cout, std::cerr);
        }
    }
    std::cerr << "lobex-cli: unknown command " << args[0] << "\n\n";
    PrintUsage(std::cerr);
    return 2;
}
