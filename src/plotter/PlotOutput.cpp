#include "PlotOutput.h"

#include "EmfPaintDevice.h"
#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

namespace lobex::plotter {
namespace {

constexpr int kLargestSide = 16384;

QString Description(const PlotDocument& document) {
    return QString::fromStdString(document.caption.empty() ? document.title1 : document.caption);
}

QSizeF Units(QSizeF inches) {
    return inches * kUnitsPerInch;
}

} // namespace

QSizeF PictureInches(const PlotDocument& document) {
    if (document.metafileWidth > 0.0 && document.metafileHeight > 0.0) {
        return {document.metafileWidth, document.metafileHeight};
    }
    if (document.lastWidth > 0 && document.lastHeight > 0) {
        return {document.lastWidth / kUnitsPerInch, document.lastHeight / kUnitsPerInch};
    }
    return {5.0, 3.0};
}

PlotBitmap RenderBitmap(const PlotDocument& document, int width, int height, double ratio,
                        const RenderSettings& settings, PlotMetrics& metrics) {
    PlotBitmap bitmap;
    if (!(ratio >= 0.25 && ratio <= 8.0)) {
        ratio = 1.0;
    }
    const double pixelWidth = std::ceil(width * ratio - 1e-9);
    const double pixelHeight = std::ceil(height * ratio - 1e-9);
    if (width <= 0 || height <= 0 || pixelWidth > kLargestSide || pixelHeight > kLargestSide) {
        return bitmap;
    }
    bitmap.Width = width;
    bitmap.Height = height;
    bitmap.DevicePixelRatio = ratio;
    bitmap.PixelWidth = static_cast<std::int32_t>(pixelWidth);
    bitmap.PixelHeight = static_cast<std::int32_t>(pixelHeight);
    bitmap.Pixels.assign(static_cast<std::size_t>(bitmap.PixelWidth) *
                             static_cast<std::size_t>(bitmap.PixelHeight),
                         0xFFFFFFFFU);
    QImage image(reinterpret_cast<uchar*>(bitmap.Pixels.data()), bitmap.PixelWidth,
                 bitmap.PixelHeight, bitmap.PixelWidth * 4, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = static_cast<int>(std::lround(kUnitsPerInch * ratio / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    RenderSettings raster = settings;
    raster.devicePixelsPerUnit = ratio;
    const PlotRenderer renderer(document, QSizeF(width, height), image, raster);
    QPainter painter(&image);
    painter.scale(ratio, ratio);
    renderer.Paint(painter);
    painter.end();
    metrics = renderer.Mapping().Metrics();
    return bitmap;
}

QImage RenderImage(const PlotDocument& document, int width, int height, double ratio,
                   const RenderSettings& settings, PlotMetrics* metrics) {
    PlotMetrics filled;
    const PlotBitmap bitmap = RenderBitmap(document, width, height, ratio, settings, filled);
    if (metrics != nullptr && !bitmap.IsNull()) {
        *metrics = filled;
    }
    return ToQImage(bitmap);
}

QByteArray RenderVectorPicture(std::string_view format, QSizeF inches, const QString& title,
                               const std::function<void(QPaintDevice&, QPainter&)>& paint) {
    if (format == "emf") {
        EmfPaintDevice device(inches, title);
        QPainter painter(&device);
        paint(device, painter);
        painter.end();
        return device.Data();
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == "svg") {
        const QSizeF size = Units(inches);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(static_cast<int>(kUnitsPerInch));
        generator.setSize(size.toSize());
        generator.setViewBox(QRectF(QPointF(0, 0), size));
        generator.setTitle(title);
        generator.setDescription(QStringLiteral("Lobex"));
        QPainter painter(&generator);
        paint(generator, painter);
    } else if (format == "pdf") {
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(kUnitsPerInch));
        writer.setPageSize(QPageSize(inches, QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lobex"));
        QPainter painter(&writer);
        paint(writer, painter);
    }
    return bytes;
}

namespace {

QByteArray RenderDocument(std::string_view format, const PlotDocument& document, QSizeF inches,
                          const RenderSettings& settings) {
    return RenderVectorPicture(
        format, inches, Description(document), [&](QPaintDevice& device, QPainter& painter) {
            const PlotRenderer renderer(document, Units(inches), device, settings);
            renderer.Paint(painter);
        });
}

} // namespace

QByteArray RenderSvg(const PlotDocument& document, QSizeF inches, const RenderSettings& settings) {
    return RenderDocument("svg", document, inches, settings);
}

QByteArray RenderPdf(const PlotDocument& document, QSizeF inches, const RenderSettings& settings) {
    return RenderDocument("pdf", document, inches, settings);
}

QByteArray RenderEmf(const PlotDocument& document, QSizeF inches, const RenderSettings& settings) {
    return RenderDocument("emf", document, inches, settings);
}

bool WriteFileAtomically(const std::string& path, const QByteArray& bytes, std::string& error) {
    if (bytes.isEmpty()) {
        error = "nothing to write";
        return false;
    }
    const FileWriteResult written =
        WriteAtomically(Utf8Path(path), std::string_view(bytes.constData(),
                                                         static_cast<std::size_t>(bytes.size())));
    error = written.error;
    return written.ok;
}

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kTitlePoints = 14.0;
constexpr double kHeadingPoints = 10.0;

// The shape a document is printed in: width over height.
double PrintedAspect(const PlotDocument& document) {
    if (document.IsPolar() || document.IsSmith()) {
        return 1.0;
    }
    const QSizeF inches = PictureInches(document);
    return inches.width() / inches.height();
}

// Paints the documents within the page's margins on a printer or a PDF writer.
bool PaintPage(const std::vector<const PlotDocument*>& documents, QPagedPaintDevice& device,
               int resolution, const RenderSettings& settings, std::string& error) {
    const QRectF area = device.pageLayout().paintRectPixels(resolution);
    if (area.width() < 1.0 || area.height() < 1.0 || resolution <= 0 || documents.empty()) {
        error = "the page margins leave no room on the page";
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "the printer cannot be used";
        return false;
    }
    // The painter draws from the paint rectangle's corner; device pixels until the graphs.
    const QRectF page(QPointF(0, 0), area.size());
    const double headingHeight =
        PaintPrintHeading(painter, documents.front()->printHeading, page, resolution);
    const double gap = resolution / 4.0;
    const double count = static_cast<double>(documents.size());
    const double slotHeight = (page.height() - headingHeight - gap * (count - 1)) / count;
    const double scale = resolution / kUnitsPerInch;
    // On paper a diagram of a fixed size grows to the room it is given.
    RenderSettings paper = settings;
    paper.fillArea = true;
    double top = headingHeight;
    for (const PlotDocument* document : documents) {
        const double aspect = PrintedAspect(*document);
        QSizeF size(page.width(), page.width() / aspect);
        if (size.height() > slotHeight) {
            size = QSizeF(slotHeight * aspect, slotHeight);
        }
        if (size.width() < 1.0 || size.height() < 1.0) {
            error = "the page margins leave no room on the page";
            return false;
        }
        const PlotRenderer renderer(*document, size / scale, device, paper);
        painter.save();
        painter.translate((page.width() - size.width()) / 2.0, top);
        painter.scale(scale, scale);
        renderer.Paint(painter);
        painter.restore();
        top += slotHeight + gap;
    }
    if (!painter.end()) {
        error = "printing failed";
        return false;
    }
    return true;
}

// A printer printing to a PDF file writes it straight to the file and does not look at what
// its writes return, so a full disk would leave a cut file. The same page is made in memory
// instead and written as other files are. (A PDF file holds each page once, whatever the
// number of copies.)
bool PrintToPdfFile(const std::vector<const PlotDocument*>& documents, const QPrinter& printer,
                    const RenderSettings& settings, std::string& error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        writer.setPdfVersion(printer.pdfVersion());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator().isEmpty() ? QStringLiteral("Lobex")
                                                      : printer.creator());
        if (!PaintPage(documents, writer, writer.resolution(), settings, error)) {
            return false;
        }
    }
    const std::string path = printer.outputFileName().toStdString();
    if (!WriteFileAtomically(path, bytes, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace

double PaintPrintHeading(QPainter& painter, const std::vector<std::string>& lines,
                         const QRectF& area, int resolution) {
    double top = area.top();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QFont font = painter.font();
        font.setPointSizeF(i == 0 ? kTitlePoints : kHeadingPoints);
        font.setBold(i == 0);
        // No ligatures: "farfield.csv" stays those letters when read back from the page.
        font.setStyleStrategy(QFont::PreferNoShaping);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        const QRectF line(area.left(), top, area.width(), metrics.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(lines[i]));
        top += metrics.height() * (i == 0 ? 1.5 : 1.2);
    }
    // Room between the heading and the first graph: a sixth of an inch.
    return lines.empty() ? 0.0 : top - area.top() + resolution / 6.0;
}

bool PrintDocuments(const std::vector<const PlotDocument*>& documents, QPrinter& printer,
                    int copies, const RenderSettings& settings, std::string& error) {
    if (documents.empty()) {
        error = "nothing to print";
        return false;
    }
    const PlotDocument& document = *documents.front();
    const PageMargins& page = document.page;
    if (!printer.setPageMargins(QMarginsF(page.left, page.top, page.right, page.bottom),
                                QPageLayout::Inch)) {
        error = "the page margins leave no room on the page";
        return false;
    }
    printer.setCopyCount(copies);
    printer.setDocName(document.printHeading.empty()
                           ? Description(document)
                           : QString::fromStdString(document.printHeading.front()));
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return PrintToPdfFile(documents, printer, settings, error);
    }
    return PaintPage(documents, printer, printer.resolution(), settings, error);
}

QImage ToQImage(const PlotBitmap& bitmap) {
    return WrapPlotBitmap(bitmap).copy();
}

QImage WrapPlotBitmap(const PlotBitmap& bitmap) {
    if (bitmap.IsNull()) {
        return {};
    }
    QImage image(reinterpret_cast<const uchar*>(bitmap.Pixels.data()), bitmap.PixelWidth,
                 bitmap.PixelHeight, bitmap.PixelWidth * 4, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(bitmap.DevicePixelRatio);
    return image;
}

} // namespace lobex::plotter
