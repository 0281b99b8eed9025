#include "PolarGraph.h"

#include "CompareOverlay.h"
#include "DifferenceGraph.h"
#include "GraphCommands.h"
#include "core/FarField.h"
#include "core/GainScale.h"
#include "core/TextRules.h"
#include "core/Texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace lobex {
namespace {

constexpr std::string_view kDegree = "\u00B0";
constexpr int kCirclePoints = 360;

std::string Degrees(float value, std::string_view separator) {
    std::string text = LocaleNumberText(value, separator);
    text += kDegree;
    return text;
}

} // namespace

PatternLabels ResultLabels(const AppState& state) {
    const PatternResults& pattern = state.Loaded.Pattern;
    const std::string& separator = state.DecimalSeparator;
    PatternLabels labels;
    labels.MaxElev = Degrees(pattern.MaxElevation, separator);
    labels.MaxAzim = Degrees(pattern.MaxAzimuth, separator);
    labels.MaxTotal = FormatPattern(pattern.MaxGain, "#0.0#", separator);
    if (state.View.SetChosen) {
        labels.AzElev = state.View.SelectedSetText;
        labels.AzElev += kDegree;
    } else {
        labels.AzElev = Degrees(pattern.MaxElevation, separator);
    }
    labels.BeamLeft = Degrees(pattern.BeamLeft, separator);
    labels.BeamRight = Degrees(pattern.BeamRight, separator);
    labels.BeamWidth = Degrees(pattern.BeamWidth, separator);
    return labels;
}

