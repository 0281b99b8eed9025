#pragma once

#include "FakePlotApi.h"
#include "Recorders.h"
#include "RecordingView.h"
#include "core/LoadContext.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PlotLink.h"
#include "graphs/PolarGraph.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace lobex::test {

// The graph code's world: shared state, the main window as loaders and graphs see it, recorded
// messages, and a fake engine behind the link. Showing a pattern draws it, as the window does.
struct GraphHarness {
    GraphHarness() {
        state.PlotHost = PlotHostKind::MainWindow;
        data.onShowPattern = [this](int left, int right) {
            return lobex::ShowPattern(graph, left, right);
        };
        for (int slot = 0; slot < kPlotSlotCount; ++slot) {
            view.SetSlotSize(slot, 400, 300);
        }
    }
    GraphHarness(const GraphHarness&) = delete;
    GraphHarness& operator=(const GraphHarness&) = delete;

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& message : messages.shown) {
            texts.push_back(message.text);
        }
        return texts;
    }

    AppState state;
    RecordingView data;
    HeadlessGraphView view;
    RecordingMessages messages;
    FakePlotApi api;
    PlotLink link{api};
    GraphContext graph{state, data, view, messages, link};
    LoadContext load{state, data, messages};
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
