#include "ApplicationObject.h"
#include "CliSupport.h"
#include "Commands.h"
#include "core/TextRules.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PlotLink.h"
#include "graphs/RectangularGraph.h"
#include "graphs/ReferenceImpedance.h"
#include "graphs/SmithGraph.h"
#include "images/ImageWriter.h"
#include "images/clsGIF.h"
#include "plotter/PlotEngine.h"
#include "plotter/PlotOutput.h"
#include "session/Comparison.h"

#include <QGuiApplication>

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

namespace lobex::cli {
namespace {

constexpr const char* kPlotUsage =
    "Usage: lobex-cli plot FILE --out OUT [--set N] [--left L] [--right R] [--log x|y|xy]\n"
    "                      [--diagram azimuth|elevation] [--host main|polar] [--size WxH]\n"
    "                      [--decimal SEP] [--quality Q] [--grayscale] [--print-commands]\n"
    "                      [--z0 Z] [--swr-threshold S] [--compare OTHER]... [--normalise]\n"
    "                      [--difference] [--smith]\n"
    "\n"
    "Loads FILE as File > Open does and draws what the window would show: the rectangular\n"
    "graph, or for a far field one of the two polar diagrams. The ending of OUT picks the\n"
    "format: .png, .bmp, .jpg, .gif, .svg, .pdf or .emf.\n"
    "\n"
    "  --set N          then pick the set list entry whose item data is N (for a far field\n"
    "                   the zenith index: the azimuth diagram is cut at that elevation)\n"
    "  --left L         column of the first (red) curve; by default the one a load picks\n"
    "  --right R        column of the second (blue) curve, 0 for none\n"
    "  --log AXES       logarithmic x, y or xy axes of a rectangular graph, where the data\n"
    "                   allow them\n"
    "  --diagram WHICH  the far-field diagram to write: azimuth (default) or elevation\n"
    "  --host WHERE     main: as the main window draws it (default); polar: as the larger\n"
    "                   polar window does, with the -3 dB circle\n"
    "  --size WxH       size of the picture box in pixels (default 760x343 for a graph,\n"
    "                   380x343 for a diagram in the main window, 500x500 in the polar\n"
    "                   window); vector files get the same size at 96 pixels per inch\n"
    "  --decimal SEP    the decimal symbol of the numbers shown instead of the locale's\n"
    "  --quality Q      JPEG quality 0 to 100 (default 75); .jpg only\n"
    "  --grayscale      a greyscale JPEG; .jpg only\n"
    "  --print-commands print every command string sent to the plot engine, one per line\n"
    "  --z0 Z           the SWR, |Γ| and return loss at the reference impedance Z in ohms\n"
    "                   (50, 75, 50-j10) from R and jX, as the window derives them: columns\n"
    "                   7, 8 and 9 of a sweep or table; the SWR is the first curve unless\n"
    "                   --left is given\n"
    "  --compare OTHER  draw OTHER's curves over FILE's on the same axes, each file in a\n"
    "                   line style of its own and named in the legend; up to 7 files of\n"
    "                   FILE's kind (far fields, sweeps, optimisation tables)\n"
    "  --normalise      with --compare, each far field's diagram to its own maximum\n"
    "  --difference     with one --compare, draw OTHER - FILE in dB against the angle in\n"
    "                   place of the diagram: the azimuth or the elevation cut, on the angles\n"
    "                   both hold (by default the total gain, --left and --right pick others)\n"
    "  --swr-threshold S  with --smith, the SWR of the chart's circle (default 2)\n"
    "  --smith          the Smith chart of a sweep or table (R and jX) against the file's own\n"
    "                   Z0, else 50 ohms (default size 500x500)\n"
    "\n"
    "Messages the window would show go to stderr.\n"
    "Exit status: 0 written, 1 the load, the plot or the write failed, 2 usage.\n";

struct PlotOptions {
    LoadOptions load;
    std::string out;
    std::string format; // png, bmp, jpg, gif, svg, pdf, emf
    std::optional<int> left;
    std::optional<int> right;
    bool logX = false;
    bool logY = false;
    bool elevation = false;
    bool polarHost = false;
    std::optional<std::pair<int, int>> size;
    std::optional<int> quality;
    bool grayscale = false;
    bool printCommands = false;
    ImpedanceOptions impedance;
    std::vector<std::string> compare;
    bool normalise = false;
    bool difference = false;
    bool smith = false;
};

// An option whose value is one of a few words.
OptionRule WordOption(std::string_view name, std::initializer_list<std::string_view> words,
                      std::string refusal, std::function<void(const std::string&)> take) {
    return {name, std::move(refusal), [words, take = std::move(take)](const std::string& value) {
                if (std::ranges::find(words, value) == words.end()) {
                    return false;
                }
                take(value);
                return true;
            }};
}

OptionRule IntOption(std::string_view name, std::optional<int>& target, std::string refusal,
                     int least, int most) {
    return {name, std::move(refusal), [&target, least, most](const std::string& value) {
                int number = 0;
                if (!ReadOptionInt(value, number) || number < least || number > most) {
                    return false;
                }
                target = number;
                return true;
            }};
}

bool ParsePlotOptions(const std::vector<std::string>& args, PlotOptions& options,
                      std::string& error) {
    constexpr int kLeastColumn = std::numeric_limits<int>::min();
    constexpr int kAnyColumn = std::numeric_limits<int>::max();
    OptionRules rules = {
        TextOption("--out", options.out, "--out needs a file name"),
        IntOption("--left", options.left, "--left needs a column number", kLeastColumn, kAnyColumn),
        IntOption("--right", options.right, "--right needs a column number", kLeastColumn,
                  kAnyColumn),
        WordOption("--log", {"x", "y", "xy", "yx"}, "--log takes x, y or xy",
                   [&options](const std::string& value) {
                       options.logX = value.find('x') != std::string::npos;
                       options.logY = value.find('y') != std::string::npos;
                   }),
        WordOption(
            "--diagram", {"azimuth", "elevation"}, "--diagram takes azimuth or elevation",
            [&options](const std::string& value) { options.elevation = value == "elevation"; }),
        WordOption("--host", {"main", "polar"}, "--host takes main or polar",
                   [&options](const std::string& value) { options.polarHost = value == "polar"; }),
        {"--size", "--size takes WIDTHxHEIGHT, 1 to 16384 pixels each",
         [&options](const std::string& value) {
             std::pair<int, int> size;
             if (!ReadPictureSize(value, size)) {
                 return false;
             }
             options.size = size;
             return true;
         }},
        IntOption("--quality", options.quality, "--quality takes 0 to 100", 0, 100),
        Flag("--grayscale", options.grayscale),
        Flag("--print-commands", options.printCommands),
        {"--compare", "--compare needs a file name",
         [&options](const std::string& value) {
             if (value.empty()) {
                 return false;
             }
             options.compare.push_back(value);
             return true;
         }},
        Flag("--normalise", options.normalise),
        Flag("--difference", options.difference),
        Flag("--smith", options.smith),
    };
    for (OptionRule& rule : ImpedanceOptionRules(options.impedance)) {
        rules.push_back(std::move(rule));
    }
    for (OptionRule& rule : LoadOptionRules(options.load)) {
        rules.push_back(std::move(rule));
    }
    if (!ParseOptions(args, rules, options.load.file, options.load.help, error) ||
        !CheckLoadOptions(options.load, error)) {
        return false;
    }
    if (options.load.help) {
        return true;
    }
    if (options.out.empty()) {
        error = "--out is missing";
        return false;
    }
    options.format =
        PictureFormatOf(options.out, {"png", "bmp", "jpg", "gif", "svg", "pdf", "emf"});
    if (options.format.empty()) {
        error = "OUT must end in .png, .bmp, .jpg, .gif, .svg, .pdf or .emf";
        return false;
    }
    if (options.compare.size() > kMaxComparisons) {
        error = "--compare takes at most 7 files";
        return false;
    }
    if (options.normalise && options.compare.empty()) {
        error = "--normalise is for --compare";
        return false;
    }
    if (options.difference && options.compare.size() != 1) {
        error = "--difference takes one --compare";
        return false;
    }
    if ((options.quality || options.grayscale) && options.format != "jpg") {
        error = "--quality and --grayscale are for .jpg files";
        return false;
    }
    return true;
}

// Hands every call to the engine and prints each command string on the way.
class CommandEcho final : public PlotApi {
public:
    CommandEcho(PlotApi& engine, std::ostream* out) : engine_(engine), out_(out) {}

