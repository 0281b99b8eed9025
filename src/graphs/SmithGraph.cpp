#include "SmithGraph.h"

#include "CursorReadout.h"
#include "GraphCommands.h"
#include "ReferenceImpedance.h"
#include "core/ImpedanceColumns.h"
#include "core/TextRules.h"
#include "model/Impedance.h"
#include "model/SmithChart.h"
#include "model/Sweep.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

namespace lobex {
namespace {

// Curves after the first: blue as the main graph's second line, then colours clear of the
// green SWR circle; each with its own dashes, so overlays stay apart in grey print too.
constexpr std::array<std::array<int, 3>, 4> kOverlayColours = {
    {{0, 0, 255}, {160, 0, 160}, {200, 120, 0}, {0, 150, 150}}};
constexpr std::array<int, 4> kOverlayLineTypes = {2, 4, 5, 3};

std::string Number(double value, std::string_view separator) {
    return PointText(static_cast<float>(value), separator);
}

} // namespace

bool OffersSmithChart(std::int16_t kind) {
    return kind == KindSweep || kind == KindTable || kind == KindMmanaWindow;
}

std::optional<SmithSweep> SmithSweepOf(const DataSet& data) {
    const std::optional<ImpedanceColumns> columns =
        OffersSmithChart(data.DataKind) ? FindImpedanceColumns(data) : std::nullopt;
    if (!columns) {
        return std::nullopt;
    }
    SmithSweep sweep;
    for (const SweepPoint& point : ColumnSweep(data, *columns).points) {
        sweep.abscissa.push_back(point.frequency);
        sweep.impedance.push_back(point.impedance);
    }
    return sweep;
}

bool PlotSmith(GraphContext& ctx, const DrawnSmith& chart, double swrThreshold) {
    PlotLink& link = ctx.link;
    ClosePlot(ctx, kMainSlot);
    ctx.view.SetLogBoxVisible(LogBox::X, false);
    ctx.view.SetLogBoxVisible(LogBox::Y, false);
    const std::string& separator = ctx.state.DecimalSeparator;
    const std::size_t count = std::min<std::size_t>(chart.sweeps.size(), kPlotMaxCurves);
    // The engine's curves hold Γ: X its real part, Y its imaginary part.
    std::vector<std::vector<float>> re(count), im(count);
    for (std::size_t c = 0; c < count; ++c) {
        for (const std::complex<float> z : chart.sweeps[c].impedance) {
            const std::complex<double> gamma =
                SmithPoint(NormalisedImpedance(std::complex<double>(z), chart.z0));
            re[c].push_back(static_cast<float>(gamma.real()));
            im[c].push_back(static_cast<float>(gamma.imag()));
        }
    }
    if (count == 0 || re.front().empty()) {
        ctx.messages.Show(kNoDataMessage, MessageIcon::Information, ctx.state.AppTitle);
        return false;
    }
    DPLOT& record = link.Record;
    const auto n = static_cast<std::int32_t>(re.front().size());
    record.MaxPoints = n;
    record.NP[0] = n;
    record.NumCurves = 1;
    record.LineType[0] = 1;
    link.XValues = re.front();
    link.YValues = im.front();
    link.Slots[kMainSlot].ClientRect = ctx.view.SlotClientRect(kMainSlot);

    std::string& commands = link.PlotCommands;
    commands = "[FontPoints(1,8)][FontPoints(4,8)][FontPoints(2,10)][FontPoints(7,8)]";
    commands += graphs::kGridLines;
    commands += "[AutoSize()]";
    commands += graphs::Command("Scale", {std::to_string(kScaleSmithChart)});
    commands += graphs::kTextFonts;
    const std::string z0 = chart.z0.imag() == 0.0
                               ? FormatPattern(chart.z0.real(), "#0.0#", separator)
                               : FormatPattern(chart.z0.real(), "#0.0#", separator) +
                                     (chart.z0.imag() < 0.0 ? "-j" : "+j") +
                                     FormatPattern(std::abs(chart.z0.imag()), "#0.0#", separator);
    commands += graphs::TextCommand("Title1", GraphText(link, kSmithChartName) + ", Z0=" + z0 +
                                                  GraphText(link, LOBEX_TEXT(" Ом")));
    commands += graphs::kLineWidths;
    commands += graphs::Command("SwrCircle",
                                {Number(swrThreshold, "."),
                                 graphs::Quoted(GraphText(link, LOBEX_TEXT("КСВ ")) +
                                                FormatPattern(swrThreshold, "#0.0#", separator))});
    for (std::size_t c = 0; c < count; ++c) {
        const std::string curve = std::to_string(c + 1);
        commands += graphs::Command("SelectCurve", {curve});
        if (c > 0) {
            const auto& colour = kOverlayColours[(c - 1) % kOverlayColours.size()];
            commands +=
                graphs::Command("Color", {curve, std::to_string(colour[0]),
                                          std::to_string(colour[1]), std::to_string(colour[2])});
            commands += graphs::Command(
                "LineType",
                {curve, std::to_string(kOverlayLineTypes[(c - 1) % kOverlayLineTypes.size()])});
        }
        const SmithSweep& sweep = chart.sweeps[c];
        // Several sweeps: the legend names each file, as the other overlays do.
        const std::string& legend = c == 0 ? ctx.state.Compare.ShownLabel : sweep.name;
        if (count > 1 && !legend.empty()) {
            commands += "[Legend(" + curve + "," + graphs::Quoted(legend) + ")]";
        }
        // The ends of the sweep, so its direction reads off the chart.
        const std::size_t points = std::min(re[c].size(), sweep.abscissa.size());
        std::vector<std::size_t> ends;
        if (points > 0) {
            ends.push_back(0);
        }
        if (points > 1) {
            ends.push_back(points - 1);
        }
        for (const std::size_t i : ends) {
            if (std::isfinite(re[c][i]) && std::isfinite(im[c][i])) {
                commands += graphs::Command(
                    "PointLabel",
                    {Number(re[c][i], "."), Number(im[c][i], "."),
                     graphs::Quoted(SmithAbscissaText(chart, sweep.abscissa[i], separator))});
            }
        }
    }
    commands += graphs::TextCommand("Caption", "Lobex Data");

    const auto addData = [&](std::int32_t document) {
        for (std::size_t c = 1; c < count; ++c) {
            if (!re[c].empty()) {
                link.api.DPlot_AddData(document, 0, static_cast<std::int32_t>(re[c].size()),
                                       static_cast<std::int32_t>(c + 1), re[c].data(),
                                       im[c].data());
            }
        }
    };
    const bool drawn = RenderPlot(ctx, kMainSlot, false, addData);
    if (drawn) {
        link.Slots[kMainSlot].Smith = chart;
        link.Slots[kMainSlot].Smith.sweeps.resize(count);
        ctx.view.SetGraphMenusEnabled(true);
        ctx.view.PaintSlot(kMainSlot);
    } else {
        ctx.view.SetGraphMenusEnabled(false);
    }
    ctx.view.PumpEvents();
    return drawn;
}

bool ShowSmithChart(GraphContext& ctx, std::optional<std::complex<double>> z0,
                    double swrThreshold) {
    const DataSet& data = ctx.state.Loaded.Data;
    std::optional<SmithSweep> sweep = SmithSweepOf(data);
    if (!sweep) {
        ctx.messages.Show(kNoReactanceMessage, MessageIcon::Information, ctx.state.AppTitle);
        return false;
    }
    DrawnSmith chart;
    chart.z0 = z0.value_or(FileReferenceImpedance(data));
    if (!(chart.z0.real() > 0.0) || !std::isfinite(chart.z0.real()) ||
        !std::isfinite(chart.z0.imag())) {
        ctx.messages.Show(kReferenceImpedanceMessage, MessageIcon::Information, ctx.state.AppTitle);
        return false;
    }
    if (data.DataKind != KindSweep) {
        chart.abscissaName = TrimSpaces(data.Series[0].Label);
    }
    sweep->name = ctx.state.Loaded.CurrentFile;
    chart.sweeps.push_back(std::move(*sweep));
    // Compared sweeps (a model against its measurement) go on the same chart, each a curve of
    // its own; the chart holds as many as the engine's curves allow.
    for (const ComparedResult& compared : ctx.state.Compare.Results) {
        const auto* other =
            compared.Document ? std::get_if<Sweep>(compared.Document.get()) : nullptr;
        if (other == nullptr || other->points.empty() || chart.sweeps.size() >= kPlotMaxCurves) {
            continue;
        }
        SmithSweep added;
        added.name = compared.Label;
        for (const SweepPoint& point : other->points) {
            added.abscissa.push_back(point.frequency);
            added.impedance.push_back(point.impedance);
        }
        chart.sweeps.push_back(std::move(added));
    }
    return PlotSmith(ctx, chart, swrThreshold);
}

} // namespace lobex
