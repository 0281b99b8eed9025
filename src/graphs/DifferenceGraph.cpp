#include "DifferenceGraph.h"

#include "GraphCommands.h"
#include "PolarGraph.h"
#include "core/FarField.h"
#include "core/TextRules.h"
#include "model/PatternDifference.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

namespace lobex {
namespace {

// The value of a point for a curve-list column.
float ColumnOf(const PatternPoint& point, int column) {
    return column == 1 ? point.Vertical : column == 2 ? point.Horizontal : point.Total;
}

std::optional<PatternCut> CutOf(const FarFieldGrid& grid, float elevation, int area) {
    return area == kAzimuthSlot ? AzimuthCut(grid, elevation) : ElevationCut(grid, 0.0f);
}

} // namespace

std::string_view PlotDifference(GraphContext& ctx, const DifferencePair& pair, float elevation,
                                int left, int right, int area) {
    if (!IsRegular(pair.a) || !IsRegular(pair.b)) {
        return kIrregularPattern;
    }
    const std::optional<PatternCut> cutA = CutOf(pair.a, elevation, area);
    const std::optional<PatternCut> cutB = CutOf(pair.b, elevation, area);
    if (!cutA || !cutB) {
        return kNoCommonAngles;
    }
    Checked<std::vector<CutDifferencePoint>> difference = DifferenceOf(*cutA, *cutB);
    if (!difference) {
        return difference.rejection.text;
    }
    std::vector<CutDifferencePoint> points = std::move(*difference.value);
    // The elevation cut runs down the front, then down the back: in angle order it is one line.
    std::ranges::stable_sort(points, {}, &CutDifferencePoint::angle);

    std::vector<int> columns{left};
    if (right != 0 && right != left) {
        columns.push_back(right);
    }
    const std::size_t n = points.size();
    PlotLink& link = ctx.link;
    link.XValues.resize(n);
    link.YValues.assign(n * (columns.size() + 1), 0.0f);
    float largest = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        link.XValues[i] = points[i].angle;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const float value = ColumnOf(points[i].difference, columns[c]);
            link.YValues[c * n + i] = value;
            largest = std::max(largest, std::fabs(value));
        }
    }
    // The last curve stays at zero: the line between better and worse.
    const auto curves = static_cast<std::int32_t>(columns.size() + 1);
    DPLOT& record = link.Record;
    record.MaxPoints = static_cast<std::int32_t>(n);
    record.MaxCurves = curves;
    record.NumCurves = curves;
    for (std::int32_t c = 0; c < curves; ++c) {
        record.NP[static_cast<std::size_t>(c)] = static_cast<std::int32_t>(n);
        record.LineType[static_cast<std::size_t>(c)] = 1;
    }
    SetTextField(record.YAxis, GraphText(link, LOBEX_TEXT("Разность, дБ")));

    // The diagram's document goes; its slot, and the result frame beside it, stay.
    PlotSlot& slot = link.Slots[static_cast<std::size_t>(area)];
    if (slot.DocNum > 0) {
        link.api.DPlot_Command(slot.DocNum, "[FileClose()]");
        slot.DocNum = 0;
    }
    slot.ClientRect = ctx.view.SlotClientRect(area);
    // A scale the same either side of zero, whole decibels, so that better and worse weigh
    // alike to the eye.
    const float top = std::max(1.0f, std::ceil(largest * 1.1f));
    const std::string& separator = ctx.state.DecimalSeparator;
    const float xhi = area == kAzimuthSlot ? 360.0f : 180.0f;
    std::string& commands = link.PlotCommands;
    commands = "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][FontPoints(3,8)]";
    commands += graphs::kGridLines;
    commands += "[AutoSize()]";
    commands +=
        graphs::Command("ManualScale", {"0", PointText(-top, separator), PointText(xhi, separator),
                                        PointText(top, separator)});
    if (columns.size() == 2) {
        commands += graphs::kSecondCurveBlue;
    }
    const std::string zero = std::to_string(curves);
    commands += graphs::Command("Color", {zero, "0", "0", "0"});
    commands += graphs::Command("LineType", {zero, "3"});
    commands += graphs::kTextFonts;
    const std::string_view xLabel =
        area == kAzimuthSlot ? LOBEX_TEXT("Азимут") : LOBEX_TEXT("Угол");
    commands += graphs::AxisLabelAndTitle(GraphText(link, xLabel),
                                          GraphText(link, LOBEX_TEXT("Разность B − A")));
    commands += graphs::TextCommand("Title2", "B: " + pair.nameB + "  −  A: " + pair.nameA);
    commands += "[Scale(1)]";
    commands += area == kAzimuthSlot ? "[NumTicks(1,8,3)]" : "[NumTicks(1,6,3)]";
    commands += graphs::kLineWidths;
    commands += graphs::TextCommand("Caption", area == kAzimuthSlot ? "Azimuth" : "Elevation");

    if (RenderPlot(ctx, area, false)) {
        ctx.view.PaintSlot(area);
    }
    ctx.view.PumpEvents();
    return {};
}

const FarFieldGrid* ComparedGrid(const AppState& state) {
    if (state.Compare.Results.empty()) {
        return nullptr;
    }
    const auto* pattern =
        std::get_if<FarFieldPattern>(state.Compare.Results.front().Document.get());
    return pattern != nullptr ? &pattern->grid : nullptr;
}

bool ShowDifferenceCurves(GraphContext& ctx, int left, int right) {
    AppState& state = ctx.state;
    const FarFieldGrid* compared = ComparedGrid(state);
    if (!state.Compare.Difference || compared == nullptr ||
        state.Loaded.Data.DataKind != KindFarField) {
        return false;
    }
    const DifferencePair pair{state.Loaded.FarField, *compared, state.Compare.ShownLabel,
                              state.Compare.Results.front().Label};
    const float elevation = CutElevation(state);
    std::string_view refusal = PlotDifference(ctx, pair, elevation, left, right, kAzimuthSlot);
    const bool azimuthDrawn = refusal.empty();
    if (azimuthDrawn && state.Loaded.Pattern.ElevationCutAvailable) {
        refusal = PlotDifference(ctx, pair, elevation, left, right, kElevationSlot);
    }
    if (refusal.empty()) {
        return true;
    }
    ctx.messages.Show(refusal, MessageIcon::Information, state.AppTitle);
    state.Compare.Difference = false;
    // A half-drawn difference goes back to the diagrams.
    if (azimuthDrawn) {
        ShowPattern(ctx, left, right);
    }
    return false;
}

} // namespace lobex
