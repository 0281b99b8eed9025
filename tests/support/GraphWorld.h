#pragma once

#include "FakePlotApi.h"
#include "LoadHarness.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PlotLink.h"
#include "graphs/PolarGraph.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

namespace lobex::test {

// The graph controls as values, with the main window's 3D button and its event pumping kept.
class RecordingGraphView final : public HeadlessGraphView {
public:
    void Set3DButtonEnabled(bool enabled) override { button3D = enabled; }
    void PumpEvents() override { ++pumps; }

    bool button3D = true;
    int pumps = 0;
};

// The main window's side of a load as far as the graphs go: showing a pattern draws both polar
// diagrams, as frmData does.
class PatternDrawingView final : public DataView {
public:
    explicit PatternDrawingView(GraphContext& graph) : graph_(graph) {}

    void ShowLoadStart() override {}
    bool ShowPattern() override { return lobex::ShowPattern(graph_, 1, 2); }
    void ShowLoadResult(const LoadResult&) override {}
    void SetStatus(std::string_view) override {}
    void SetBusy(bool) override {}
    void PumpEvents() override {}

private:
    GraphContext& graph_;
};

// The graph code's world over a plot API (the fake, or the real engine), as the windows make
// it: shared state, graph controls with the main picture 800 x 500 and the polar ones 500 x 500,
// recorded messages and the link; files open through the one load flow.
template <typename Api = FakePlotApi>
struct GraphWorld {
    explicit GraphWorld(PlotHostKind host = PlotHostKind::MainWindow) {
        state.View.PlotHost = host;
        view.SetSlotSize(kMainSlot, 800, 500);
        view.SetSlotSize(kAzimuthSlot, 500, 500);
        view.SetSlotSize(kElevationSlot, 500, 500);
    }
    GraphWorld(const GraphWorld&) = delete;
    GraphWorld& operator=(const GraphWorld&) = delete;

    // Links the graph code to the engine as start-up does (a real engine numbers its axes in the
    // state's decimal symbol).
    bool Start() {
        if constexpr (requires { api.SetDecimalSeparator(state.DecimalSeparator); }) {
            api.SetDecimalSeparator(state.DecimalSeparator);
        }
        return StartPlotter(link, state, messages);
    }
    bool Open(const std::string& path) { return OpenFile(load, data, path); }
    bool OpenTestData(std::string_view name) { return Open((TestDataFolder() / name).string()); }
    const PlotSlot& Slot(int slot) const { return link.Slots[static_cast<std::size_t>(slot)]; }

    Api api;
    AppState state;
    RecordingGraphView view;
    RecordingMessages messages;
    PlotLink link{api};
    GraphContext graph{state, view, messages, link};
    LoadContext load{state, messages};
    PatternDrawingView data{graph};
};

// A column with its values and the limits the readers store for it.
inline void SetSeries(DataSet& data, int column, const std::string& label,
                      std::initializer_list<float> values) {
    SeriesRecord& series = data.Series[static_cast<std::size_t>(column)];
    series.Label = label;
    series.Values = values;
    series.Min = *std::min_element(series.Values.begin(), series.Values.end());
    series.Max = *std::max_element(series.Values.begin(), series.Values.end());
}

} // namespace lobex::test
