#include "CliSupport.h"
#include "Commands.h"
#include "NecDeck.h"
#include "core/AtomicFile.h"
#include "core/TextFile.h"
#include "core/Utf8Path.h"
#include "view3d/AntennaDescription.h"

#include <optional>

namespace lobex::cli {
namespace {

constexpr const char* kNecUsage =
    "Usage: lobex-cli nec MODEL.maa --out MODEL.nec [--sweep PERCENT] [--steps N]\n"
    "\n"
    "Writes an MMANA model as a NEC-2 input deck: its wires with their radius, uniform\n"
    "segments of at most a wavelength / DM2 (the segmentation line's segments per wavelength;\n"
    "an odd count where a source or load sits at the centre), its sources as voltage sources,\n"
    "its loads (L/C/Q, R+jX), the ground of its environment line (free space, perfect, real of\n"
    "permittivity 13 and 0.005 S/m), its frequency with a sweep around it and a 5-degree\n"
    "pattern. What the deck cannot hold (stacking, stepped diameters, the wire material, other\n"
    "sections) is said on standard error and in the deck's comment cards.\n"
    "\n"
    "  --out MODEL.nec  the deck to write; it is replaced whole or not at all\n"
    "  --sweep PERCENT  the sweep reaches this far either side of the model's frequency,\n"
    "                   0 to 50 (default 2; 0 computes the model's frequency alone)\n"
    "  --steps N        frequencies of the sweep, 1 to 201 (default 11)\n"
    "\n"
    "Exit status: 0 written, 1 the model was refused or the write failed, 2 usage.\n";

constexpr const char* kComputeUsage =
    "Usage: lobex-cli compute MODEL.maa --out RESULT.out [--sweep PERCENT] [--steps N]\n"
    "\n"
    "Writes the model's NEC-2 deck as 'lobex-cli nec' does, runs Debian's nec2c on it in a\n"
    "private temporary folder and writes nec2c's output, which 'lobex-cli info' and the window\n"
    "read. Its figures come from NEC-2 and differ a little from MMANA's MININEC; the output's\n"
    "comments say so.\n"
    "\n"
    "  --out RESULT.out  nec2c's output; it is replaced whole or not at all\n"
    "  --sweep PERCENT   as for nec (default 2)\n"
    "  --steps N         as for nec (default 11)\n"
    "\n"
    "Exit status: 0 computed, 1 the model was refused or nec2c failed, 2 usage.\n";

// MODEL.maa --out FILE [--sweep PERCENT] [--steps N] [--help]; false with the usage on err.
bool ParseDeckOptions(std::string_view command, const char* usage,
                      const std::vector<std::string>& args, std::string& model, std::string& output,
                      NecDeckChoices& choices, bool& help, std::ostream& err) {
    const OptionRules rules = {
        TextOption("--out", output, "--out needs a file name"),
        {"--sweep", "--sweep needs a percentage from 0 to 50",
         [&choices](const std::string& value) {
             return ReadOptionNumber(value, choices.SweepPercent) && choices.SweepPercent >= 0.0 &&
                    choices.SweepPercent <= 50.0;
         }},
        {"--steps", "--steps needs a whole number from 1 to 201",
         [&choices](const std::string& value) {
             return ReadOptionInt(value, choices.Steps) && choices.Steps >= 1 &&
                    choices.Steps <= 201;
         }},
    };
    std::string error;
    if (ParseOptions(args, rules, model, help, error) && !help) {
        if (model.empty()) {
            error = "MODEL.maa is missing";
        } else if (output.empty()) {
            error = "--out is missing";
        }
    }
    if (!error.empty()) {
        err << "lobex-cli " << command << ": " << error << "\n\n" << usage;
        return false;
    }
    return true;
}

// The deck of the model, each note on err; false with the refusal on err.
bool DeckOf(std::string_view command, const std::string& model, const NecDeckChoices& choices,
            MaaNecDeck& deck, std::ostream& err) {
    std::string why;
    if (!ReadMaaNecDeck(model, choices, deck, why)) {
        err << "lobex-cli " << command << ": " << model << ": " << why << '\n';
        return false;
    }
    for (const DeckNote& note : deck.Notes) {
        err << "lobex-cli " << command << ": " << model << ": " << NoteText(note) << '\n';
    }
    return true;
}

bool Write(std::string_view command, const std::string& output, std::string_view bytes,
           std::ostream& err) {
    const FileWriteResult written = WriteAtomically(Utf8Path(output), bytes);
    if (!written.ok) {
        err << "lobex-cli " << command << ": " << output << ": " << written.error << '\n';
    }
    return written.ok;
}

// What nec and compute share: the options, --help, and the model's deck. Empty when the deck
// is there to use; else the exit status.
std::optional<int> PrepareDeck(std::string_view command, const char* usage,
                               const std::vector<std::string>& args, std::ostream& out,
                               std::ostream& err, std::string& model, std::string& output,
                               MaaNecDeck& deck) {
    NecDeckChoices choices;
    bool help = false;
    if (!ParseDeckOptions(command, usage, args, model, output, choices, help, err)) {
        return kExitUsage;
    }
    if (help) {
        out << usage;
        return kExitLoaded;
    }
    if (!OutputIsNoInput(command, output, {model}, err) ||
        !DeckOf(command, model, choices, deck, err)) {
        return kExitFailed;
    }
    return std::nullopt;
}

} // namespace

int RunNec(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string model;
    std::string output;
    MaaNecDeck deck;
    if (const std::optional<int> status =
            PrepareDeck("nec", kNecUsage, args, out, err, model, output, deck)) {
        return *status;
    }
    return Write("nec", output, deck.Text, err) ? kExitLoaded : kExitFailed;
}

int RunCompute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string model;
    std::string output;
    MaaNecDeck deck;
    if (const std::optional<int> status =
            PrepareDeck("compute", kComputeUsage, args, out, err, model, output, deck)) {
        return *status;
    }
    NecDeckRun run;
    std::string result;
    std::string error;
    if (!run.RunText(deck.Text, result, error)) {
        err << "lobex-cli compute: " << model << ": " << error << '\n';
        return kExitFailed;
    }
    std::string bytes;
    if (!ReadAnyFileBytes(result, bytes)) {
        err << "lobex-cli compute: " << model << ": nec2c left no output\n";
        return kExitFailed;
    }
    return Write("compute", output, bytes, err) ? kExitLoaded : kExitFailed;
}

} // namespace lobex::cli
