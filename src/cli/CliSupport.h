#pragma once

#include "NecDeck.h"
#include "core/AppState.h"
#include "core/LoadContext.h"
#include "core/LoadFlow.h"
#include "core/MmanaLink.h"
#include "core/Services.h"
#include "model/Sweep.h"

#include <charconv>
#include <complex>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the lobex-cli subcommands share: their options, and the load as File > Open does it.
namespace lobex::cli {

class JsonWriter;

// Exit codes of every subcommand.
inline constexpr int kExitLoaded = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// FILE | --mmana, [--set N] [--decimal SEP] [--frequency MHZ] [--part PART] [--help]
struct LoadOptions {
    std::string file;
    bool mmana = false; // the table of the running MMANA instead of a file
    std::optional<int> set;
    std::optional<std::string> decimal;
    // Of a NEC-2 output: the frequency (MHz) and what of it.
    std::optional<double> frequency;
    std::optional<NecPart> part;
    bool help = false;
};

// The option text of a NEC part: pattern, sweep, currents, near-field.
const char* NecPartName(NecPart part);

// One option of a subcommand. A flag has no refusal and is taken with an empty value; an option
// with a value takes the argument after it, and is refused with its refusal when there is none
// or take says no.
struct OptionRule {
    std::string_view name;
    std::string refusal;
    std::function<bool(const std::string& value)> take;
};
using OptionRules = std::vector<OptionRule>;

OptionRule Flag(std::string_view name, bool& target);
// A value that may be anything but empty.
OptionRule TextOption(std::string_view name, std::string& target, std::string refusal);

// Reads a subcommand's arguments in order: its rules, --help and -h (help), and the one FILE;
// false with the reason at the first argument that cannot be taken ("unknown option --x", "one
// FILE only", an option's refusal).
bool ParseOptions(const std::vector<std::string>& args, const OptionRules& rules, std::string& file,
                  bool& help, std::string& error);

// The rules of FILE|--mmana [--set N] [--decimal SEP] [--frequency MHZ] [--part PART], and what
// must hold once all are read.
OptionRules LoadOptionRules(LoadOptions& options);
bool CheckLoadOptions(const LoadOptions& options, std::string& error);

// --z0 Z and --swr-threshold S: the reference impedance and the SWR that bounds a band.
struct ImpedanceOptions {
    std::optional<std::complex<double>> z0; // none: the file's own
    double swrThreshold = 2.0;
    bool swrThresholdGiven = false; // table marks the rows within it only when asked
};
OptionRules ImpedanceOptionRules(ImpedanceOptions& options);
// FILE|--mmana [--set N] [--decimal SEP] [--z0 Z] [--swr-threshold S], as info and table read
// them.
bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      ImpedanceOptions& impedance, std::string& error);
// The one asked for, else the one the sweep's SWR header names, else 50 ohms.
std::complex<double> ReferenceImpedance(const ImpedanceOptions& options, const Sweep& sweep);
// Both at once.
bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      std::string& error);

// A writer's output must not be one of its inputs, however named (a link, a hard link): writing
// it would destroy what was read. False, with the reason on err, when it is.
bool OutputIsNoInput(std::string_view command, const std::string& out,
                     std::initializer_list<std::string> inputs, std::ostream& err);

struct RecordedMessage {
    MessageIcon icon;
    std::string text;
    // Where reading stopped and why, in Russian; empty when the message names no cause.
    std::string detail;
};

class RecordingMessages final : public MessageService {
public:
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override;
    void ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                       std::string_view caption) override;
    std::vector<RecordedMessage> shown;
};

// Each message on err, a line of its own for each of its lines and for its detail, every line
// after `lead` ("lobex-cli table: FILE: ").
void PrintMessages(const RecordingMessages& messages, std::string_view lead, std::ostream& err);

// The link to the running MMANA for --mmana, with the program's paths as the window has them;
// null, with the reason on err, when there is none. lobex-cli itself never reads MMANA (that
// takes Qt, which it does not load): it hands such runs to lobex-mmana, which links the link.
std::unique_ptr<MmanaWindowLink> MmanaLinkForCli(AppState& state, std::ostream& err);

// One load as the user would make it, and everything it left behind.
class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens the file (reader by first line; a NEC-2 deck is run through nec2c first and its
    // output read), then picks the set list entry whose item data is options.set. False when
    // the load, or the pick, failed, or a NEC output lacks the frequency or part asked for.
    bool Load(const LoadOptions& options, std::ostream& err);

    AppState state;
    RecordingMessages messages;
    // The NEC-2 output loaded; null for any other file.
    const NecOutput* Nec() const;

private:
    bool CheckNecChoice(const LoadOptions& options, std::ostream& err) const;
    NecDeckRun deck_;
    LoadContext ctx_{state, messages};
    HeadlessDataView view_{ctx_};
};

// An option's value read whole as a number; false for anything else.
template <typename Number>
bool ReadOptionNumber(const std::string& text, Number& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}
inline bool ReadOptionInt(const std::string& text, int& value) {
    return ReadOptionNumber(text, value);
}
// WIDTHxHEIGHT, each 1 to 16384 pixels.
bool ReadPictureSize(const std::string& text, std::pair<int, int>& size);
// The ending of path in lower case ("jpeg" read as "jpg") when it is one of known, else empty.
std::string PictureFormatOf(const std::string& path, std::initializer_list<std::string_view> known);

// The pattern object of info: the grid's size, the maximum and beam, the plot range, and the
// figures of the pattern on show, and the efficiency (percent) where the file gives one.
void WritePattern(JsonWriter& json, const AppState& state,
                  std::optional<float> efficiency = std::nullopt);
// The impedance object of info: the reference impedance, the lowest SWR and its frequency, the
// bands and the resonances of the sweep.
void WriteImpedance(JsonWriter& json, const Sweep& sweep, const ImpedanceOptions& options);

// The captions of the grid columns the data kind uses.
std::vector<std::string> ColumnsInUse(const AppState& state);

} // namespace lobex::cli
