#include "CliSupport.h"
#include "Commands.h"

namespace lobex::cli {
namespace {

constexpr const char* kTableUsage =
    "Usage: lobex-cli table FILE|--mmana [--set N] [--decimal SEP]\n"
    "\n"
    "Loads FILE as File > Open does and prints the data grid as the user sees it: the captions\n"
    "of the columns in use, then every row, cells separated by tabs, in the grid's order.\n"
    "\n"
    "  --mmana        read the result table of the running MMANA instead of a file\n"
    "  --set N        then pick the set list entry whose item data is N\n"
    "  --decimal SEP  the decimal symbol of the grid instead of the locale's\n"
    "\n"
    "Exit status: 0 loaded, 1 the load failed, 2 usage.\n";

void WriteLine(std::ostream& out, const std::vector<std::string>& cells, std::size_t count) {
    for (std::size_t c = 0; c < count; ++c) {
        if (c > 0) {
            out << '\t';
        }
        if (c < cells.size()) {
            out << cells[c];
        }
    }
    out << '\n';
}

} // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LoadOptions options;
    std::string error;
    if (!ParseLoadOptions(args, options, error)) {
        err << "lobex-cli table: " << error << "\n\n" << kTableUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kTableUsage;
        return kExitLoaded;
    }
    Session session;
    const bool loaded = session.Load(options, err);
    if (!loaded) {
        // The grid stays empty: say why, as the window's message box would.
        const std::string source = options.mmana ? std::string("MMANA") : options.file;
        PrintMessages(session.messages, "lobex-cli table: " + source + ": ", err);
    }
    const std::vector<std::string> columns = ColumnsInUse(session.state);
    WriteLine(out, columns, columns.size());
    const GridTable& grid = session.state.Loaded.DataGrid;
    const auto rows = std::min(grid.rows.size(), static_cast<std::size_t>(std::max<int>(
                                                     0, session.state.Loaded.Data.GridRowCount)));
    for (std::size_t r = 0; r < rows; ++r) {
        WriteLine(out, grid.rows[r], columns.size());
    }
    return loaded ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
