#include "CliSupport.h"

#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/Lifecycle.h"
#include "core/LoadFlow.h"
#include "core/MmanaLink.h"
#include "core/TextRules.h"
#include "platform/LocaleInfo.h"
#include "platform/MmanaWindowLink.h"
#include "platform/TempFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <charconv>

namespace lobex::cli {

bool TakeFileArgument(const std::string& arg, std::string& file, std::string& error) {
    if (arg.size() > 1 && arg[0] == '-') {
        error = "unknown option " + arg;
        return false;
    }
    if (!file.empty()) {
        error = "one FILE only";
        return false;
    }
    file = arg;
    return true;
}

bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--mmana") {
            options.mmana = true;
        } else if (arg == "--set") {
            int value = 0;
            if (!hasValue || !ReadOptionInt(args[i + 1], value)) {
                error = "--set needs a whole number";
                return false;
            }
            options.set = value;
            ++i;
        } else if (arg == "--decimal") {
            if (!hasValue || args[i + 1].empty()) {
                error = "--decimal needs the decimal symbol";
                return false;
            }
            options.decimal = args[i + 1];
            ++i;
        } else if (!TakeFileArgument(arg, options.file, error)) {
            return false;
        }
    }
    if (options.mmana && !options.file.empty()) {
        error = "FILE or --mmana, not both";
        return false;
    }
    if (options.file.empty() && !options.mmana && !options.help) {
        error = "FILE is missing";
        return false;
    }
    return true;
}

void RecordingMessages::Show(std::string_view text, MessageIcon icon, std::string_view) {
    shown.push_back({icon, std::string(text)});
}

Session::Session() {
    SetDefaultLabels(state.Loaded.Data);
}

// The program's paths as the window has them, so that the link finds its helper in Utils and
// the copy of the table goes to the private temporary folder. The program's folder comes from
// the application object that main made for this run.
std::unique_ptr<MmanaWindowLink> Session::MmanaLinkBesideProgram(AppState& state,
                                                                 std::ostream& err) {
    const TempFolder tempFolder = GetTempFolder();
    if (tempFolder.path.empty()) {
        err << "lobex-cli: no private temporary folder can be made:\n"
            << tempFolder.problem << '\n';
        return nullptr;
    }
    StartupEnvironment environment;
    environment.appFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    environment.tempFolder = tempFolder.path;
    environment.decimalSeparator = state.DecimalSeparator;
    environment.separator = QDir::separator().toLatin1();
    PrepareStartupState(state, environment);
    return CreateMmanaWindowLink(state.Paths.UtilsFolder);
}

bool Session::Load(const LoadOptions& options, std::ostream& err) {
    state.DecimalSeparator = options.decimal ? *options.decimal : GetDecimalSeparator();
    ClearGrid(state);
    std::unique_ptr<MmanaWindowLink> mmana;
    LoadSource source;
    if (options.mmana) {
        mmana = MmanaLinkBesideProgram(state, err);
        if (mmana == nullptr) {
            return false;
        }
        state.View.SourceIndex = 0;
        source.mmana = mmana.get();
    } else {
        state.View.SourceIndex = 1;
        source.chooseFile = [&options] {
            return options.file;
        };
    }
    if (!OpenData(ctx_, view_, source)) {
        return false;
    }
    if (!options.set) {
        return true;
    }
    const std::vector<SetListEntry>& entries = state.Loaded.Sets.entries;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (entries[index].itemData == *options.set) {
            return ReloadForParamEntry(state, static_cast<int>(index),
                                       [&] { return LoadData(ctx_, view_, source); });
        }
    }
    err << "lobex-cli: the set list holds no entry " << *options.set << '\n';
    return false;
}

std::vector<std::string> ColumnsInUse(const AppState& state) {
    const std::vector<std::string>& header = state.Loaded.DataGrid.header;
    const auto count = static_cast<std::size_t>(LastColumnInUse(state.Loaded.Data.DataKind)) + 1;
    return std::vector<std::string>(
        header.begin(),
        header.begin() + static_cast<std::ptrdiff_t>(std::min(count, header.size())));
}

bool ReadOptionInt(const std::string& text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ReadPictureSize(const std::string& text, std::pair<int, int>& size) {
    constexpr int kLargestSide = 16384;
    const std::size_t x = text.find('x');
    return x != std::string::npos && ReadOptionInt(text.substr(0, x), size.first) &&
           ReadOptionInt(text.substr(x + 1), size.second) && size.first > 0 && size.second > 0 &&
           size.first <= kLargestSide && size.second <= kLargestSide;
}

std::string PictureFormatOf(const std::string& path,
                            std::initializer_list<std::string_view> known) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ending = ToLowerAscii(path.substr(dot + 1));
    if (ending == "jpeg") {
        ending = "jpg";
    }
    return std::ranges::find(known, ending) != known.end() ? ending : std::string();
}

} // namespace lobex::cli