    std::int32_t DPlot_Start(std::int32_t mode, std::int32_t* wasActive) override {
        return engine_.DPlot_Start(mode, wasActive);
    }
    void DPlot_Stop() override { engine_.DPlot_Stop(); }
    std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                            std::string_view commands) override {
        Echo(commands);
        return engine_.DPlot_Plot(plot, x, y, commands);
    }
    PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width, std::int32_t height,
                                 PlotMetrics& metrics) override {
        return engine_.DPlot_GetBitmapEx(document, width, height, metrics);
    }
    std::int32_t DPlot_Command(std::int32_t document, std::string_view command) override {
        Echo(command);
        return engine_.DPlot_Command(document, command);
    }
    void DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                       std::int32_t curve, const float* x, const float* y) override {
        engine_.DPlot_AddData(document, type, points, curve, x, y);
    }

private:
    void Echo(std::string_view commands) {
        if (out_ != nullptr) {
            *out_ << commands << '\n';
        }
    }

    PlotApi& engine_;
    std::ostream* out_;
};

// The curves a load draws first: entry 2 of the left list for near fields and currents,
// otherwise the first column against the second.
std::pair<int, int> InitialCurves(std::int16_t kind) {
    if (kind == KindNearField || kind == KindCurrents) {
        return {3, 0};
    }
    return {1, 2};
}

