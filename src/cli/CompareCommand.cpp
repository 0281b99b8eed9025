#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "graphs/CurveReading.h"
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
    "front_to_back; for sweeps min_swr and its frequency), and differences, each later file\n"
    "against the first (far fields: max_gain, front_to_back, beam_width; sweeps: min_swr,\n"
    "frequency), as B - A.\n"
    "\n"
    "The files must be of one kind, far fields or sweeps.\n"
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
    } else if (const auto* sweep = std::get_if<Sweep>(&result)) {
        std::vector<float> frequencies;
        std::vector<float> swr;
        std::vector<float> resistance;
        std::vector<float> reactance;
        for (const SweepPoint& point : sweep->points) {
            frequencies.push_back(point.frequency);
            swr.push_back(point.swr);
            resistance.push_back(point.impedance.real());
            reactance.push_back(point.impedance.imag());
        }
        // The same lowest SWR the sweep's graph marks.
        if (const std::optional<CurvePoint> lowest =
                FindSweepMarks(frequencies, swr, reactance, resistance,
                               LineImpedanceOf(sweep->header))
                    .swrMinimum) {
            figures.minSwr = static_cast<float>(lowest->y);
            figures.frequency = static_cast<float>(lowest->x);
        }
        Number(json, "min_swr", figures.minSwr);
        Number(json, "frequency", figures.frequency);
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
        if (kind != KindFarField && kind != KindSweep) {
            err << "lobex-cli compare: " << file << " is neither a far field nor a sweep\n";
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
            Number(json, "frequency", Difference(first.frequency, later.frequency));
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    out << json.Text() << '\n';
    return kExitLoaded;
}

} // namespace lobex::cli
