#pragma once

#include "LoadHarness.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PlotLink.h"
#include "graphs/PolarGraph.h"

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
    bool ShowPattern() override {
        ++patternsShown;
        return lobex::ShowPattern(graph_, 1, 2);
    }
    void ShowLoadResult(const LoadResult&) override {}
    void SetStatus(std::string_view) override {}
    void SetBusy(bool) override {}
    void PumpEvents() override {}

    int patternsShown = 0;

private:
    GraphContext& graph_;
};

// The graph code's world over a plot API (a fake, or the real engine): shared state, graph
// controls, recorded messages and the link; files open through the one load flow.
template <typename Api>
struct GraphWorldOver {
    explicit GraphWorldOver(PlotHostKind host) { state.View.PlotHost = host; }
    GraphWorldOver(const GraphWorldOver&) = delete;
    GraphWorldOver& operator=(const GraphWorldOver&) = delete;

    bool Open(const std::string& path) { return OpenFile(load, data, path); }
    bool OpenTestData(std::string_view name) { return Open((TestDataFolder() / name).string()); }
    std::vector<std::string> MessageTexts() const { return messages.Texts(); }

    Api api;
    AppState state;
    RecordingGraphView view;
    RecordingMessages messages;
    PlotLink link{api};
    GraphContext graph{state, view, messages, link};
    LoadContext load{state, messages};
    PatternDrawingView data{graph};
};

} // namespace lobex::test
