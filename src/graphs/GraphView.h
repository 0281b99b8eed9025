#pragma once

#include <cstdint>
#include <string>

namespace lobex {

// The picture boxes the plot slots draw into: slot 0 picPlot, slot 1 picPolar1 (azimuth),
// slot 2 picPolar2 (elevation).
inline constexpr int kMainSlot = 0;
inline constexpr int kAzimuthSlot = 1;
inline constexpr int kElevationSlot = 2;
inline constexpr int kPlotSlotCount = 3;

// A picture box's client rectangle in pixels; a rendered bitmap has its size.
struct PlotRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

enum class LogBox { X, Y };           // chkLogX, chkLogY
enum class CurveList { Left, Right }; // cmbLeft, cmbRight

// The selected entry of a curve list: its position (-1 when none is selected) and item data
// (the column it plots; 0 is "None" on the right).
struct CurveChoice {
    int index = -1;
    int itemData = 0;
};

// The result labels over the elevation diagram, as the user reads them.
struct PatternLabels {
    std::string MaxElev;   // lblMaxElev
    std::string MaxAzim;   // lblMaxAzim
    std::string MaxTotal;  // lblMaxTotal
    std::string AzElev;    // lblAzElev
    std::string BeamLeft;  // lblBeamLeft
    std::string BeamRight; // lblBeamRight
    std::string BeamWidth; // lblBeamWidth
    friend bool operator==(const PatternLabels&, const PatternLabels&) = default;
};

// What the graph code changes in the windows. frmData implements it with real widgets; "on
// PlotHost" means the window that PlotHost names (frmData, or frmPolar while it
// is open), which the implementation picks. lobex-cli and the tests use plain values.
class GraphView {
public:
    virtual ~GraphView() = default;

    // chkLogX and chkLogY of the main window. The graph code disables a box before it unticks
    // it, so a click handler that acts only on enabled boxes does not redraw.
    virtual void SetLogBoxVisible(LogBox box, bool visible) = 0;
    virtual void SetLogBoxEnabled(LogBox box, bool enabled) = 0;
    virtual void SetLogBoxTicked(LogBox box, bool ticked) = 0;

    // The main window's graph menu mnuFileGraph and screen menu mnuFileScreen, always together.
    virtual void SetGraphMenusEnabled(bool enabled) = 0;

    // The selected entry of cmbLeft or cmbRight of the main window.
    virtual CurveChoice SelectedCurve(CurveList list) const = 0;

    // The result labels of PlotHost.
    virtual void ShowPatternLabels(const PatternLabels& labels) = 0;
    // fraPolar2 of PlotHost hidden (the frame of the result labels over the second polar area).
    virtual void HidePolarResults() = 0;
    // Single graph area (false: picPlot shown, "Набор:") or the two polar areas (true: the
    // layout of SetPolarLayout, "Угол Места:") on PlotHost.
    virtual void SetPolarLayout(bool polar) = 0;

    // The client rectangle of a slot's picture box on PlotHost, measured now.
    virtual PlotRect SlotClientRect(int slot) const = 0;
    // Paints the slot's bitmap into its picture box on PlotHost now (picPlot_Paint,
    // picPolar1_Paint, picPolar2_Paint); the window reads the bitmap from the plot link.
    virtual void PaintSlot(int slot) = 0;
    // Clears the slot's picture box on PlotHost.
    virtual void ClearSlotPicture(int slot) = 0;

    // The 3D button and the elevation result labels of the pattern, usable or not.
    virtual void SetPatternControls(bool enabled) = 0;
    // The main window's 3D button alone.
    virtual void Set3DButtonEnabled(bool enabled) = 0;
    // Lets pending window events run between plots.
    virtual void PumpEvents() = 0;
};

} // namespace lobex
