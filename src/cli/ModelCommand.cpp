#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "LocaleDecimal.h"
#include "MessageList.h"
#include "core/AtomicFile.h"
#include "core/FarField.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"
#include "view3d/GltfModel.h"
#include "view3d/PatternModel.h"

#include <filesystem>
#include <system_error>

namespace lobex::cli {
namespace {

constexpr const char* kModelUsage =
    "Usage: lobex-cli model FILE [--text] --out OUT.x\n"
    "       lobex-cli model FILE --out OUT.glb [--antenna MODEL.maa] [--floor DB]\n"
    "\n"
    "Reads the far-field file FILE and writes the .x model of its pattern surface to OUT.x:\n"
    "the binary form the 3D view loads, or with --text the text form the conversion tool\n"
    "writes. An OUT ending in .glb gets a binary glTF 2.0 model instead: the surface with\n"
    "normals and colours by gain, and the antenna's wires and feed points when given.\n"
    "Prints one JSON object: file, out, form, written, vertices, faces, bytes and messages.\n"
    "OUT is replaced as a whole, or left as it was when nothing is written.\n"
    "\n"
    "  --text      the text form (\"xof 0303txt 0032\") instead of the binary one\n"
    "  --out OUT   where the model goes\n"
    "  --antenna MODEL.maa   the antenna drawn over the pattern (glTF only)\n"
    "  --floor DB  colours reach DB below the peak, 10 to 60 (glTF only; 40)\n"
    "\n"
    "Exit status: 0 written, 1 the file was refused or the model not written, 2 usage.\n";

struct ModelOptions {
    std::string file;
    std::string out;
    std::string antenna;
    float floorDb = kDefaultGainRangeDb;
    bool text = false;
    bool help = false;
};

bool EndsWithGlb(const std::string& path) {
    return LowerExtension(path) == "glb";
}

bool ParseModelOptions(const std::vector<std::string>& args, ModelOptions& options,
                       std::string& error) {
    const OptionRules rules = {
        Flag("--text", options.text),
        TextOption("--out", options.out, "--out needs the model's path"),
        TextOption("--antenna", options.antenna, "--antenna needs the .maa file"),
        {"--floor", "--floor needs a number of dB from 10 to 60",
         [&options](const std::string& value) {
             int decibels = 0;
             if (!ReadOptionInt(value, decibels) || decibels < kLeastGainRangeDb ||
                 decibels > kMostGainRangeDb) {
                 return false;
             }
             options.floorDb = static_cast<float>(decibels);
             return true;
         }},
    };
    if (!ParseOptions(args, rules, options.file, options.help, error)) {
        return false;
    }
    if (options.help) {
        return true;
    }
    if (options.file.empty()) {
        error = "FILE is missing";
        return false;
    }
    if (options.out.empty()) {
        error = "--out OUT.x is missing";
        return false;
    }
    const bool glb = EndsWithGlb(options.out);
    // The name's extension says the form: a model named .obj must not come out a DirectX file.
    if (!glb && LowerExtension(options.out) != "x") {
        error = "--out " + options.out + ": model files are written as .x or .glb";
        return false;
    }
    if ((glb && options.text) || (!glb && !options.antenna.empty())) {
        error = glb ? "--text writes .x models, not .glb" : "--antenna is for .glb models only";
        return false;
    }
    return true;
}

// The glTF model of the pattern, with the antenna when one was named and can be read.
bool WriteGlbModel(const ModelOptions& options, View3DState& view, MessageService& messages) {
    AntennaDescription antenna;
    GltfModelOptions glb;
    glb.RangeDb = options.floorDb;
    glb.SourceName = std::filesystem::path(Utf8Path(options.file)).filename().string();
    if (!options.antenna.empty()) {
        std::string why;
        if (!ReadMaaFile(options.antenna, antenna, &why)) {
            messages.Show(std::string(kAntennaReadError) + (why.empty() ? "" : "\r\n" + why),
                          MessageIcon::Critical, "Lobex");
            return false;
        }
        ScaleAntenna(antenna);
        glb.Antenna = &antenna;
    }
    ComputePatternFaces(view.Pattern);
    const GltfModelResult model = PatternGlb(view.Pattern, glb);
    if (model.bytes.empty()) {
        messages.Show(model.error, MessageIcon::Critical, "Lobex");
        return false;
    }
    if (!WriteAtomically(Utf8Path(options.out), model.bytes).ok) {
        messages.Show(kWriteError, MessageIcon::Critical, "Lobex");
        return false;
    }
    return true;
}

long long FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(Utf8Path(path), error);
    return error ? 0 : static_cast<long long>(size);
}

} // namespace

int RunModel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ModelOptions options;
    std::string error;
    if (!ParseModelOptions(args, options, error)) {
        err << "lobex-cli model: " << error << "\n\n" << kModelUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kModelUsage;
        return kExitLoaded;
    }
    AppState state;
    state.DecimalSeparator = LocaleDecimalSeparator();
    state.Paths.TempModelFile = options.out;
    RecordingMessages messages;
    LoadContext load{state, messages};
    View3DState view;
    View3DContext model{state, view, messages};
    const bool glb = EndsWithGlb(options.out);
    bool written = false;
    if (OutputIsNoInput("model", options.out, {options.file, options.antenna}, err) &&
        LoadFarFieldGrid(load, options.file) && BuildPatternVertices(model)) {
        written = glb ? WriteGlbModel(options, view, messages)
                      : (options.text ? WriteTextModel(model) : WriteBinaryModel(model));
    }

    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(options.file);
    json.Key("out").String(options.out);
    json.Key("form").String(glb ? "glb" : options.text ? "text" : "binary");
    json.Key("written").Bool(written);
    json.Key("vertices")
        .Number(static_cast<long long>(written ? view.Pattern.PatternVertices.size() : 0));
    json.Key("faces").Number(
        static_cast<long long>(written ? view.Pattern.PatternFaces.size() : 0));
    json.Key("bytes").Number(written ? FileSize(options.out) : 0LL);
    WriteMessages(json, messages);
    json.EndObject();
    out << json.Text() << '\n';
    return written ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
