#pragma once

#include "PatternPanel.h"

#include <array>

class QFrame;
class QLabel;
class QWidget;

namespace lobex {

class PictureBox;

// The controls a window that hosts the plots has: the main window, and the polar window while
// it is open. The graph code reaches whichever of them PlotHost names.
struct PlotHostControls {
    QWidget* window = nullptr;
    QFrame* fraPlot = nullptr;
    PictureBox* picPlot = nullptr;
    PictureBox* picPolar1 = nullptr;
    PictureBox* picPolar2 = nullptr;
    PatternPanel* pattern = nullptr;
    QLabel* lblX1 = nullptr;
    QLabel* lblY1 = nullptr;
    QLabel* lblX2 = nullptr;
    QLabel* lblY2 = nullptr;

    // The picture box of a plot slot: 0 picPlot, 1 picPolar1, 2 picPolar2.
    PictureBox* SlotBox(int slot) const {
        const std::array<PictureBox*, 3> boxes = {picPlot, picPolar1, picPolar2};
        return slot >= 0 && slot < 3 ? boxes[static_cast<std::size_t>(slot)] : nullptr;
    }
};

} // namespace lobex
