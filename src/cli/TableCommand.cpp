#include "CliSupport.h"
#include "Commands.h"
#include "core/DataGrid.h"
#include "core/ImpedanceColumns.h"
#include "core/TextRules.h"
#include "graphs/ReferenceImpedance.h"
#include "model/Impedance.h"

#include <cmath>
#include <complex>
#include <optional>

namespace lobex::cli {
namespace {

constexpr const char* kTableUsage =
    "Usage: lobex-cli table FILE|--mmana [--set N] [--decimal SEP] [--z0 Z]\n"
    "                       [--swr-threshold S]\n"
    "\n"
    "Loads FILE as File > Open does and prints the data grid as the user sees it: the captions\n"
    "of the columns in use, then every row, cells separated by tabs, in the grid's order.\n"
    "\n"
    "  --mmana        read the result table of the running MMANA instead of a file\n"
    "  --set N        then pick the set list entry whose item data is N\n"
    "  --decimal SEP  the decimal symbol of the grid instead of the locale's\n"
    "  --z0 Z         for data with R and jX, three more columns after the grid's own: the\n"
    "                 SWR at the reference impedance Z in ohms (50, 75, 50-j10), |Γ| and the\n"
    "                 return loss in dB, from each row's R and jX (∞ for a total reflection\n"
    "                 or a perfect match)\n"
    "  --swr-threshold S  for data with R and jX, the three columns of --z0 (at the file's\n"
    "                 own reference impedance without --z0) and a fourth, \"КСВ ≤ S\":\n"
    "                 \"в полосе\" where the row's SWR is at or below S (the row lies in a\n"
    "                 band info reports), else \"вне полосы\"\n"
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

// A derived cell in the grid's number form; a total reflection or a perfect match has none.
std::string Cell(double value, const std::string& decimalSeparator) {
    return std::isfinite(value) ? FormatPattern(value, kGridCellPattern, decimalSeparator) : "∞";
}

// The SWR, |Γ| and return loss of a grid row at z0, from its own R and jX cells, and, given a
// threshold, whether the SWR is within it.
void AppendReflection(std::vector<std::string>& cells, const ImpedanceColumns& columns,
                      std::complex<double> z0, std::optional<double> threshold,
                      const std::string& decimalSeparator) {
    const auto number = [&](int c) {
        const auto index = static_cast<std::size_t>(c);
        return index < cells.size() ? LeadingNumber(ToPointForm(cells[index], decimalSeparator))
                                    : 0.0;
    };
    const Checked<Reflection> reflection =
        Reflect({number(columns.resistance), number(columns.reactance)}, z0);
    cells.push_back(Cell(reflection.value->swr, decimalSeparator));
    cells.push_back(Cell(reflection.value->magnitude, decimalSeparator));
    cells.push_back(Cell(reflection.value->returnLoss, decimalSeparator));
    if (threshold) {
        cells.emplace_back(reflection.value->swr <= *threshold ? kWithinThreshold
                                                               : kBeyondThreshold);
    }
}

} // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LoadOptions options;
    ImpedanceOptions impedance;
    OptionRules rules = LoadOptionRules(options);
    for (OptionRule& rule : ImpedanceOptionRules(impedance)) {
        rules.push_back(std::move(rule));
    }
    std::string error;
    if (!ParseOptions(args, rules, options.file, options.help, error) ||
        !CheckLoadOptions(options, error)) {
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
    const AppState& state = session.state;
    std::vector<std::string> columns = ColumnsInUse(state);
    const std::size_t gridColumns = columns.size();
    // The derived columns only when asked for: scripts reading the grid keep its columns.
    const bool derive = impedance.z0 || impedance.swrThresholdGiven;
    const std::optional<ImpedanceColumns> impedanceColumns =
        loaded && derive ? FindImpedanceColumns(state.Loaded.Data) : std::nullopt;
    if (loaded && derive && !impedanceColumns) {
        err << "lobex-cli table: " << options.file << " holds no R and jX; "
            << (impedance.z0 ? "--z0" : "--swr-threshold") << " adds nothing\n";
    }
    const std::complex<double> z0 =
        impedance.z0.value_or(FileReferenceImpedance(state.Loaded.Data));
    const std::optional<double> threshold =
        impedance.swrThresholdGiven ? std::optional(impedance.swrThreshold) : std::nullopt;
    if (impedanceColumns) {
        columns.insert(columns.end(), {DerivedSwrCaption(z0), std::string(kReflectionCaption),
                                       std::string(kReturnLossCaption)});
        if (threshold) {
            std::string caption(kWithinThresholdCaption);
            columns.push_back(caption.replace(caption.find("%1"), 2, ShortestText(*threshold)));
        }
    }
    WriteLine(out, columns, columns.size());
    const GridTable& grid = state.Loaded.DataGrid;
    const auto rows =
        std::min(grid.rows.size(),
                 static_cast<std::size_t>(std::max<int>(0, state.Loaded.Data.GridRowCount)));
    for (std::size_t r = 0; r < rows; ++r) {
        std::vector<std::string> cells = grid.rows[r];
        cells.resize(gridColumns);
        if (impedanceColumns) {
            AppendReflection(cells, *impedanceColumns, z0, threshold, state.DecimalSeparator);
        }
        WriteLine(out, cells, columns.size());
    }
    return loaded ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
