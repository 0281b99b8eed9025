#include "PlotLink.h"

#include "PolarGraph.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace lobex {
namespace {

void Tell(const AppState& state, MessageService& messages, std::string_view text,
          MessageIcon icon) {
    messages.Show(text, icon, state.AppTitle);
}

void Pump(const std::function<void()>& pumpEvents) {
    if (pumpEvents) {
        pumpEvents();
    }
}

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kPlotSlotCount;
}

// The engine reads MaxPoints X values and MaxPoints x NumCurves Y values; arrays shorter than
// that are never handed over.
bool ArraysFitRecord(const PlotLink& link) {
    const DPLOT& record = link.Record;
    if (record.MaxPoints < 1 || record.NumCurves < 1) {
        return false;
    }
    const auto points = static_cast<std::size_t>(record.MaxPoints);
    return link.XValues.size() >= points &&
           link.YValues.size() >= points * static_cast<std::size_t>(record.NumCurves);
}

} // namespace

bool StartPlotter(PlotLink& link, const AppState& state, MessageService& messages,
                  const std::function<void()>& pumpEvents) {
    DPLOT& record = link.Record;
    record.Version = 2;
    // The record's window handle lets an outside plotter talk back to its host window; the
    // engine runs in this process and needs none.
    record.hwnd = 0;
    record.DataFormat = 2;
    record.MaxCurves = 2;
    record.NumCurves = 2;
    record.Scale = 1;
    // The documents of one curve never set a line type, so both start solid here.
    record.LineType[0] = 1;
    record.LineType[1] = 1;
    SetTextField(record.XAxis, std::string_view("Parameter\0", 10));

    bool launched = false;
    int restarts = 0;
    while (true) {
        std::int32_t wasActive = 0;
        link.PlotterHandle = link.api.DPlot_Start(1, &wasActive);
        if (link.PlotterHandle == 0) {
            if (launched) {
                Tell(state, messages, kPlotterNotFoundMessage, MessageIcon::Critical);
                return false;
            }
            // An outside plotter would be run here from UtilsFolder with a hidden window, then
            // found by its window class and sent to the bottom; the engine in this process has
            // nothing to launch, so one more call to DPlot_Start is the whole retry.
            launched = true;
            Pump(pumpEvents);
            continue;
        }
        if (wasActive == 1 && restarts < kMostPlotterRestarts) {
            // Work only with an engine this run started: stop the one that answered and ask
            // again. An engine that keeps answering as already running is taken after a few
            // rounds rather than looping for ever.
            ++restarts;
            link.api.DPlot_Stop();
            Pump(pumpEvents);
            continue;
        }
        break;
    }
    // The outside plotter's window would be hidden again here; an engine in this process has
    // no window.
    return true;
}

void StopPlotter(PlotLink& link) {
    if (link.PlotterHandle == 0) {
        return;
    }
    for (PlotSlot& slot : link.Slots) {
        if (slot.DocNum > 0) {
            link.api.DPlot_Command(slot.DocNum, "[ClearEditFlag()]");
        }
    }
    // The documents go with the engine, so the slots forget them as well as their bitmaps.
    for (PlotSlot& slot : link.Slots) {
        slot.DocNum = 0;
        slot.Bitmap = PlotBitmap{};
        slot.HasBitmap = 0;
    }
    link.api.DPlot_Stop();
    link.PlotterHandle = 0;
}

void ClosePlot(GraphContext& ctx, int slot) {
    if (!ValidSlot(slot)) {
        return;
    }
    PlotSlot& target = ctx.link.Slots[static_cast<std::size_t>(slot)];
    if (target.DocNum > 0) {
        ctx.link.api.DPlot_Command(target.DocNum, "[FileClose()]");
    }
    target.DocNum = 0;
    target.Bitmap = PlotBitmap{};
    target.HasBitmap = 0;
    target.Curves = DrawnCurves{};
    target.Smith = DrawnSmith{};
    if (slot == kElevationSlot) {
        ctx.view.HidePolarResults();
    }
    ctx.view.ClearSlotPicture(slot);
    ctx.view.SetGraphMenusEnabled(false);
}

