#pragma once

#include "PlotDocument.h"
#include "PlotMapping.h"
#include "Ticks.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <string>
#include <vector>

namespace lobex::plotter {

class TextMeasure;

// Logical units of a picture: 96 per inch, the pixels of a bitmap at a device pixel ratio of 1.
inline constexpr double kUnitsPerInch = 96.0;

// Spacing in logical units, before a fixed-size plot that does not fit shrinks it.
inline constexpr double kPad = 6.0;
inline constexpr double kTickLength = 4.0;
inline constexpr double kMinorTickLength = 2.0;
inline constexpr double kLabelGap = 3.0;

struct RenderSettings {
    std::string decimalSeparator = "."; // of the numbers along the axes
    // Device pixels per logical unit on raster devices, to keep frame and grid lines on whole
    // pixels; 0 on vector devices.
    double devicePixelsPerUnit = 0.0;
    // A document of fixed size drawn as large as the picture allows: the screen's pictures,
    // which follow their windows. Files, copies and prints keep the fixed size.
    bool fillArea = false;
};

struct PlotFonts {
    QFont ticks, title, subtitles, axis, notes, legend;
};

// One entry of the legend: a stretch of the curve's line and its name beside it.
struct LegendRow {
    int curve = 0; // 1-based; 0 for the title, which has no line
    QString text;
    QRectF line; // the line runs through its middle, left to right
    QRectF textBox;
};

struct TickLabel {
    double value = 0.0;
    QString text;
    double width = 0.0;
};

// The ticks of one axis and the labels of its major ticks, as drawn.
struct AxisLayout {
    AxisTicks ticks;
    std::vector<TickLabel> labels;
    double widestLabel = 0.0;
};

// A text and the box it is drawn in, centred there.
struct PlacedText {
    QRectF box;
    QString text;
};

// A marked data point as drawn: its dot and its label, in its curve's colour.
struct PlacedMark {
    QPointF dot; // paint coordinates
    PlacedText label;
    int curve = 1;
};

// The grid of a Smith chart: the normalised resistances whose circles and the reactances whose
// arcs it draws, their labels, and the SWR circle's radius (|Γ|, 0 for none) and label.
struct SmithGrid {
    std::vector<double> resistances;
    std::vector<double> reactances;
    std::vector<PlacedText> labels;
    double swrRadius = 0.0;
    PlacedText swrLabel;
};

// Everything a picture of a document needs placed and measured before the first stroke: the
// plotting area and its mapping, the ticks and their texts, the fonts and text heights, where
// the titles and the note go. Painting only reads it.
struct PlotLayout {
    QSizeF size; // of the picture, logical units
    // A fixed-size plot that does not fit is drawn this much smaller, fonts and spacing with it.
    double shrink = 1.0;
    double devicePixelsPerUnit = 0.0;
    PlotFonts fonts;
    double tickTextHeight = 0.0;
    double axisTextHeight = 0.0;
    double titleHeight = 0.0;
    double subtitleHeight = 0.0;
    PlotMapping mapping;
    AxisLayout x, y, y2; // polar: x holds the angles and y the radii
    bool secondAxis = false;
    int angleLabelStride = 1; // polar: every n-th angle is labelled
    double titleTop = 0.0;    // the title block ends where the plot's labels begin
    // The texts drawn, empty where nothing is: a blank label takes no room, a polar graph shows
    // neither subtitles (they would collide with the angle labels) nor axis labels.
    QString title1, title2, title3, xLabel, yLabel, y2Label, noteText;
    QRectF note; // where the note's text goes
    // The legend's frame and entries; an empty frame when the document names no curve.
    QRectF legend;
    std::vector<LegendRow> legendRows;
    std::vector<PlacedMark> marks;
    SmithGrid smith; // a Smith chart's only

    // Pen width in logical units for a width in tenths of a point.
    double LineWidth(double tenthsOfPoint) const;
    // On raster devices frame and grid lines are whole pixels wide, so they stay sharp.
    double SnapWidth(double width) const;
};

// The layout of a document in a picture of `size` logical units, with text measured by
// `measure`. Pure: the same inputs give the same layout.
PlotLayout LayOutPlot(const PlotDocument& document, QSizeF size, const TextMeasure& measure,
                      const RenderSettings& settings);

} // namespace lobex::plotter