// The engine's fonts and pictures need a QGuiApplication, on the offscreen platform unless the
// caller chose one. A program that runs the plot among other pictures has made its own.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return MakeApplication<QGuiApplication>();
}

bool WritePicture(plotter::PlotEngine& engine, const PlotSlot& slot, const PlotOptions& options,
                  const AppState& state, std::string& error) {
    const std::string& format = options.format;
    if (format == "svg" || format == "pdf" || format == "emf") {
        const bool written = format == "svg"   ? engine.SaveSvg(slot.DocNum, options.out)
                             : format == "pdf" ? engine.SavePdf(slot.DocNum, options.out)
                                               : engine.SaveEmf(slot.DocNum, options.out);
        if (!written) {
            error = engine.LastError();
        }
        return written;
    }
    if (slot.HasBitmap != 1) {
        error = "the picture box has no picture";
        return false;
    }
    JpegOptions jpeg;
    jpeg.Quality = static_cast<std::int16_t>(options.quality.value_or(jpeg.Quality));
    jpeg.Grayscale = options.grayscale;
    clsGIF gif;
    const ImageResult result =
        WriteImageFile(plotter::ToQImage(slot.Bitmap), format, options.out, state, jpeg, gif);
    if (!result.ok) {
        error = result.error;
    }
    return result.ok && result.written;
}

// The compared files, read as the window's "Сравнить с…" reads them, into the state the graphs
// draw from; false, after saying why, when one cannot be compared with the file on show.
bool LoadComparisons(const PlotOptions& options, AppState& state, const std::string& lead,
                     std::ostream& err) {
    LoadRequest request;
    request.decimalSeparator = state.DecimalSeparator;
    request.pi = state.PiValue;
    state.Compare.ShownLabel = ComparisonName(options.load.file);
    state.Compare.Normalise = options.normalise;
    for (const std::string& file : options.compare) {
        const ComparisonRead read = ReadForComparison(state.Loaded.Shown.get(), file, request);
        if (read.result == nullptr) {
            err << lead << file << " cannot be compared";
            for (const LoadMessage& message : read.messages) {
                for (const std::string& line : SplitLines(message.text)) {
                    err << ": " << line;
                }
            }
            err << '\n';
            return false;
        }
        state.Compare.Results.push_back({ComparisonName(file), read.result});
    }
    return true;
}

} // namespace

int RunPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunPlotAs("plot", args, out, err);
}

