#include "CliSupport.h"

#include "LargeHeap.h"
#include "LocaleDecimal.h"
#include "core/AtomicFile.h"
#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/LoadFlow.h"
#include "core/MmanaLink.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"
#include "graphs/CurveReading.h"
#include "model/Impedance.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

namespace lobex::cli {

namespace {

// An argument that is none of the subcommand's options: the one FILE, or else an unknown option.
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

} // namespace

OptionRule Flag(std::string_view name, bool& target) {
    return {name, {}, [&target](const std::string&) {
                return target = true;
            }};
}

OptionRule TextOption(std::string_view name, std::string& target, std::string refusal) {
    return {name, std::move(refusal), [&target](const std::string& value) {
                target = value;
                return !value.empty();
            }};
}

bool ParseOptions(const std::vector<std::string>& args, const OptionRules& rules, std::string& file,
                  bool& help, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        const auto rule =
            std::ranges::find_if(rules, [&arg](const OptionRule& r) { return r.name == arg; });
        if (rule == rules.end()) {
            if (!TakeFileArgument(arg, file, error)) {
                return false;
            }
        } else if (rule->refusal.empty()) {
            rule->take(std::string());
        } else if (i + 1 == args.size() || !rule->take(args[++i])) {
            error = rule->refusal;
            return false;
        }
    }
    return true;
}

OptionRules LoadOptionRules(LoadOptions& options) {
    return {
        Flag("--mmana", options.mmana),
        {"--set", "--set needs a whole number",
         [&options](const std::string& value) {
             int number = 0;
             if (!ReadOptionInt(value, number)) {
                 return false;
             }
             options.set = number;
             return true;
         }},
        {"--decimal", "--decimal needs the decimal symbol",
         [&options](const std::string& value) {
             options.decimal = value;
             return !value.empty();
         }},
        {"--frequency", "--frequency needs a frequency in MHz above 0",
         [&options](const std::string& value) {
             double mhz = 0.0;
             if (!ReadOptionNumber(value, mhz) || !(mhz > 0.0)) {
                 return false;
             }
             options.frequency = mhz;
             return true;
         }},
        {"--part", "--part needs pattern, sweep, currents or near-field",
         [&options](const std::string& value) {
             for (const NecPart part :
                  {NecPart::Pattern, NecPart::Sweep, NecPart::Currents, NecPart::NearField}) {
                 if (value == NecPartName(part)) {
                     options.part = part;
                     return true;
                 }
             }
             return false;
         }},
    };
}

const char* NecPartName(NecPart part) {
    switch (part) {
    case NecPart::Pattern:
        return "pattern";
    case NecPart::Sweep:
        return "sweep";
    case NecPart::Currents:
        return "currents";
    case NecPart::NearField:
        return "near-field";
    }
    return "";
}

bool CheckLoadOptions(const LoadOptions& options, std::string& error) {
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

OptionRules ImpedanceOptionRules(ImpedanceOptions& options) {
    return {
        {"--z0", "--z0 needs an impedance whose resistance is above 0 ohms: 50, 75, 50-j10",
         [&options](const std::string& value) {
             options.z0 = ReadImpedance(value);
             return options.z0.has_value();
         }},
        {"--swr-threshold", "--swr-threshold needs an SWR of 1 or more: 1.5, 2, 3",
         [&options](const std::string& value) {
             double threshold = 0.0;
             const bool read = ReadOptionNumber(value, threshold);
             options.swrThreshold = threshold;
             options.swrThresholdGiven = true;
             return read && std::isfinite(threshold) && threshold >= 1.0;
         }},
    };
}

bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      ImpedanceOptions& impedance, std::string& error) {
    OptionRules rules = LoadOptionRules(options);
    for (OptionRule& rule : ImpedanceOptionRules(impedance)) {
        rules.push_back(std::move(rule));
    }
    return ParseOptions(args, rules, options.file, options.help, error) &&
           CheckLoadOptions(options, error);
}

std::complex<double> ReferenceImpedance(const ImpedanceOptions& options, const Sweep& sweep) {
    return options.z0 ? *options.z0 : LineImpedanceOf(sweep.header);
}

bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      std::string& error) {
    return ParseOptions(args, LoadOptionRules(options), options.file, options.help, error) &&
           CheckLoadOptions(options, error);
}

