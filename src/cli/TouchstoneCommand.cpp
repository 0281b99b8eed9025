#include "CliSupport.h"
#include "Commands.h"
#include "core/AtomicFile.h"
#include "core/ImpedanceColumns.h"
#include "core/Utf8Path.h"
#include "model/Touchstone.h"

#include <optional>

namespace lobex::cli {
namespace {

constexpr const char* kTouchstoneUsage =
    "Usage: lobex-cli touchstone FILE --out OUT.s1p [--set N] [--z0 Z]\n"
    "\n"
    "Loads FILE as File > Open does (a sweep, or a table with R and jX) and writes its\n"
    "impedance as a Touchstone version 1 one-port file: a comment naming FILE, the option line\n"
    "\"# MHz S RI R <Z0>\", then S11 as real and imaginary parts, one line per frequency in\n"
    "frequency order. A network analyser's measurement can then sit beside the model.\n"
    "\n"
    "  --out OUT.s1p  the file to write; it is replaced whole or not at all\n"
    "  --set N        pick the set list entry whose item data is N first\n"
    "  --z0 Z         the reference impedance in ohms, real (Touchstone has no complex one);\n"
    "                 by default the one FILE's SWR header names, else 50\n"
    "\n"
    "Exit status: 0 written, 1 the load or the write failed, 2 usage.\n";

} // namespace

int RunTouchstone(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LoadOptions options;
    ImpedanceOptions impedance;
    std::string output;
    OptionRules rules = LoadOptionRules(options);
    rules.push_back(ImpedanceOptionRules(impedance).front());
    rules.push_back(TextOption("--out", output, "--out needs a file name"));
    std::string error;
    if (ParseOptions(args, rules, options.file, options.help, error) && !options.help) {
        if (options.mmana) {
            error = "FILE is read, not --mmana";
        } else if (options.file.empty()) {
            error = "FILE is missing";
        } else if (output.empty()) {
            error = "--out is missing";
        } else if (impedance.z0 && impedance.z0->imag() != 0.0) {
            error = "--z0 must be real: a Touchstone file names a resistance";
        }
    }
    if (!error.empty()) {
        err << "lobex-cli touchstone: " << error << "\n\n" << kTouchstoneUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kTouchstoneUsage;
        return kExitLoaded;
    }
    if (!OutputIsNoInput("touchstone", output, {options.file}, err)) {
        return kExitFailed;
    }
    Session session;
    if (!session.Load(options, err)) {
        for (const RecordedMessage& message : session.messages.shown) {
            err << "lobex-cli touchstone: " << options.file << ": " << message.text << '\n';
        }
        return kExitFailed;
    }
    const std::optional<Sweep> sweep = ImpedanceSweepOf(session.state);
    if (!sweep) {
        err << "lobex-cli touchstone: " << options.file
            << " holds no R and jX (a sweep, or a table with R and jX columns)\n";
        return kExitFailed;
    }
    const std::complex<double> z0 = ReferenceImpedance(impedance, *sweep);
    if (z0.imag() != 0.0) {
        err << "lobex-cli touchstone: " << options.file << " names a complex reference impedance ("
            << ImpedanceText(z0) << "); give a real one with --z0\n";
        return kExitUsage;
    }
    const Checked<std::string> bytes =
        WriteTouchstone(*sweep, z0.real(), Utf8Path(options.file).filename().string());
    const FileWriteResult written = WriteAtomically(Utf8Path(output), *bytes.value);
    if (!written.ok) {
        err << "lobex-cli touchstone: " << output << ": " << written.error << '\n';
        return kExitFailed;
    }
    return kExitLoaded;
}

} // namespace lobex::cli
