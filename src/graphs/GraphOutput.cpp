#include "GraphOutput.h"

#include "GraphCommands.h"
#include "core/TextRules.h"

#include <array>
#include <utility>

namespace lobex {
namespace {

constexpr std::array<std::pair<std::string_view, int>, 3> kVectorFormats{{
    {"emf", kSaveAsEmf},
    {"svg", kSaveAsSvg},
    {"pdf", kSaveAsPdf},
}};

// The document that leaves: slot 0's graph, or the chosen diagram; -1 when nothing was chosen.
int OutputSlot(const AppState& state, int chosen) {
    if (!state.View.PatternShown) {
        return kMainSlot;
    }
    return chosen == 1 ? kAzimuthSlot : chosen == 2 ? kElevationSlot : -1;
}

bool HasDocument(const PlotLink& link, int slot) {
    return slot >= 0 && link.Slots[static_cast<std::size_t>(slot)].DocNum > 0;
}

bool SendToSlot(PlotLink& link, int slot, const std::string& command) {
    return HasDocument(link, slot) &&
           link.api.DPlot_Command(link.Slots[static_cast<std::size_t>(slot)].DocNum, command) > 0;
}

// What a diagram carries whenever it leaves: the gain note and a thin frame.
std::string DiagramNote(const AppState& state) {
    return GainNote(state.Loaded.Pattern.MaxGain, state.DecimalSeparator) + "[LineWidth(-2,10)]";
}

} // namespace

std::optional<int> VectorFormatCode(std::string_view format) {
    for (const auto& [name, code] : kVectorFormats) {
        if (format == name) {
            return code;
        }
    }
    return std::nullopt;
}

std::string GainNote(float maxGain, std::string_view decimalSeparator) {
    return graphs::TextCommand("NoteText",
                               FormatPattern(maxGain, "#0.00", decimalSeparator) + "dBi") +
           "[NotePosition(0.0,1.0)][FontPoints(7,7)]";
}

bool CopyGraph(PlotLink& link, const AppState& state, int chosen) {
    const std::string command = state.View.PatternShown ? DiagramNote(state) + "[CopyPicture()]"
                                                        : "[SetMetafileDims(5,3)][CopyPicture()]";
    return SendToSlot(link, OutputSlot(state, chosen), command);
}

bool PrintGraph(PlotLink& link, const AppState& state) {
    if (!state.View.PatternShown) {
        return SendToSlot(link, kMainSlot,
                          "[LineWidth(-2,10)][FilePageSetup(0.5,6,0.5,0.5)][FilePrint(1)]");
    }
    return HasDocument(link, kAzimuthSlot) && HasDocument(link, kElevationSlot) &&
           SendToSlot(link, kAzimuthSlot, DiagramNote(state)) &&
           SendToSlot(link, kElevationSlot,
                      "[LineWidth(-2,10)][FilePageSetup(0.5,5,0.2,0.2)][FilePrint(1)]");
}

bool SaveGraphAs(PlotLink& link, const AppState& state, int chosen, std::string_view format,
                 std::string_view path) {
    const std::optional<int> code = VectorFormatCode(format);
    if (!code || !graphs::QuotesWhole(path)) {
        return false;
    }
    const std::string saveAs =
        graphs::Command("FileSaveAs", {std::to_string(*code), graphs::Quoted(path)});
    const std::string command = state.View.PatternShown
                                    ? DiagramNote(state) + "[SetMetafileDims(3.3,3.3)]" + saveAs
                                    : "[SetMetafileDims(5,3)]" + saveAs;
    return SendToSlot(link, OutputSlot(state, chosen), command);
}

} // namespace lobex