bool RenderPlot(GraphContext& ctx, int slot, bool polar,
                const std::function<void(std::int32_t document)>& addData) {
    if (!ValidSlot(slot)) {
        return false;
    }
    PlotLink& link = ctx.link;
    std::int32_t document = 0;
    if (ArraysFitRecord(link)) {
        document = link.api.DPlot_Plot(link.Record, link.XValues.data(), link.YValues.data(),
                                       link.PlotCommands);
    }
    PlotOverlay overlay = std::exchange(link.Overlay, PlotOverlay{});
    if (document > 0 && !overlay.curves.empty()) {
        for (std::size_t c = 0; c < overlay.curves.size(); ++c) {
            const OverlayCurve& curve = overlay.curves[c];
            link.api.DPlot_AddData(document, 0, static_cast<std::int32_t>(curve.x.size()),
                                   static_cast<std::int32_t>(c + 1), curve.x.data(),
                                   curve.y.data());
        }
    }
    if (document > 0 && addData) {
        addData(document);
    }
    // Only a document that exists gets the circle, and only a polar one.
    if (document > 0 && polar && slot != kMainSlot &&
        ctx.state.View.PlotHost == PlotHostKind::PolarWindow) {
        const bool overlaid = !overlay.curves.empty();
        AddBeamCircle(ctx, overlaid ? overlay.beamRadius : BeamCircleRadius(ctx.state), document,
                      overlaid ? static_cast<std::int32_t>(overlay.curves.size())
                               : ctx.link.Record.NumCurves);
    }
    // After the circle, which sets the curve before it solid.
    if (document > 0 && !overlay.curves.empty()) {
        link.api.DPlot_Command(document, overlay.commands);
    }
    if (document == 0) {
        Tell(ctx.state, ctx.messages, kPlotFailedMessage, MessageIcon::Critical);
        return false;
    }
    if (document == -1) {
        Tell(ctx.state, ctx.messages, kPlotterNotFoundMessage, MessageIcon::Critical);
        return false;
    }
    PlotSlot& target = link.Slots[static_cast<std::size_t>(slot)];
    if (document > 0) {
        target.Metrics.Size = static_cast<std::int32_t>(sizeof(PlotMetrics));
        target.Bitmap = link.api.DPlot_GetBitmapEx(document, target.ClientRect.Width(),
                                                   target.ClientRect.Height(), target.Metrics);
        // A picture box of no size gets no bitmap; the read-outs must not use the metrics of
        // a picture that does not exist.
        target.HasBitmap = target.Bitmap.IsNull() ? 0 : 1;
    }
    target.DocNum = document;
    return true;
}

DrawnCurves CurvesOfLastPlot(const PlotLink& link, std::vector<DrawnCurve> curves) {
    DrawnCurves drawn;
    if (!ArraysFitRecord(link)) {
        return drawn;
    }
    const DPLOT& record = link.Record;
    const auto stride = static_cast<std::size_t>(record.MaxPoints);
    curves.resize(std::min<std::size_t>(static_cast<std::size_t>(record.NumCurves),
                                        std::min<std::size_t>(curves.size(), kPlotMaxCurves)));
    drawn.x.assign(link.XValues.begin(),
                   link.XValues.begin() + static_cast<std::ptrdiff_t>(stride));
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const auto points =
            std::min<std::size_t>(static_cast<std::size_t>(std::max(0, record.NP[c])), stride);
        const auto first = link.YValues.begin() + static_cast<std::ptrdiff_t>(c * stride);
        curves[c].y.assign(first, first + static_cast<std::ptrdiff_t>(points));
    }
    drawn.curves = std::move(curves);
    return drawn;
}

bool RefitSlot(PlotLink& link, int slot, PlotRect rect) {
    if (!ValidSlot(slot) || rect.Width() <= 0 || rect.Height() <= 0) {
        return false;
    }
    PlotSlot& target = link.Slots[static_cast<std::size_t>(slot)];
    if (target.DocNum <= 0 || (target.HasBitmap == 1 && target.ClientRect == rect)) {
        return false;
    }
    PlotMetrics metrics;
    metrics.Size = static_cast<std::int32_t>(sizeof(PlotMetrics));
    PlotBitmap bitmap =
        link.api.DPlot_GetBitmapEx(target.DocNum, rect.Width(), rect.Height(), metrics);
    if (bitmap.IsNull()) {
        return false;
    }
    target.Bitmap = std::move(bitmap);
    target.Metrics = metrics;
    target.ClientRect = rect;
    target.HasBitmap = 1;
    return true;
}

} // namespace lobex
