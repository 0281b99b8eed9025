#pragma once

#include "graphs/HeadlessGraphView.h"

#include <string>
#include <vector>

namespace lobex::test {

// The graph controls as values (HeadlessGraphView), and every change in the order it came.
class RecordingGraphView final : public HeadlessGraphView {
public:
    RecordingGraphView() {
        for (int slot = 0; slot < kPlotSlotCount; ++slot) {
            SetSlotSize(slot, 400, 300);
        }
    }

    void SetLogBoxVisible(LogBox box, bool visible) override {
        Log("visible", box, visible);
        HeadlessGraphView::SetLogBoxVisible(box, visible);
    }
    void SetLogBoxEnabled(LogBox box, bool enabled) override {
        Log("enabled", box, enabled);
        HeadlessGraphView::SetLogBoxEnabled(box, enabled);
    }
    void SetLogBoxTicked(LogBox box, bool ticked) override {
        Log("ticked", box, ticked);
        HeadlessGraphView::SetLogBoxTicked(box, ticked);
    }
    void SetGraphMenusEnabled(bool enabled) override {
        events.push_back(enabled ? "menus on" : "menus off");
        HeadlessGraphView::SetGraphMenusEnabled(enabled);
    }
    void ShowPatternLabels(const PatternLabels& labels) override {
        events.emplace_back("labels");
        HeadlessGraphView::ShowPatternLabels(labels);
    }
    void HidePolarResults() override {
        events.emplace_back("hide fraPolar2");
        HeadlessGraphView::HidePolarResults();
    }
    void SetPolarLayout(bool polar) override {
        events.push_back(polar ? "polar layout" : "single layout");
        HeadlessGraphView::SetPolarLayout(polar);
    }
    void PaintSlot(int slot) override {
        events.push_back("paint " + std::to_string(slot));
        HeadlessGraphView::PaintSlot(slot);
    }
    void ClearSlotPicture(int slot) override {
        events.push_back("clear " + std::to_string(slot));
        HeadlessGraphView::ClearSlotPicture(slot);
    }

    // The events that begin with prefix, in order.
    std::vector<std::string> Events(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& event : events) {
            if (event.rfind(prefix, 0) == 0) {
                found.push_back(event);
            }
        }
        return found;
    }

    std::vector<std::string> events;

private:
    void Log(const char* what, LogBox box, bool value) {
        events.push_back(std::string(what) + (box == LogBox::X ? " X " : " Y ") +
                         (value ? "1" : "0"));
    }
};

} // namespace lobex::test
