#include "GraphOutput.h"

#include "GraphCommands.h"
#include "PolarGraph.h"
#include "RectangularGraph.h"
#include "core/TextRules.h"
#include "core/Texts.h"

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

std::vector<std::string> PrintHeading(const PlotLink& link, const AppState& state,
                                      std::string_view source) {
    const std::size_t slash = source.find_last_of("/\\");
    std::vector<std::string> lines{
        std::string(slash == std::string_view::npos ? source : source.substr(slash + 1))};
    const std::string& separator = state.DecimalSeparator;
    const auto text = [&link](std::string_view words) {
        return GraphText(link, words);
    };
    if (state.View.PatternShown) {
        const PatternLabels labels = ResultLabels(state);
        lines.push_back(text(LOBEX_TEXT("Максимум Излучения")) + ": " +
                        text(LOBEX_TEXT("Горизонт")) + " " + labels.MaxElev + ", " +
                        text(LOBEX_TEXT("Азимут")) + " " + labels.MaxAzim + ", " +
                        text(LOBEX_TEXT("Уровень")) + " " + labels.MaxTotal + " dBi");
        lines.push_back(text(LOBEX_TEXT("Ширина по уровню -3dB")) + ": " +
                        text(LOBEX_TEXT("Лепесток")) + " " + labels.BeamWidth + ", " +
                        text(LOBEX_TEXT("Азимут 1")) + " " + labels.BeamLeft + ", " +
                        text(LOBEX_TEXT("Азимут 2")) + " " + labels.BeamRight);
        lines.push_back(text(LOBEX_TEXT("Срез Aзимута для")) + " " + labels.AzElev + " " +
                        text(LOBEX_TEXT("Возвышения")));
        return lines;
    }
    const DataSet& data = state.Loaded.Data;
    if (data.DataKind == KindSweep && !data.Series[0].Values.empty()) {
        const SweepMarks marks = SweepMarksOf(data);
        lines.push_back(text(LOBEX_TEXT("Частота")) + " " +
                        FormatPattern(data.Series[0].Values.front(), "#0.000", separator) + " – " +
                        FormatPattern(data.Series[0].Values.back(), "#0.000", separator));
        std::string figures;
        if (marks.swrMinimum) {
            figures = text(SwrMinimumText(marks.swrMinimum->y, separator)) + " (" +
                      FormatPattern(marks.swrMinimum->x, "#0.000", separator) + ")";
        }
        for (const double f : marks.resonances) {
            figures += (figures.empty() ? "" : ", ") + text(ResonanceText(f, separator));
        }
        if (!figures.empty()) {
            lines.push_back(figures);
        }
    } else if (!state.View.SelectedSetText.empty()) {
        lines.push_back(state.View.SelectedSetText);
    }
    return lines;
}

bool PrintGraph(PlotLink& link, const AppState& state, std::string_view source) {
    std::string heading = "[PrintHeading()]";
    for (const std::string& line : PrintHeading(link, state, source)) {
        heading += graphs::TextCommand("PrintHeading", line);
    }
    if (!state.View.PatternShown) {
        return SendToSlot(link, kMainSlot,
                          heading + "[LineWidth(-2,10)][FilePageSetup(0.5,0.5,0.5,0.5)]"
                                    "[FilePrint(1)]");
    }
    if (!HasDocument(link, kAzimuthSlot) || !HasDocument(link, kElevationSlot)) {
        return false;
    }
    const std::string elevation = std::to_string(link.Slots[kElevationSlot].DocNum);
    return SendToSlot(link, kAzimuthSlot, DiagramNote(state)) &&
           SendToSlot(link, kAzimuthSlot,
                      heading +
                          "[LineWidth(-2,10)][FilePageSetup(0.5,0.5,0.5,0.5)]"
                          "[FilePrint(1," +
                          elevation + ")]");
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