int RunPlotAs(std::string_view command, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
    const std::string lead = "lobex-cli " + std::string(command) + ": ";
    PlotOptions options;
    std::string error;
    if (!ParsePlotOptions(args, options, error)) {
        err << lead << error << "\n\n" << kPlotUsage;
        return kExitUsage;
    }
    if (options.load.help) {
        out << kPlotUsage;
        return kExitLoaded;
    }
    if (!OutputIsNoInput(command, options.out, {options.load.file}, err)) {
        return kExitFailed;
    }
    for (const std::string& file : options.compare) {
        if (!OutputIsNoInput("plot", options.out, {file}, err)) {
            return kExitFailed;
        }
    }
    const std::unique_ptr<QGuiApplication> application = MakeGuiApplication();

    Session session;
    AppState& state = session.state;
    if (!session.Load(options.load, err)) {
        PrintMessages(session.messages, lead, err);
        return kExitFailed;
    }
    if (!LoadComparisons(options, state, lead, err)) {
        return kExitFailed;
    }
    if (options.difference && state.Loaded.Data.DataKind != KindFarField) {
        err << lead << "only far fields have a difference\n";
        return kExitFailed;
    }
    const bool pattern = state.View.PatternShown;
    int lastColumn = LastColumnInUse(state.Loaded.Data.DataKind);
    auto [left, right] =
        options.difference ? std::pair{3, 0} : InitialCurves(state.Loaded.Data.DataKind);
    if (options.impedance.z0) {
        DeriveReflectionCurves(state.Loaded.Data, *options.impedance.z0);
        if (state.Loaded.Data.Derived.empty()) {
            err << lead << "--z0 draws the SWR from R and jX; " << options.load.file
                << " holds none\n";
            return kExitUsage;
        }
        left = kSeriesCount;
        lastColumn = kSeriesCount + static_cast<int>(state.Loaded.Data.Derived.size()) - 1;
    }
    left = options.left.value_or(left);
    right = options.right.value_or(right);
    if (options.smith && !OffersSmithChart(state.Loaded.Data.DataKind)) {
        err << lead << "--smith needs a sweep or an optimisation table\n";
        return kExitUsage;
    }
    if (!options.smith && (left < 1 || left > lastColumn || right < 0 || right > lastColumn)) {
        err << lead << "the curve lists hold columns 1 to " << lastColumn
            << " (0 for no second curve)\n";
        return kExitUsage;
    }

    plotter::PlotEngine engine;
    engine.SetDecimalSeparator(state.DecimalSeparator);
    CommandEcho echo(engine, options.printCommands ? &out : nullptr);
    PlotLink link(echo);
    HeadlessGraphView view;
    state.View.PlotHost = options.polarHost ? PlotHostKind::PolarWindow : PlotHostKind::MainWindow;
    const int slotIndex = !pattern ? kMainSlot : options.elevation ? kElevationSlot : kAzimuthSlot;
    std::pair<int, int> size = options.smith       ? std::pair{500, 500}
                               : !pattern          ? std::pair{760, 343}
                               : options.polarHost ? std::pair{500, 500}
                                                   : std::pair{380, 343};
    size = options.size.value_or(size);
    for (int slot = 0; slot < kPlotSlotCount; ++slot) {
        view.SetSlotSize(slot, size.first, size.second);
    }
    // The lists stand on the chosen columns: entry k of the left list is column k + 1, entry k
    // of the right list column k ("None" first).
    view.SelectCurve(CurveList::Left, CurveChoice{left - 1, left});
    view.SelectCurve(CurveList::Right, CurveChoice{right, right});
    state.View.LogX = options.logX;
    state.View.LogY = options.logY;

    GraphContext ctx{state, view, session.messages, link};
    if (!StartPlotter(link, state, session.messages)) {
        PrintMessages(session.messages, lead, err);
        return kExitFailed;
    }
    const CurvePair pair =
        ChooseCurvePair(view.SelectedCurve(CurveList::Left), view.SelectedCurve(CurveList::Right));
    if (pair.resetRight) {
        view.SelectCurve(CurveList::Right, CurveChoice{0, 0});
    }
    state.Compare.Difference = options.difference;
    if (options.smith) {
        ShowSmithChart(ctx, options.impedance.z0, options.impedance.swrThreshold);
    } else {
        PlotChosenCurves(ctx, pair.left, pair.right);
    }
    if (options.difference && !state.Compare.Difference) {
        // Refused, and told among the messages.
        StopPlotter(link);
        PrintMessages(session.messages, lead, err);
        return kExitFailed;
    }

    const PlotSlot& slot = link.Slots[static_cast<std::size_t>(slotIndex)];
    bool written = false;
    if (slot.DocNum <= 0) {
        error = pattern && options.elevation ? "the file holds no elevation diagram"
                                             : "nothing was drawn";
    } else {
        written = WritePicture(engine, slot, options, state, error);
    }
    StopPlotter(link);
    PrintMessages(session.messages, lead, err);
    if (!written) {
        err << lead << options.out << ": " << error << '\n';
        return kExitFailed;
    }
    return kExitLoaded;
}

} // namespace lobex::cli
