#include "HeadlessGraphView.h"

#include <algorithm>

namespace lobex {

std::size_t HeadlessGraphView::Index(int slot) {
    return static_cast<std::size_t>(std::clamp(slot, 0, kPlotSlotCount - 1));
}

void HeadlessGraphView::SetLogBoxVisible(LogBox box, bool visible) {
    boxes_[static_cast<std::size_t>(box)].visible = visible;
}

void HeadlessGraphView::SetLogBoxEnabled(LogBox box, bool enabled) {
    boxes_[static_cast<std::size_t>(box)].enabled = enabled;
}

void HeadlessGraphView::SetLogBoxTicked(LogBox box, bool ticked) {
    boxes_[static_cast<std::size_t>(box)].ticked = ticked;
}

void HeadlessGraphView::SetGraphMenusEnabled(bool enabled) {
    graphMenus_ = enabled;
}

CurveChoice HeadlessGraphView::SelectedCurve(CurveList list) const {
    return curves_[static_cast<std::size_t>(list)];
}

void HeadlessGraphView::ShowPatternLabels(const PatternLabels& labels) {
    labels_ = labels;
}

void HeadlessGraphView::HidePolarResults() {
    polarResults_ = false;
}

void HeadlessGraphView::SetPolarLayout(bool polar) {
    polarLayout_ = polar;
}

PlotRect HeadlessGraphView::SlotClientRect(int slot) const {
    return rects_[Index(slot)];
}

void HeadlessGraphView::PaintSlot(int slot) {
    painted_[Index(slot)] = true;
    // The window's paint handler of the second polar area shows the result frame over it.
    if (slot == kElevationSlot) {
        polarResults_ = true;
    }
}

void HeadlessGraphView::ClearSlotPicture(int slot) {
    painted_[Index(slot)] = false;
}

void HeadlessGraphView::SetSlotSize(int slot, int width, int height) {
    rects_[Index(slot)] = PlotRect{0, 0, width, height};
}

void HeadlessGraphView::SelectCurve(CurveList list, CurveChoice choice) {
    curves_[static_cast<std::size_t>(list)] = choice;
}

const HeadlessGraphView::LogBoxState& HeadlessGraphView::Box(LogBox box) const {
    return boxes_[static_cast<std::size_t>(box)];
}

bool HeadlessGraphView::Painted(int slot) const {
    return painted_[Index(slot)];
}

} // namespace lobex
