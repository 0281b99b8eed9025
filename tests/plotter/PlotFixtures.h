#pragma once

#include "GraphWorld.h"
#include "PlotRecord.h"
#include "graphs/CursorReadout.h"
#include "graphs/HeadlessGraphView.h"
#include "graphs/PolarGraph.h"
#include "graphs/RectangularGraph.h"
#include "plotter/PlotEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace lobex::plotter::test {

using lobex::test::MakeRecord;

// What the windows' polar read-out finds under a pixel (area 1 azimuth, 2 elevation), with the
// radius its gain stands for on a scale of range 1 above a floor of 0.
struct PolarPoint {
    bool inside = false;
    double angle = 0.0;
    double radius = 0.0;
};
inline PolarPoint ReadBack(const PlotMetrics& m, double px, double py, int area) {
    const PolarReadout read = ReadPolar(m, px, py, area, 1.0f, 0.0f, 3.14159274f);
    return {read.inside, read.angle, std::pow(read.gain, 4.0)};
}

// The graph code with the real engine behind the link: documents exactly as the windows make
// them from a file of tests/data.
struct GraphWorld : lobex::test::GraphWorldOver<PlotEngine> {
    explicit GraphWorld(PlotHostKind host = PlotHostKind::MainWindow) : GraphWorldOver(host) {
        engine.SetDecimalSeparator(".");
        EXPECT_TRUE(StartPlotter(link, state, messages));
        view.SetSlotSize(kMainSlot, 800, 500);
        view.SetSlotSize(kAzimuthSlot, 500, 500);
        view.SetSlotSize(kElevationSlot, 500, 500);
    }
    const PlotSlot& Slot(int slot) const { return link.Slots[static_cast<std::size_t>(slot)]; }
    QImage Picture(int slot) const { return ToQImage(Slot(slot).Bitmap); }
    const PlotDocument& Document(int slot) const { return *engine.FindDocument(Slot(slot).DocNum); }

    PlotEngine& engine = api;
};

} // namespace lobex::plotter::test
