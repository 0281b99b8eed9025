#pragma once

#include "graphs/PlotApi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What one plot document holds: its curves and every setting the commands change. Plain data;
// PlotCommands.h changes it, PlotLayout.h lays it out, PlotRenderer.h draws it.
namespace lobex::plotter {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Line types of curves and grids: 0 none, 1 solid, 2 dashed, 3 dotted, 4 dash-dot,
// 5 dash-dot-dot.
inline constexpr int kLineTypeNone = 0;
inline constexpr int kLineTypeSolid = 1;
inline constexpr int kLineTypeLast = 5;

struct CurveStyle {
    Rgb color;
    int lineType = kLineTypeSolid;
    double width = 10.0; // tenths of a point
};

// The text elements whose font the FontPoints and TextFont commands set (1-based).
enum class FontElement : int {
    TickLabels = 1, // numbers along the axes and angle labels of polar graphs
    Title = 2,      // Title1
    Subtitles = 3,  // Title2 and Title3
    AxisLabels = 4, // X, Y and second Y axis labels
    Legend = 5,     // the legend's entries
    Extra = 6,      // kept for the commands; nothing uses it
    Notes = 7,      // NoteText
};
inline constexpr int kFontElements = 7;

struct FontSpec {
    std::string family = "MS Sans Serif"; // resolved to an installed font when drawn
    double points = 8.0;
    int weight = 400; // 100..900 as in CSS and Windows; 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

struct PlotCurve {
    std::vector<float> x;
    std::vector<float> y;
};

// Scale codes: the low byte is the kind of scaling, the high byte its unit (polar only).
inline constexpr int kScaleLinear = 1;
inline constexpr int kScaleLogY = 2;
inline constexpr int kScaleLogX = 3;
inline constexpr int kScaleLogXY = 4;
inline constexpr int kScalePolarRadians = 8;
inline constexpr int kScalePolarDegrees = 264;
// This engine's own: a Smith chart, whose curves hold reflection coefficients (X the real part of
// Γ, Y the imaginary part) inside the unit circle, drawn square over its impedance grid.
inline constexpr int kScaleSmith = kScaleSmithChart;

inline bool IsPolarScale(int code) {
    return (code & 0xFF) == 8;
}
inline bool IsLogX(int code) {
    return code == kScaleLogX || code == kScaleLogXY;
}
inline bool IsLogY(int code) {
    return code == kScaleLogY || code == kScaleLogXY;
}

// Polar styles: bit 0 set turns angles clockwise, bit 1 set puts 0 at the top. Style 3 is the
// compass (0 up, clockwise), style 0 the mathematical convention (0 right, counter-clockwise).
inline constexpr int kPolarClockwise = 1;
inline constexpr int kPolarZeroUp = 2;

// Explicit axis limits; an unset limit follows the data.
struct ManualLimits {
    std::optional<double> xLo, yLo, xHi, yHi, y2Lo, y2Hi;
};

// Tick counts set by NumTicks; 0 intervals means "choose nice ticks".
struct TickSetting {
    int intervals = 0;
    int minorDivisions = 0;
};
inline constexpr int kTickAxes = 3; // 1 X (angle), 2 Y (radius), 3 second Y

struct PlotNote {
    std::string text;
    double x = 0.0; // left edge, fraction of the picture width from the left
    double y = 1.0; // top edge, fraction of the picture height from the bottom
};

// A marked data point: a dot in its curve's colour and a text beside it (PointLabel).
struct PointLabel {
    double x = 0.0;
    double y = 0.0;
    std::string text;
    int curve = 1;
};

struct PageMargins {
    double left = 0.5, top = 0.5, right = 0.5, bottom = 0.5; // inches
};

struct PlotDocument {
    std::vector<PlotCurve> curves;
    std::array<CurveStyle, kPlotMaxCurves> styles{};
    std::array<FontSpec, kFontElements> fonts{};
    int scaleCode = kScaleLinear;
    int polarStyle = 0;
    ManualLimits limits;
    int yAxes = 1;          // 2: the curves from firstCurveOnY2 on use the right axis
    int firstCurveOnY2 = 2; // 1-based
    int selectedCurve = 1;  // 1-based
    std::array<TickSetting, kTickAxes> ticks{};
    int gridKind = 1; // 0 none, 1 at the labelled ticks, 2 at every tick
    int gridLineType = kLineTypeSolid;
    double frameWidth = 10.0; // tenths of a point: frame, axes and tick marks
    bool fastLines = false;   // FastLines(1): bitmaps draw the curves in straight pieces
    bool fixedSize = false;   // Size(1, w, h): the plotting area is w x h inches
    double fixedWidth = 0.0;
    double fixedHeight = 0.0;
    std::string title1, title2, title3;
    std::string xLabel, yLabel, y2Label;
    std::string caption;
    std::optional<PlotNote> note;
    // The legend: entry n names curve n (1-based), entry 0 is its title; a curve without an
    // entry is left out of it, and a document without entries draws none.
    std::array<std::string, kPlotMaxCurves + 1> legends{};
    std::vector<PointLabel> pointLabels;
    // Smith chart: the circle of this SWR (0: none) and its label.
    double swrCircle = 0.0;
    std::string swrLabel;
    double metafileWidth = 0.0; // inches; 0 until SetMetafileDims
    double metafileHeight = 0.0;
    PageMargins page;
    std::vector<std::string> printHeading; // lines printed above the graph, the first as title
    bool edited = true;                    // cleared by ClearEditFlag and by a successful save
    std::int32_t lastWidth = 0;            // the size of the last bitmap, the default picture size
    std::int32_t lastHeight = 0;

    // The style curve n (1-based) is drawn with; curves past the array reuse the last style.
    const CurveStyle& StyleOf(int curve) const;
    bool OnSecondAxis(int curve) const { return yAxes == 2 && curve >= firstCurveOnY2; }
    bool IsPolar() const { return IsPolarScale(scaleCode); }
    bool IsSmith() const { return scaleCode == kScaleSmith; }
};

// A fresh document: curve 1 red (the user's lists call it the red line), curve 2 dark green and
// further curves from a fixed palette, so curve 2 is blue only when a Color command says so;
// fonts, grid and sizes at their starting values.
PlotDocument NewDocument();

} // namespace lobex::plotter
