#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "MessageList.h"
#include "core/FarField.h"
#include "core/Utf8Path.h"
#include "platform/LocaleInfo.h"
#include "view3d/PatternModel.h"

#include <filesystem>
#include <system_error>

namespace lobex::cli {
namespace {

constexpr const char* kModelUsage =
    "Usage: lobex-cli model FILE [--text] --out OUT.x\n"
    "\n"
    "Reads the far-field file FILE and writes the .x model of its pattern surface to OUT.x:\n"
    "the binary form the 3D view loads, or with --text the text form the conversion tool\n"
    "writes. Prints one JSON object: file, out, form, written, vertices, faces, bytes and\n"
    "messages. OUT.x is replaced as a whole, or left as it was when nothing is written.\n"
    "\n"
    "  --text      the text form (\"xof 0303txt 0032\") instead of the binary one\n"
    "  --out OUT   where the model goes\n"
    "\n"
    "Exit status: 0 written, 1 the file was refused or the model not written, 2 usage.\n";

struct ModelOptions {
    std::string file;
    std::string out;
    bool text = false;
    bool help = false;
};

bool ParseModelOptions(const std::vector<std::string>& args, ModelOptions& options,
                       std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--text") {
            options.text = true;
        } else if (arg == "--out") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--out needs the model's path";
                return false;
            }
            options.out = args[++i];
        } else if (!TakeFileArgument(arg, options.file, error)) {
            return false;
        }
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
    state.DecimalSeparator = GetDecimalSeparator();
    state.Paths.TempModelFile = options.out;
    RecordingMessages messages;
    LoadContext load{state, messages};
    View3DState view;
    View3DContext model{state, view, messages};
    const bool written = LoadFarFieldGrid(load, options.file) && BuildPatternVertices(model) &&
                         (options.text ? WriteTextModel(model) : WriteBinaryModel(model));

    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(options.file);
    json.Key("out").String(options.out);
    json.Key("form").String(options.text ? "text" : "binary");
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
