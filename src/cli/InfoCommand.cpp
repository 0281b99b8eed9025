#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "MessageList.h"

namespace lobex::cli {
namespace {

constexpr const char* kInfoUsage =
    "Usage: lobex-cli info FILE|--mmana [--set N] [--decimal SEP]\n"
    "\n"
    "Loads FILE as File > Open does and prints one JSON object: kind (and kind_name), columns,\n"
    "rows, min, max, set_list, set_selected, pattern (far fields) and messages. As in the\n"
    "window, a FILE whose name does not end in .csv is refused (\"Неизвестный Формат Файла\"),\n"
    "whatever it holds; of a .csv file the first line chooses the reader.\n"
    "\n"
    "  --mmana        read the result table of the running MMANA instead of a file\n"
    "  --set N        then pick the set list entry whose item data is N (set or wire number,\n"
    "                 zenith index of a far field), as a user would\n"
    "  --decimal SEP  the decimal symbol of the grid instead of the locale's\n"
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

} // namespace

void WritePattern(JsonWriter& json, const AppState& state) {
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
    json.EndObject();
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LoadOptions options;
    std::string error;
    if (!ParseLoadOptions(args, options, error)) {
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
    if (data.DataKind == KindFarField && !state.Loaded.FarField.empty()) {
        WritePattern(json, state);
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
