#pragma once

#include "CurveReading.h"
#include "GraphView.h"
#include "PlotApi.h"
#include "SmithCurves.h"
#include "core/AppState.h"
#include "core/Services.h"
#include "core/Texts.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The link to the plot engine: the three plot slots, the shared plot record and data buffers,
// starting and stopping the engine, rendering a document into a slot and closing a slot.
namespace lobex {

inline constexpr std::string_view kPlotterNotFoundMessage =
    LOBEX_TEXT("DPlot Jr не найден.\r\n"
               "Перед тем как использовать эту программу, скачайте и проинсталлируйте\r\n"
               "программу DPlot Jr c сайта http://www.dplot.com");
inline constexpr std::string_view kPlotFailedMessage =
    LOBEX_TEXT("Ошибка построения графика.\r\nЗакройте и перестартуйте программу.");
inline constexpr std::string_view kNoDataMessage = LOBEX_TEXT("Нет данных");

// How often StartPlotter stops an engine that reports it was running already and asks again
// before it settles for the link it has.
inline constexpr int kMostPlotterRestarts = 5;

// The link state of one picture box.
struct PlotSlot {
    std::int32_t DocNum = 0;    // engine document; commands go only to a number > 0
    std::int32_t HasBitmap = 0; // 1 while Bitmap holds a rendered graph
    PlotBitmap Bitmap;          // owned by the slot
    PlotMetrics Metrics;        // where the plotting area of Bitmap lies
    PlotRect ClientRect;        // the picture box measured just before the render
    DrawnCurves Curves;         // what a rectangular graph drew, for the read-outs
    DrawnSmith Smith;           // what a Smith chart drew; empty for any other graph
};

// One curve of a document that overlays several results; the document's own curves are replaced
// by the first ones.
struct OverlayCurve {
    std::vector<float> x;
    std::vector<float> y;
    std::array<int, 3> color{};
    int lineType = 1;
    double width = 10.0; // tenths of a point
    // The name the legend gives the curve; empty for none.
    std::string legend;
};

// What the next document draws beyond the record's curves: every result's curves, then the
// commands that set their styles and axes; the -3 dB circle (polar window) at beamRadius.
struct PlotOverlay {
    std::vector<OverlayCurve> curves;
    std::string commands;
    float beamRadius = 0.0f;
};

// Everything the link keeps for the whole run. main() makes one beside AppState and hands it
// to whoever plots; tests make their own with a fake engine.
struct PlotLink {
    explicit PlotLink(PlotApi& engine) : api(engine) {}
    PlotLink(const PlotLink&) = delete;
    PlotLink& operator=(const PlotLink&) = delete;

    PlotApi& api;
    std::array<PlotSlot, kPlotSlotCount> Slots{};
    DPLOT Record{};                 // reused for every document
    std::vector<float> XValues;     // the X values of the next document's curves
    std::vector<float> YValues;     // the curves of the next document, one after another
    std::int32_t PlotterHandle = 0; // nonzero while the engine is linked
    std::string PlotCommands;       // the command string of the next document
    PlotOverlay Overlay;            // the next document's overlay; used once, then emptied
    // Puts the graphs' own words (titles, axis captions) in the interface language; unset, they
    // stay as written.
    std::function<std::string(std::string_view)> Translate;
};

inline std::string GraphText(const PlotLink& link, std::string_view text) {
    return link.Translate ? link.Translate(text) : std::string(text);
}

// What the graph operations work on: the shared state, the graph controls of the windows, the
// message service and the link.
struct GraphContext {
    AppState& state;
    GraphView& view;
    MessageService& messages;
    PlotLink& link;
};

// Links the engine, once at start-up after the main window is loaded and before it is shown.
// False after the not-found message: the program then ends. pumpEvents lets pending window
// events run while the engine starts (may be empty).
bool StartPlotter(PlotLink& link, const AppState& state, MessageService& messages,
                  const std::function<void()>& pumpEvents = {});

// At exit: every document marked as needing no save, the bitmaps dropped, the engine stopped.
// Does nothing while the engine is not linked.
void StopPlotter(PlotLink& link);

// Closes a slot: its document, its bitmap, the picture in its picture box (for slot 2 the
// result frame is hidden first); the graph and screen menus are disabled.
void ClosePlot(GraphContext& ctx, int slot);

// Makes a document from Record, XValues, YValues and PlotCommands, and renders it at the size
// of the slot's ClientRect into the slot. In the polar window a polar document also gets
// the -3 dB circle (polar false: the document is a graph in a diagram's place). addData, when
// given, adds curves to the new document before it is rendered. False after a message when the
// engine refuses the document.
bool RenderPlot(GraphContext& ctx, int slot, bool polar = true,
                const std::function<void(std::int32_t document)>& addData = {});

// The curves of the document just rendered, from the link's arrays: `curves` names each of
// them (and its column), in order; their values are filled in.
DrawnCurves CurvesOfLastPlot(const PlotLink& link, std::vector<DrawnCurve> curves);

// Renders the slot's document again at the size of rect, for a picture box that has changed
// size. False, the slot as it was, without a document, for a box of no size, for the size it
// was drawn at, or when the engine gives no bitmap.
bool RefitSlot(PlotLink& link, int slot, PlotRect rect);

} // namespace lobex
