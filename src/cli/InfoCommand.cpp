#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "MessageList.h"
#include "core/ImpedanceColumns.h"
#include "core/NecFile.h"
#include "model/Impedance.h"
#include "model/PatternMetrics.h"

#include <cmath>
#include <utility>
#include <variant>

namespace lobex::cli {
namespace {

constexpr const char* kInfoUsage =
    "Usage: lobex-cli info FILE|--mmana [--set N] [--decimal SEP] [--z0 Z] [--swr-threshold S]\n"
    "                      [--frequency MHZ] [--part pattern|sweep|currents|near-field]\n"
    "\n"
    "Loads FILE as File > Open does and prints one JSON object: kind (and kind_name), columns,\n"
    "rows, min, max, set_list, set_selected, pattern (far fields, with its figures), impedance\n"
    "(sweeps and tables with R and jX) and messages. As in the window, a FILE whose name ends\n"
    "in neither .csv nor .s1p (Touchstone, opened as a sweep) is refused (\"Неизвестный Формат\n"
    "Файла\"), whatever it holds, unless it is a NEC-2 output (nec2c's or NEC-2D's, known by its\n"
    "content); of a .csv file the first line chooses the reader. A NEC-2 deck (.nec) is run\n"
    "through nec2c first. Of a NEC-2 output, frequencies lists its frequencies (MHz, file\n"
    "order), sources, sweep and the pattern's efficiency (percent) are added.\n"
    "\n"
    "pattern.figures: front_to_back, front_to_rear, front_to_side, side_lobe_level and\n"
    "side_lobe_azimuth, elevation_beam_width, elevation_beam_low and elevation_beam_high,\n"
    "average_gain and directivity (dB and degrees; null where the grid cannot give one).\n"
    "impedance: z0 and z0_reactance (ohms), swr_threshold, min_swr and min_swr_frequency (the\n"
    "SWR computed from R and jX), bandwidths (each {low, high} in MHz, where the SWR is at or\n"
    "below the threshold) and resonances (MHz, where jX crosses zero).\n"
    "\n"
    "  --mmana        read the result table of the running MMANA instead of a file\n"
    "  --set N        then pick the set list entry whose item data is N (set or wire number,\n"
    "                 zenith index of a far field), as a user would\n"
    "  --decimal SEP  the decimal symbol of the grid instead of the locale's\n"
    "  --z0 Z         the reference impedance in ohms (50, 75, 50-j10); by default the one the\n"
    "                 file's SWR header names, else 50\n"
    "  --swr-threshold S  the SWR that bounds the bandwidths (default 2)\n"
    "  --frequency MHZ  of a NEC-2 output, that frequency instead of the first\n"
    "  --part PART    of a NEC-2 output, pattern (far field, the default), sweep (impedance,\n"
    "                 SWR at 50 ohm, gain and F/B over the frequencies), currents or near-field\n"
    "\n"
    "Exit status: 0 loaded, 1 the load failed (the JSON is printed all the same), 2 usage.\n";

// The kind's name, for scripts that would rather not know the numbers.
const char* KindName(std::int16_t kind) {
    switch (kind) {
    case KindMmanaWindow:
        return "mmana_window";
    case KindNearField:
        return "near_field";
    case KindSweep:
        return "sweep";
    case KindCurrents:
        return "currents";
    case KindFarField:
        return "far_field";
    case KindTable:
        return "table";
    default:
        return "none";
    }
}

// A NEC output's frequencies, the one on show, and (for a sweep) its points; the efficiency of
// the frequency on show goes to the pattern object.
void WriteNec(JsonWriter& json, const NecOutput& nec, double asked,
              std::optional<float>& efficiency) {
    std::vector<float> frequencies;
    for (const NecFrequency& frequency : nec.frequencies) {
        frequencies.push_back(static_cast<float>(frequency.mhz));
    }
    json.Key("frequencies").Numbers(frequencies);
    const NecFrequency& shown =
        nec.frequencies[static_cast<std::size_t>(ShownNecFrequency(nec, asked))];
    json.Key("frequency").Number(static_cast<float>(shown.mhz));
    json.Key("engine").String(nec.fortran ? "NEC-2D" : "nec2c");
    if (shown.budget) {
        efficiency = static_cast<float>(shown.budget->efficiency);
    }
    json.Key("sources").BeginArray();
    for (const NecSource& source : shown.sources) {
        json.BeginObject();
        json.Key("tag").Number(static_cast<long long>(source.tag));
        json.Key("segment").Number(static_cast<long long>(source.segment));
        json.Key("r").Number(static_cast<float>(source.impedance.real()));
        json.Key("x").Number(static_cast<float>(source.impedance.imag()));
        json.Key("power").Number(static_cast<float>(source.power));
        json.EndObject();
    }
    json.EndArray();
    const Sweep sweep = NecSweep(nec, kNecSweepImpedance);
    json.Key("sweep").BeginArray();
    for (const SweepPoint& point : sweep.points) {
        json.BeginObject();
        json.Key("frequency").Number(point.frequency);
        json.Key("r").Number(point.impedance.real());
        json.Key("x").Number(point.impedance.imag());
        json.Key("swr").Number(point.swr);
        json.Key("gain").Number(point.gain);
        json.Key("front_to_back").Number(point.frontToBack);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void WritePattern(JsonWriter& json, const AppState& state, std::optional<float> efficiency) {
    const PatternResults& p = state.Loaded.Pattern;
    json.Key("pattern").BeginObject();
    json.Key("columns").Number(static_cast<long long>(state.Loaded.FarField.size()));
    json.Key("points").Number(static_cast<long long>(state.Loaded.FarField.front().Points.size()));
    json.Key("max_gain").Number(p.MaxGain);
    json.Key("max_elevation").Number(p.MaxElevation);
    json.Key("max_azimuth").Number(p.MaxAzimuth);
    json.Key("beam_width").Number(p.BeamWidth);
    json.Key("beam_left").Number(p.BeamLeft);
    json.Key("beam_right").Number(p.BeamRight);
    json.Key("plot_range").Number(p.PlotRange);
    json.Key("elevation_cut_available").Bool(p.ElevationCutAvailable);
    const FarFieldPattern* pattern =
        state.Loaded.Document != nullptr
            ? ShownPattern(*state.Loaded.Document, state.View.NecFrequency)
            : nullptr;
    if (pattern != nullptr) {
        const PatternMetrics figures = MeasurePattern(*pattern);
        json.Key("figures").BeginObject();
        for (const auto& [key, value] : {
                 std::pair{"front_to_back", figures.front_to_back},
                 std::pair{"front_to_rear", figures.front_to_rear},
                 std::pair{"front_to_side", figures.front_to_side},
                 std::pair{"side_lobe_level", figures.side_lobe_level},
                 std::pair{"side_lobe_azimuth", figures.side_lobe_azimuth},
                 std::pair{"elevation_beam_width", figures.elevation_beam_width},
                 std::pair{"elevation_beam_low", figures.elevation_beam_low},
                 std::pair{"elevation_beam_high", figures.elevation_beam_high},
                 std::pair{"average_gain", figures.average_gain},
                 std::pair{"directivity", figures.directivity},
             }) {
            json.Key(key);
            value ? json.Number(*value) : json.Null();
        }
        json.EndObject();
    }
    if (efficiency) {
        json.Key("efficiency").Number(*efficiency);
    }
    json.EndObject();
}

void WriteImpedance(JsonWriter& json, const Sweep& sweep, const ImpedanceOptions& options) {
    const std::complex<double> z0 = ReferenceImpedance(options, sweep);
    const Checked<ImpedanceFigures> figures = FindImpedanceFigures(sweep, z0, options.swrThreshold);
    // JSON has no infinity: a sweep of pure reactances has no lowest SWR.
    const auto number = [&json](const std::optional<double>& value) {
        value ? json.Number(static_cast<float>(*value)) : json.Null();
    };
    json.Key("impedance").BeginObject();
    json.Key("z0").Number(static_cast<float>(z0.real()));
    json.Key("z0_reactance").Number(static_cast<float>(z0.imag()));
    json.Key("swr_threshold").Number(static_cast<float>(options.swrThreshold));
    const bool found = figures && figures.value->min_swr && std::isfinite(*figures.value->min_swr);
    json.Key("min_swr");
    number(found ? figures.value->min_swr : std::nullopt);
    json.Key("min_swr_frequency");
    number(found ? figures.value->min_swr_frequency : std::nullopt);
    json.Key("bandwidths").BeginArray();
    std::vector<float> resonances;
    if (figures) {
        for (const Band& band : figures.value->bandwidths) {
            json.BeginObject();
            json.Key("low").Number(static_cast<float>(band.low));
            json.Key("high").Number(static_cast<float>(band.high));
            json.EndObject();
        }
        for (const double frequency : figures.value->resonances) {
            resonances.push_back(static_cast<float>(frequency));
        }
    }
    json.EndArray();
    json.Key("resonances").Numbers(resonances);
    json.EndObject();
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LoadOptions options;
    ImpedanceOptions impedance;
    std::string error;
    if (!ParseLoadOptions(args, options, impedance, error)) {
        err << "lobex-cli info: " << error << "\n\n" << kInfoUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kInfoUsage;
        return kExitLoaded;
    }
    Session session;
    const bool loaded = session.Load(options, err);
    const AppState& state = session.state;
    const DataSet& data = state.Loaded.Data;
    const std::vector<std::string> columns = ColumnsInUse(state);

    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(options.mmana ? std::string("MMANA") : options.file);
    json.Key("kind").Number(static_cast<long long>(data.DataKind));
    json.Key("kind_name").String(KindName(data.DataKind));
    json.Key("columns").Strings(columns);
    json.Key("rows").Number(static_cast<long long>(data.GridRowCount));
    std::vector<float> minimum;
    std::vector<float> maximum;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        minimum.push_back(data.Series[c].Min);
        maximum.push_back(data.Series[c].Max);
    }
    json.Key("min").Numbers(minimum);
    json.Key("max").Numbers(maximum);
    std::vector<std::string> entries;
    for (const SetListEntry& entry : state.Loaded.Sets.entries) {
        entries.push_back(entry.text);
    }
    json.Key("set_list").Strings(entries);
    json.Key("set_selected");
    if (state.Loaded.Sets.selected >= 0) {
        json.Number(static_cast<long long>(state.Loaded.Sets.selected));
    } else {
        json.Null();
    }
    const NecOutput* nec = session.Nec();
    std::optional<float> efficiency;
    if (nec != nullptr) {
        WriteNec(json, *nec, state.View.NecFrequency, efficiency);
    }
    if (data.DataKind == KindFarField && !state.Loaded.FarField.empty()) {
        WritePattern(json, state, efficiency);
    }
    if (const std::optional<Sweep> sweep = loaded ? ImpedanceSweepOf(state) : std::nullopt) {
        WriteImpedance(json, *sweep, impedance);
    }
    WriteMessages(json, session.messages);
    json.EndObject();
    out << json.Text() << '\n';
    if (!loaded) {
        PrintMessages(
            session.messages,
            "lobex-cli info: " + (options.mmana ? std::string("MMANA") : options.file) + ": ", err);
    }
    return loaded ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
