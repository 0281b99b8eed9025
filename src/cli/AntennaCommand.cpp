#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "MessageList.h"
#include "view3d/AntennaDescription.h"

namespace lobex::cli {
namespace {

constexpr const char* kAntennaUsage =
    "Usage: lobex-cli antenna FILE.maa\n"
    "\n"
    "Reads an MMANA model file as the 3D view loads it and prints one JSON object: name,\n"
    "frequency, wires (ends in scene space, scaled to the view, and the radius from the file),\n"
    "sources (place, position in scene space, valid), loads and messages. Why a file was\n"
    "refused goes to standard error.\n"
    "\n"
    "Exit status: 0 read, 1 refused, 2 usage.\n";

std::vector<float> Coordinates(Vector3 v) {
    return {v.x, v.y, v.z};
}

void WriteDescription(JsonWriter& json, const AntennaDescription& antenna) {
    json.Key("name").String(antenna.AntennaName);
    json.Key("frequency").String(antenna.FrequencyText);
    json.Key("wires").BeginArray();
    for (const AntennaWire& wire : antenna.Wires) {
        json.BeginObject();
        json.Key("end1").Numbers(Coordinates(wire.End1));
        json.Key("end2").Numbers(Coordinates(wire.End2));
        json.Key("radius").Number(wire.Radius);
        json.EndObject();
    }
    json.EndArray();
    json.Key("sources").BeginArray();
    for (const FeedSource& source : antenna.Sources) {
        json.BeginObject();
        json.Key("place").String(source.Place);
        json.Key("position").Numbers(Coordinates(source.Position));
        json.Key("valid").Bool(source.Valid);
        json.EndObject();
    }
    json.EndArray();
    json.Key("loads").Strings(antenna.Loads);
}

} // namespace

int RunAntenna(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    bool help = false;
    std::string error;
    if (!ParseOptions(args, {}, file, help, error) || (!help && file.empty())) {
        err << "lobex-cli antenna: " << (error.empty() ? "FILE is missing" : error) << "\n\n"
            << kAntennaUsage;
        return kExitUsage;
    }
    if (help) {
        out << kAntennaUsage;
        return kExitLoaded;
    }
    AntennaDescription antenna;
    RecordingMessages messages;
    std::string why;
    const bool read = ReadMaaFile(file, antenna, &why);
    if (read) {
        ScaleAntenna(antenna);
    } else {
        messages.Show(kAntennaReadError, MessageIcon::Critical, "");
        err << "lobex-cli antenna: " << file << ": " << why << '\n';
    }
    JsonWriter json;
    json.BeginObject();
    WriteDescription(json, antenna);
    WriteMessages(json, messages);
    json.EndObject();
    out << json.Text() << '\n';
    return read ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