namespace {

// The elevation cut runs from the zenith down to the front horizon, then from the zenith again
// down to the back horizon. Drawn in that order, its line would jump from the front horizon
// back up to the zenith; in angle order it runs round in one sweep.
void SortByAngle(PlotLink& link, std::size_t n, std::size_t curves) {
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const std::vector<float>& x = link.XValues;
    std::stable_sort(order.begin(), order.end(),
                     [&x](std::size_t a, std::size_t b) { return x[a] < x[b]; });
    auto reorder = [&order, n](std::vector<float>& values, std::size_t offset) {
        std::vector<float> sorted(n);
        for (std::size_t i = 0; i < n; ++i) {
            sorted[i] = values[offset + order[i]];
        }
        std::copy(sorted.begin(), sorted.end(),
                  values.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    reorder(link.XValues, 0);
    for (std::size_t c = 0; c < curves; ++c) {
        reorder(link.YValues, c * n);
    }
}

bool BuildAndShowCut(GraphContext& ctx, LoadContext& load, float azimuth, float elevation) {
    const CutResult cut = BuildCut(load, azimuth, elevation);
    if (cut.patternControls) {
        ctx.view.SetPatternControls(*cut.patternControls);
    }
    return cut.built;
}

} // namespace

bool ShowPattern(GraphContext& ctx, int left, int right) {
    AppState& state = ctx.state;
    const float elevation = CutElevation(state);
    ClosePlot(ctx, kElevationSlot);
    ClosePlot(ctx, kAzimuthSlot);
    LoadContext load{state, ctx.messages};
    state.View.CutKind = 1;
    if (!BuildAndShowCut(ctx, load, 0.0f, elevation)) {
        return false;
    }
    if (state.View.SetChosen) {
        left = ctx.view.SelectedCurve(CurveList::Left).itemData;
        right = ctx.view.SelectedCurve(CurveList::Right).itemData;
        if (left == right) {
            right = 0;
        }
    }
    PlotPolar(ctx, left, right, kAzimuthSlot);
    state.View.CutKind = 2;
    if (state.Loaded.Pattern.ElevationCutAvailable) {
        if (!BuildAndShowCut(ctx, load, 0.0f, 0.0f)) {
            return false;
        }
        // A grid with one zenith angle, or without azimuth 0 or 180, has no elevation cut: its
        // diagram stays empty rather than drawing the leftovers of the cleared series.
        if (state.Loaded.Pattern.ElevationCutAvailable) {
            PlotPolar(ctx, left, right, kElevationSlot);
        }
    }
    ShowDifferenceCurves(ctx, left, right);
    return true;
}

bool PlotPolar(GraphContext& ctx, int left, int right, int area) {
    AppState& state = ctx.state;
    PlotLink& link = ctx.link;
    const DataSet& data = state.Loaded.Data;
    if (data.DataText.empty()) {
        ctx.messages.Show(kNoDataMessage, MessageIcon::Information, state.AppTitle);
        return false;
    }
    if (area != kAzimuthSlot && area != kElevationSlot) {
        return false;
    }
    if (left < 1 || !graphs::IsSeriesColumn(left) || !graphs::IsSeriesColumn(right)) {
        return false;
    }
    const std::size_t n = std::min<std::size_t>(data.Series[0].Values.size(),
                                                std::numeric_limits<std::int32_t>::max());
    DPLOT& record = link.Record;
    graphs::SetFirstCurve(record, static_cast<std::int32_t>(n),
                          data.Series[static_cast<std::size_t>(left)]);
    ctx.view.SetPolarLayout(true);
    if (area == kElevationSlot) {
        ctx.view.ShowPatternLabels(ResultLabels(state));
    }
    PlotSlot& slot = link.Slots[static_cast<std::size_t>(area)];
    slot.ClientRect = ctx.view.SlotClientRect(area);
    slot.Bitmap = PlotBitmap{};
    slot.HasBitmap = 0;

    const bool mainHost = state.View.PlotHost == PlotHostKind::MainWindow;
    std::string& commands = link.PlotCommands;
    commands = "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)]";
    commands += graphs::kGridLines;
    commands += mainHost ? "[Size(1,2,2,0)]" : "[Size(1,3.3,3.3,0)]";
    graphs::CopyCurves(link, data, n, left, right);
    if (area == kElevationSlot) {
        SortByAngle(link, n, right != 0 ? 2 : 1);
    }
    if (right != 0) {
        graphs::SetTwoCurves(record);
        commands += graphs::kSecondCurveBlue;
    } else {
        record.MaxCurves = 1;
        record.NumCurves = 1;
    }
    const bool farField = data.DataKind == KindFarField;
    const std::string_view title = !farField                 ? ""
                                   : state.View.CutKind == 1 ? LOBEX_TEXT("Азимут")
                                                             : LOBEX_TEXT("Угол");
    const std::string_view xLabel = farField ? LOBEX_TEXT("Азимут") : "";
    commands += graphs::kTextFonts;
    commands += graphs::AxisLabelAndTitle(GraphText(link, xLabel), GraphText(link, title));
    commands += state.View.CutKind == 1 ? "[PolarPlotStyle(3)]" : "[PolarPlotStyle(0)]";
    commands += "[Scale(264)]";
    commands += graphs::Command("ManualScale", {"0", "0", "360", "1"});
    commands += mainHost ? "[NumTicks(1,18,5)]" : "[NumTicks(1,36,5)]";
    commands += graphs::kLineWidths;
    commands += graphs::TextCommand("Caption", area == kAzimuthSlot ? "Azimuth" : "Elevation");

    PolarOverlay(state, left, right, area, link.Overlay);
    const bool rendered = RenderPlot(ctx, area);
    if (rendered) {
        ctx.view.PaintSlot(area);
    }
    ctx.view.PumpEvents();
    return rendered;
}

float BeamCircleRadius(const AppState& state) {
    const PatternResults& pattern = state.Loaded.Pattern;
    // A maximum less than 3 dB above the floor puts the -3 dB level below it, at the centre.
    return GainToRadius(pattern.MaxGain - 3.0f, pattern.PlotFloor, pattern.PlotRange);
}

void AddBeamCircle(GraphContext& ctx, float radius, std::int32_t document, std::int32_t curves) {
    // The circle follows the document's own curves, so it never takes the place of one.
    const std::int32_t curve = curves + 1;
    std::array<float, kCirclePoints> angles{};
    std::array<float, kCirclePoints> radii{};
    for (int a = 0; a < kCirclePoints; ++a) {
        angles[static_cast<std::size_t>(a)] = static_cast<float>(a);
        radii[static_cast<std::size_t>(a)] = radius;
    }
    PlotApi& api = ctx.link.api;
    api.DPlot_AddData(document, 0, kCirclePoints, curve, angles.data(), radii.data());
    const std::string c = std::to_string(curve);
    const std::string before = std::to_string(curve - 1);
    api.DPlot_Command(document, graphs::Command("Color", {c, "0", "128", "0"}) +
                                    graphs::Command("LineType", {c, "3"}) +
                                    graphs::Command("LineType", {before, "1"}));
}

} // namespace lobex
