#pragma once

#include "PlotDocument.h"
#include "PlotMapping.h"
#include "Ticks.h"

#include <QFont>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace lobex::plotter {

// Logical units of a picture: 96 per inch, the pixels of a bitmap at a device pixel ratio of 1.
inline constexpr double kUnitsPerInch = 96.0;

struct RenderSettings {
    std::string decimalSeparator = "."; // of the numbers along the axes
    // Device pixels per logical unit on raster devices, to keep frame and grid lines on whole
    // pixels; 0 on vector devices.
    double devicePixelsPerUnit = 0.0;
};

// Lays out a document for a picture of a given size in logical units and paints it in layers
// (background, grid, curves, frame and ticks, labels, title, note), every position taken from
// one PlotMapping. The painter handed to Paint maps logical units onto its device; text is
// measured on that device so that it fits there.
class PlotRenderer {
public:
    PlotRenderer(const PlotDocument& document, QSizeF size, const QPaintDevice& device,
                 const RenderSettings& settings);

    const PlotMapping& Mapping() const { return mapping_; }
    void Paint(QPainter& painter) const;

private:
    struct Fonts {
        QFont ticks, title, subtitles, axis, notes;
    };

    void MakeFonts(double shrink);
    void LayoutRectangular();
    void LayoutPolar();
    void ChooseRectangularTicks(double plotWidth, double plotHeight);
    QString TickText(double value, int decimals) const;
    double TextWidth(const QFont& font, const QString& text) const;
    double TextHeight(const QFont& font) const;
    double LineWidth(double tenthsOfPoint) const;
    double SnapWidth(double width) const;

    void PaintGrid(QPainter& painter) const;
    void PaintCurves(QPainter& painter) const;
    void PaintFrame(QPainter& painter) const;
    void PaintTickLabels(QPainter& painter) const;
    void PaintAxisLabels(QPainter& painter) const;
    void PaintPolarGrid(QPainter& painter) const;
    void PaintPolarFrame(QPainter& painter) const;
    void PaintPolarLabels(QPainter& painter) const;
    void PaintTitles(QPainter& painter) const;
    void PaintNote(QPainter& painter) const;

    const PlotDocument& document_;
    QSizeF size_;
    const QPaintDevice& device_;
    RenderSettings settings_;
    double fontFactor_ = 1.0; // point sizes are multiplied by this on the device
    double shrink_ = 1.0;     // a fixed-size plot that does not fit is drawn this much smaller
    Fonts fonts_;
    PlotMapping mapping_;
    AxisTicks xTicks_, yTicks_, y2Ticks_;
    bool secondAxis_ = false;
    int angleLabelStride_ = 1;
    double titleTop_ = 0.0; // logical units; the title block ends where the plot's labels begin
};

// The curve points of a polyline cut to a rectangle: the pieces that lie inside.
std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& clip);

} // namespace lobex::plotter
