#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "core/ImpedanceColumns.h"
#include "graphs/ReferenceImpedance.h"
#include "model/Impedance.h"
#include "model/PatternMetrics.h"
#include "session/DocumentSession.h"

#include <optional>
#include <variant>

namespace lobex::cli {
namespace {

constexpr const char* kCompareUsage =
    "Usage: lobex-cli compare FILE FILE [FILE...]\n"
    "\n"
    "Loads each FILE as File > Open does and prints one JSON object: results, one object per\n"
    "file in order (file, kind and, for far fields, the pattern object of info with its\n"
    "front_to_back; for sweeps min_swr, computed from R and jX at the file's own Z0, and its\n"
    "frequency; for optimisation tables the same of the set on show, its parameter for the\n"
    "frequency), and differences, each later file against the first (far fields: max_gain,\n"
    "front_to_back, beam_width; sweeps: min_swr, frequency; tables: min_swr, parameter), as\n"
    "B - A.\n"
    "\n"
    "The files must be of one kind: far fields, sweeps or optimisation tables.\n"
    "\n"
    "Exit status: 0 compared, 1 a file did not load or the files cannot be compared, 2 usage.\n";

// What one file's comparison needs of it.
struct Figures {
    std::string file;
    std::int16_t kind = KindNone;
    std::optional<float> maxGain;
    std::optional<float> frontToBack;
    std::optional<float> beamWidth;
    std::optional<float> minSwr;
    std::optional<float> frequency;
};

void Number(JsonWriter& json, const char* key, const std::optional<float>& value) {
    json.Key(key);
    value ? json.Number(*value) : json.Null();
}

std::optional<float> Difference(const std::optional<float>& a, const std::optional<float>& b) {
    return a && b ? std::optional<float>(*b - *a) : std::nullopt;
}

// The figures of the document on show, the pattern object written as info writes it.
Figures FiguresOf(const std::string& file, const AppState& state, const Result& result,
                  JsonWriter& json) {
    Figures figures{file, state.Loaded.Data.DataKind, {}, {}, {}, {}, {}};
    json.BeginObject();
    json.Key("file").String(file);
    json.Key("kind").Number(static_cast<long long>(figures.kind));
    if (const auto* pattern = std::get_if<FarFieldPattern>(&result)) {
        WritePattern(json, state);
        figures.maxGain = state.Loaded.Pattern.MaxGain;
        figures.beamWidth = state.Loaded.Pattern.BeamWidth;
        figures.frontToBack = MeasurePattern(*pattern).front_to_back;
        Number(json, "front_to_back", figures.frontToBack);
    } else if (const std::optional<Sweep> sweep = ImpedanceSweepOf(state)) {
        // The lowest SWR as info computes it from R and jX, at the file's own Z0; a table's
        // at its best row, whose parameter stands for the frequency.
        const Checked<ImpedanceFigures> found =
            FindImpedanceFigures(*sweep, FileReferenceImpedance(state.Loaded.Data), 2.0);
        if (found && found.value->min_swr) {
            figures.minSwr = static_cast<float>(*found.value->min_swr);
            figures.frequency = static_cast<float>(*found.value->min_swr_frequency);
        }
        Number(json, "min_swr", figures.minSwr);
        Number(json, figures.kind == KindSweep ? "frequency" : "parameter", figures.frequency);
    }
    json.EndObject();
    return figures;
}

} // namespace

int RunCompare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kCompareUsage;
            return kExitLoaded;
        }
        if (arg.starts_with("--")) {
            err << "lobex-cli compare: unknown option " << arg << "\n\n" << kCompareUsage;
            return kExitUsage;
        }
        files.push_back(arg);
    }
    if (files.size() < 2) {
        err << "lobex-cli compare: at least two files are compared\n\n" << kCompareUsage;
        return kExitUsage;
    }

    AppState state;
    RecordingMessages messages;
    LoadContext ctx{state, messages};
    HeadlessDataView view{ctx};
    DocumentSession session(ctx, view);
    JsonWriter json;
    json.BeginObject();
    json.Key("results").BeginArray();
    std::vector<Figures> figures;
    for (const std::string& file : files) {
        messages.shown.clear();
        if (!session.OpenFile(file)) {
            err << "lobex-cli compare: " << file << " did not load";
            for (const RecordedMessage& message : messages.shown) {
                err << ": " << message.text << (message.detail.empty() ? "" : " (")
                    << message.detail << (message.detail.empty() ? "" : ")");
            }
            err << '\n';
            return kExitFailed;
        }
        figures.push_back(FiguresOf(file, state, *session.Current()->result, json));
        const std::int16_t kind = figures.back().kind;
        if (kind != KindFarField && kind != KindSweep && kind != KindTable) {
            err << "lobex-cli compare: " << file
                << " is neither a far field, a sweep nor an optimisation table\n";
            return kExitFailed;
        }
        if (kind != figures.front().kind) {
            err << "lobex-cli compare: " << file << " holds another kind of data than "
                << figures.front().file << '\n';
            return kExitFailed;
        }
    }
    json.EndArray();
    json.Key("differences").BeginArray();
    const Figures& first = figures.front();
    for (std::size_t i = 1; i < figures.size(); ++i) {
        const Figures& later = figures[i];
        json.BeginObject();
        json.Key("file").String(later.file);
        if (first.kind == KindFarField) {
            Number(json, "max_gain", Difference(first.maxGain, later.maxGain));
            Number(json, "front_to_back", Difference(first.frontToBack, later.frontToBack));
            Number(json, "beam_width", Difference(first.beamWidth, later.beamWidth));
        } else {
            Number(json, "min_swr", Difference(first.minSwr, later.minSwr));
            Number(json, first.kind == KindSweep ? "frequency" : "parameter",
                   Difference(first.frequency, later.frequency));
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    out << json.Text() << '\n';
    return kExitLoaded;
}

} // namespace lobex::cli
