#pragma once

#include "GraphView.h"

#include <array>

namespace lobex {

// The graph controls as plain values, for runs without windows (lobex-cli): the picture boxes
// have the sizes given, and everything the graph code sets is kept to be read back.
class HeadlessGraphView : public GraphView {
public:
    struct LogBoxState {
        bool visible = false;
        bool enabled = false;
        bool ticked = false;
    };

    void SetLogBoxVisible(LogBox box, bool visible) override;
    void SetLogBoxEnabled(LogBox box, bool enabled) override;
    void SetLogBoxTicked(LogBox box, bool ticked) override;
    void SetGraphMenusEnabled(bool enabled) override;
    CurveChoice SelectedCurve(CurveList list) const override;
    void ShowPatternLabels(const PatternLabels& labels) override;
    void HidePolarResults() override;
    void SetPolarLayout(bool polar) override;
    PlotRect SlotClientRect(int slot) const override;
    void PaintSlot(int slot) override;
    void ClearSlotPicture(int slot) override;
    void SetPatternControls(bool) override {}
    void Set3DButtonEnabled(bool) override {}
    void PumpEvents() override {}

    // The size of a slot's picture box.
    void SetSlotSize(int slot, int width, int height);
    // The entries the curve lists stand on.
    void SelectCurve(CurveList list, CurveChoice choice);

    const LogBoxState& Box(LogBox box) const;
    bool GraphMenusEnabled() const { return graphMenus_; }
    const PatternLabels& Labels() const { return labels_; }
    bool PolarResultsShown() const { return polarResults_; }
    bool PolarLayout() const { return polarLayout_; }
    // Whether the slot's picture box shows a painted picture (painted since it was cleared).
    bool Painted(int slot) const;

private:
    static std::size_t Index(int slot);

    std::array<LogBoxState, 2> boxes_{};
    bool graphMenus_ = false;
    std::array<CurveChoice, 2> curves_{CurveChoice{0, 1}, CurveChoice{0, 0}};
    PatternLabels labels_;
    bool polarResults_ = false;
    bool polarLayout_ = false;
    std::array<PlotRect, 3> rects_{};
    std::array<bool, 3> painted_{};
};

} // namespace lobex
