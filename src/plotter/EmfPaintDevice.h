#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>
#include <QString>

#include <memory>

namespace lobex::plotter {

class EmfPaintEngine;

// A paint device that records what a QPainter draws as an Enhanced Metafile: vector lines,
// polylines, polygons, ellipses and text (as Unicode text records with their fonts). The
// picture is width x height inches; the painter works in units of 1/96 inch, as on a plain
// screen. The file's coordinates are the pixels of a 1200-dpi reference device (a printer-like
// device, fine enough for smooth curves) in the plain text mapping mode, which every reader
// scales alike.
// Images are recorded as uncompressed bitmaps. Clipping is not recorded: the plot renderer
// cuts its curves itself. Paint with one QPainter, end it, then take Data().
class EmfPaintDevice final : public QPaintDevice {
public:
    EmfPaintDevice(QSizeF sizeInches, const QString& description);
    ~EmfPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    // The complete file, once the painter has ended; empty before.
    QByteArray Data() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF sizeInches_;
    std::unique_ptr<EmfPaintEngine> engine_;
};

// Record types and constants of the Enhanced Metafile format that the device writes; the
// tests read files back with them.
namespace emf {
inline constexpr quint32 kHeader = 1;
inline constexpr quint32 kPolygon = 3;
inline constexpr quint32 kPolyline = 4;
inline constexpr quint32 kPolyPolyline = 7;
inline constexpr quint32 kPolyPolygon = 8;
inline constexpr quint32 kEof = 14;
inline constexpr quint32 kSetMapMode = 17;
inline constexpr quint32 kSetBkMode = 18;
inline constexpr quint32 kSetPolyFillMode = 19;
inline constexpr quint32 kSetTextAlign = 22;
inline constexpr quint32 kSetTextColor = 24;
inline constexpr quint32 kSelectObject = 37;
inline constexpr quint32 kCreateBrushIndirect = 39;
inline constexpr quint32 kDeleteObject = 40;
inline constexpr quint32 kEllipse = 42;
inline constexpr quint32 kExtCreateFontIndirectW = 82;
inline constexpr quint32 kExtTextOutW = 84;
inline constexpr quint32 kStretchDiBits = 81;
inline constexpr quint32 kExtCreatePen = 95;

inline constexpr quint32 kSignature = 0x464D4520; // " EMF"
inline constexpr int kUnitsPerInch = 1200;        // reference-device pixels per inch
inline constexpr int kReferenceWidthPixels = 24000;
inline constexpr int kReferenceHeightPixels = 18000;
inline constexpr int kReferenceWidthMillimeters = 508; // 20 x 15 inches
inline constexpr int kReferenceHeightMillimeters = 381;
} // namespace emf

} // namespace lobex::plotter
