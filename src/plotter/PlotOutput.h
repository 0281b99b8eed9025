#pragma once

#include "PlotDocument.h"
#include "PlotRenderer.h"
#include "graphs/PlotApi.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;

// Every form a document can leave the engine in: pixel buffers and images of an exact size,
// SVG, PDF and Enhanced Metafile drawings of a size in inches, and printed pages. Files are
// written to a temporary file beside the target and renamed over it, so a failed write leaves
// the old file as it was.
namespace lobex::plotter {

// The size of copied and saved pictures: SetMetafileDims when given, else the size of the last
// bitmap the document was rendered at (96 per inch), else 5 x 3 inches.
QSizeF PictureInches(const PlotDocument& document);

// Renders at width x height (the metrics' units) with `ratio` device pixels per unit. An empty
// buffer when the size is impossible (not positive, or beyond 16384 pixels a side).
PlotBitmap RenderBitmap(const PlotDocument& document, int width, int height, double ratio,
                        const RenderSettings& settings, PlotMetrics& metrics);
// The same as an image that carries its device pixel ratio.
QImage RenderImage(const PlotDocument& document, int width, int height, double ratio,
                   const RenderSettings& settings, PlotMetrics* metrics = nullptr);

// A drawing of inches in a vector format ("svg", "pdf" or "emf") of what paint draws on the
// device it is given, in units of 1/96 inch; empty for any other format.
QByteArray RenderVectorPicture(std::string_view format, QSizeF inches, const QString& title,
                               const std::function<void(QPaintDevice&, QPainter&)>& paint);

QByteArray RenderSvg(const PlotDocument& document, QSizeF inches, const RenderSettings& settings);
QByteArray RenderPdf(const PlotDocument& document, QSizeF inches, const RenderSettings& settings);
QByteArray RenderEmf(const PlotDocument& document, QSizeF inches, const RenderSettings& settings);

// Writes through a temporary file and a rename; false with a reason on failure.
bool WriteFileAtomically(const std::string& path, const QByteArray& bytes, std::string& error);

// Paints print heading lines from the top of area (device pixels of a device of `resolution`
// dots per inch), the first larger and bold as a title; returns the height taken, with the room
// left below them.
double PaintPrintHeading(QPainter& painter, const std::vector<std::string>& lines,
                         const QRectF& area, int resolution);

// Prints on the printer as it is set up, within the first document's page margins, `copies`
// times: that document's print heading at the top, then the documents one below the other,
// each as large as the page leaves room for with its shape kept (a polar diagram square, a
// graph in the proportions of its picture). A printer set to a PDF file has the file written as
// the other files are, whole or not at all; its text stays text.
bool PrintDocuments(const std::vector<const PlotDocument*>& documents, QPrinter& printer,
                    int copies, const RenderSettings& settings, std::string& error);

// A QImage of a rendered bitmap. ToQImage copies the pixels; WrapPlotBitmap shares them and is
// valid only while the bitmap lives unchanged (cheap enough to call in every paint event).
QImage ToQImage(const PlotBitmap& bitmap);
QImage WrapPlotBitmap(const PlotBitmap& bitmap);

} // namespace lobex::plotter
