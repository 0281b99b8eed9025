#include "RectangularGraph.h"

#include "CompareOverlay.h"
#include "GraphCommands.h"
#include "PolarGraph.h"
#include "ReferenceImpedance.h"
#include "SmithGraph.h"
#include "core/TextRules.h"
#include "core/Texts.h"

#include <limits>

namespace lobex {
namespace {

struct GraphTexts {
    std::string title;
    std::string xLabel;
};

GraphTexts TextsFor(const AppState& state) {
    switch (state.Loaded.Data.DataKind) {
    case KindNearField:
        return {state.Loaded.ElectricField ? LOBEX_TEXT("Напряженность поля, V/m")
                                           : LOBEX_TEXT("Напряженность поля, A/m"),
                LOBEX_TEXT("Удаление, м")};
    case KindSweep:
        return {LOBEX_TEXT("Частотные характеристики"), LOBEX_TEXT("Частота, MHz")};
    case KindCurrents:
        return {LOBEX_TEXT("Ток провода, А"), LOBEX_TEXT("Нормализованная длина провода")};
    case KindTable:
        return {LOBEX_TEXT("Данные"), LOBEX_TEXT("Данные")};
    default:
        return {" ", state.Loaded.Data.Series[0].Label};
    }
}

// A log axis needs a lower limit above zero. The limit is tested as the command carries it.
bool AllowsLog(const std::string& lowerLimit) {
    return LeadingNumber(lowerLimit) > 0.0;
}

// Enables the box when the data allow a log axis; otherwise disables and unticks it, and
// tells the user when the log axis had been asked for.
void ApplyLogRule(GraphContext& ctx, LogBox box, bool& flag, bool allowed) {
    if (allowed) {
        ctx.view.SetLogBoxEnabled(box, true);
        return;
    }
    ctx.view.SetLogBoxEnabled(box, false);
    ctx.view.SetLogBoxTicked(box, false);
    if (flag) {
        ctx.messages.Show(kLogRefusedMessage, MessageIcon::Information, ctx.state.AppTitle);
    }
    flag = false;
}

int ScaleCode(bool logX, bool logY) {
    if (logX && logY) {
        return 4;
    }
    if (logX) {
        return 3;
    }
    return logY ? 2 : 1;
}

} // namespace

void PlotXY(GraphContext& ctx, int left, int right) {
    AppState& state = ctx.state;
    PlotLink& link = ctx.link;
    const DataSet& data = state.Loaded.Data;
    ClosePlot(ctx, kMainSlot);
    ctx.view.SetLogBoxVisible(LogBox::X, true);
    ctx.view.SetLogBoxVisible(LogBox::Y, true);
    if (data.DataText.empty()) {
        ctx.messages.Show(kNoDataMessage, MessageIcon::Information, state.AppTitle);
        return;
    }
    // Column 0 is the X axis; the lists offer only the others.
    // The derived curves follow the series and plot as they do.
    if (left < 1 || SeriesOf(data, left) == nullptr || SeriesOf(data, right) == nullptr) {
        return;
    }
    const std::size_t n = std::min<std::size_t>(data.Series[0].Values.size(),
                                                std::numeric_limits<std::int32_t>::max());
    DPLOT& record = link.Record;
    const SeriesRecord& first = *SeriesOf(data, left);
    graphs::SetFirstCurve(record, static_cast<std::int32_t>(n), first);
    SetTextField(record.YAxis, GraphText(link, TrimSpaces(first.Label)));

    const std::string& separator = state.DecimalSeparator;
    // Compared results share the axes: their limits hold every result's curves.
    const std::optional<OverlayLimits> overlaid =
        RectangularOverlay(state, left, right, link.Overlay);
    const OverlayLimits limits =
        overlaid.value_or(OverlayLimits{data.Series[0].Min, data.Series[0].Max, first.Min,
                                        first.Max, data.Series[static_cast<std::size_t>(right)].Min,
                                        data.Series[static_cast<std::size_t>(right)].Max});
    const std::string xlo = PointText(limits.xlo, separator);
    const std::string xhi = PointText(limits.xhi, separator);
    const std::string ylo = PointText(limits.ylo, separator);
    const std::string yhi = PointText(limits.yhi, separator);
    link.Slots[kMainSlot].ClientRect = ctx.view.SlotClientRect(kMainSlot);

    std::string& commands = link.PlotCommands;
    commands = "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(5,8)][FontPoints(2,10)]";
    commands += graphs::kGridLines;
    commands += "[AutoSize()]";
    std::string y2lo;
    graphs::CopyCurves(link, data, n, left, right);
    if (right != 0) {
        const SeriesRecord& second = *SeriesOf(data, right);
        graphs::SetTwoCurves(record);
        y2lo = PointText(limits.y2lo, separator);
        const std::string y2hi = PointText(limits.y2hi, separator);
        commands += "[SelectCurve(2)][MultipleYAxes(2,2,0)]";
        commands += graphs::TextCommand("Y2AxisLabel", GraphText(link, second.Label));
        commands += graphs::Command("ManualScale", {xlo, ylo, xhi, yhi, y2lo, y2hi});
        commands += graphs::kSecondCurveBlue;
    } else {
        record.NumCurves = 1;
        commands += graphs::Command("ManualScale", {xlo, ylo, xhi, yhi});
    }
    const GraphTexts texts = TextsFor(state);
    commands += graphs::kTextFonts;
    commands +=
        graphs::AxisLabelAndTitle(GraphText(link, texts.xLabel), GraphText(link, texts.title));

    ApplyLogRule(ctx, LogBox::X, state.View.LogX, AllowsLog(xlo));
    ApplyLogRule(ctx, LogBox::Y, state.View.LogY, AllowsLog(ylo));
    if (right != 0) {
        // The second axis decides whether the box can be used at all; a first axis that
        // cannot go logarithmic is refused again when the box is ticked.
        ApplyLogRule(ctx, LogBox::Y, state.View.LogY, AllowsLog(y2lo));
    }

    commands +=
        graphs::Command("Scale", {std::to_string(ScaleCode(state.View.LogX, state.View.LogY))});
    commands += graphs::kLineWidths;
    commands += graphs::TextCommand("Caption", "Lobex Data");

    if (RenderPlot(ctx, kMainSlot)) {
        std::vector<DrawnCurve> drawn{{first.Label, left, {}}};
        if (right != 0) {
            drawn.push_back({SeriesOf(data, right)->Label, right, {}});
        }
        link.Slots[kMainSlot].Curves = CurvesOfLastPlot(link, std::move(drawn));
        ctx.view.SetGraphMenusEnabled(true);
        ctx.view.PaintSlot(kMainSlot);
    } else {
        ctx.view.Set3DButtonEnabled(false);
        ctx.view.SetGraphMenusEnabled(false);
    }
    ctx.view.PumpEvents();
}

SweepMarks SweepMarksOf(const DataSet& data) {
    if (data.DataKind != KindSweep) {
        return {};
    }
    const auto column = [&data](int c) -> std::span<const float> {
        return data.Series[static_cast<std::size_t>(c)].Values;
    };
    return FindSweepMarks(column(0), column(kSweepSwrColumn), column(kSweepReactanceColumn),
                          column(kSweepResistanceColumn), LineImpedanceOf(data.HeaderWords));
}

CurvePair ChooseCurvePair(CurveChoice left, CurveChoice right) {
    CurvePair pair;
    if (left.index == 0 && right.index == 0) {
        pair.left = left.itemData;
        pair.right = 0;
        return pair;
    }
    pair.left = left.itemData;
    pair.right = right.itemData;
    if (pair.left == pair.right) {
        pair.right = 0;
        pair.resetRight = true;
    }
    return pair;
}

void PlotChosenCurves(GraphContext& ctx, int left, int right) {
    AppState& state = ctx.state;
    if (state.View.PatternShown) {
        const int entry = state.Loaded.Sets.selected;
        if (entry >= 0 && entry < static_cast<int>(state.Loaded.Sets.entries.size())) {
            const SetListEntry& chosen = state.Loaded.Sets.entries[static_cast<std::size_t>(entry)];
            state.Loaded.Data.SelectedSetIndex = static_cast<std::int16_t>(chosen.itemData);
            state.View.SelectedSetText = chosen.text;
            state.View.SetChosen = true;
        }
        ShowPattern(ctx, left, right);
    } else if (left == kSmithChartItem) {
        // The chart follows the reference impedance and threshold the user chose.
        ShowSmithChart(ctx, ChosenReferenceImpedance(state), state.View.SwrThreshold);
    } else {
        PlotXY(ctx, left, right);
    }
}

} // namespace lobex
