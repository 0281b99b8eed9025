#include "ConversionTool.h"

#include "PatternModel.h"
#include "core/FarField.h"
#include "core/LoadContext.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lobex {
namespace {

// Runs a step when it goes out of scope, however that happens.
template <typename Step>
class OnExit {
public:
    explicit OnExit(Step step) : step_(std::move(step)) {}
    ~OnExit() { step_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    Step step_;
};

} // namespace

std::string ConversionModelFile(const AppState& state) {
    if (state.Paths.TempModelFile.empty()) {
        return {};
    }
    return FolderOf(state.Paths.TempModelFile) + "convert.x";
}

bool ConvertCsvToDsc(ConversionContext& context, std::string& path) {
    if (path.empty()) {
        path = context.dialogs.AskOpenFile(kOpenCsvTitle, kCsvFilter,
                                           ReadSetting(context.settings, kDataPathSetting));
        if (path.empty()) {
            return false;
        }
    }
    const std::string descriptionPath = DescriptionPathFor(path);

    AppState conversion;
    conversion.AppTitle = context.state.AppTitle;
    conversion.PiValue = context.state.PiValue;
    conversion.DecimalSeparator = context.state.DecimalSeparator;
    conversion.Paths.TempModelFile = ConversionModelFile(context.state);
    LoadContext load{conversion, context.messages};
    if (!LoadFarFieldGrid(load, path)) {
        return false;
    }
    View3DState pattern;
    View3DContext model{conversion, pattern, context.messages};
    if (!BuildPatternVertices(model) || !WriteTextModel(model)) {
        return false;
    }
    return DescriptionFileHook(conversion.Paths.TempModelFile, descriptionPath);
}

std::vector<std::string> CsvFilesOf(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(Utf8Path(folder), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code kind;
        if (!entry->is_regular_file(kind)) {
            continue;
        }
        std::string name = PathToUtf8(entry->path().filename());
        if (name.size() >= 4 && ToLowerAscii(name.substr(name.size() - 4)) == ".csv") {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string lowerA = ToLowerAscii(a);
        const std::string lowerB = ToLowerAscii(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
    return names;
}

void ConvertCsvFolder(ConversionContext& context, const std::function<void(bool)>& busy) {
    OnExit restore([&state = context.state, kept = context.state.Loaded.CurrentFile]() mutable {
        state.Loaded.CurrentFile = std::move(kept);
    });
    const std::string chosen = context.dialogs.ChooseDataFile(kFolderChoiceCaption);
    if (chosen.empty()) {
        return;
    }
    const std::string folder = FolderOf(chosen);
    {
        if (busy) {
            busy(true);
        }
        OnExit idle([&busy] {
            if (busy) {
                busy(false);
            }
        });
        for (std::size_t done = 0;; ++done) {
            const std::vector<std::string> names = CsvFilesOf(folder);
            if (done >= names.size()) {
                break;
            }
            std::string path = folder + names[done];
            ConvertCsvToDsc(context, path);
        }
    }
    context.messages.Show(kConversionCompleted, MessageIcon::Information, context.state.AppTitle);
}

} // namespace lobex