bool OutputIsNoInput(std::string_view command, const std::string& out,
                     std::initializer_list<std::string> inputs, std::ostream& err) {
    for (const std::string& input : inputs) {
        if (!input.empty() && IsSameFile(Utf8Path(out), Utf8Path(input))) {
            err << "lobex-cli " << command << ": " << out << " is the input file"
                << (out == input ? std::string() : " " + input) << "; nothing was written\n";
            return false;
        }
    }
    return true;
}

void RecordingMessages::Show(std::string_view text, MessageIcon icon, std::string_view) {
    shown.push_back({icon, std::string(text), {}});
}

void RecordingMessages::ShowWithCause(std::string_view text, const Rejection& cause,
                                      MessageIcon icon, std::string_view) {
    shown.push_back({icon, std::string(text), RejectionText(cause)});
}

void PrintMessages(const RecordingMessages& messages, std::string_view lead, std::ostream& err) {
    for (const RecordedMessage& message : messages.shown) {
        for (const std::string& line : SplitLines(message.text)) {
            err << lead << line << '\n';
        }
        if (!message.detail.empty()) {
            err << lead << message.detail << '\n';
        }
    }
}

Session::Session() {
    SetDefaultLabels(state.Loaded.Data);
}

bool Session::Load(const LoadOptions& options, std::ostream& err) {
    state.DecimalSeparator = options.decimal ? *options.decimal : LocaleDecimalSeparator();
    ClearGrid(state);
    std::unique_ptr<MmanaWindowLink> mmana;
    std::optional<LargeHeap> heap;
    LoadSource source;
    if (options.mmana) {
        mmana = MmanaLinkForCli(state, err);
        if (mmana == nullptr) {
            return false;
        }
        state.View.SourceIndex = 0;
        source.mmana = mmana.get();
    } else {
        state.View.SourceIndex = 1;
        std::string file = options.file;
        if (IsNecDeck(file)) {
            std::string error;
            if (!deck_.Run(options.file, file, error)) {
                err << "lobex-cli: " << error << '\n';
                return false;
            }
        }
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(Utf8Path(file), error);
        heap.emplace(error ? 0 : bytes);
        source.chooseFile = [file] {
            return file;
        };
    }
    state.View.NecFrequency = options.frequency.value_or(0.0);
    state.View.NecShown = options.part.value_or(NecPart::Pattern);
    if (!OpenData(ctx_, view_, source) || !CheckNecChoice(options, err)) {
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

const NecOutput* Session::Nec() const {
    const std::shared_ptr<const Result>& document = state.Loaded.Document;
    return document != nullptr ? std::get_if<NecOutput>(document.get()) : nullptr;
}

// A NEC output holds the frequency asked for (to a part in a million) and shows the part asked
// for; --frequency and --part mean nothing to other files.
bool Session::CheckNecChoice(const LoadOptions& options, std::ostream& err) const {
    const NecOutput* nec = Nec();
    if (nec == nullptr) {
        if (options.frequency || options.part) {
            err << "lobex-cli: --frequency and --part are for NEC-2 outputs and decks\n";
            return false;
        }
        return true;
    }
    const NecFrequency& shown = nec->frequencies[static_cast<std::size_t>(
        options.frequency ? NearestFrequency(*nec, *options.frequency) : 0)];
    if (options.frequency && std::fabs(shown.mhz - *options.frequency) > 1e-6 * shown.mhz) {
        err << "lobex-cli: the NEC output has no frequency " << *options.frequency << " MHz\n";
        return false;
    }
    const std::int16_t kind = state.Loaded.Data.DataKind;
    const NecPart part = options.part.value_or(NecPart::Pattern);
    const std::int16_t wanted = part == NecPart::Pattern    ? KindFarField
                                : part == NecPart::Sweep    ? KindSweep
                                : part == NecPart::Currents ? KindCurrents
                                                            : KindNearField;
    if (options.part && kind != wanted) {
        err << "lobex-cli: the NEC output has no " << NecPartName(part) << " at " << shown.mhz
            << " MHz\n";
        return false;
    }
    return true;
}

std::vector<std::string> ColumnsInUse(const AppState& state) {
    const std::vector<std::string>& header = state.Loaded.DataGrid.header;
    const auto count = static_cast<std::size_t>(LastColumnInUse(state.Loaded.Data.DataKind)) + 1;
    return std::vector<std::string>(
        header.begin(),
        header.begin() + static_cast<std::ptrdiff_t>(std::min(count, header.size())));
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
    std::string ending = LowerExtension(path);
    if (ending == "jpeg") {
        ending = "jpg";
    }
    return std::ranges::find(known, ending) != known.end() ? ending : std::string();
}

} // namespace lobex::cli
