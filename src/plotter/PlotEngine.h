#pragma once

#include "PlotClipboard.h"
#include "PlotCommands.h"
#include "PlotDocument.h"
#include "PlotOutput.h"
#include "graphs/PlotApi.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class QPrinter;

// The plot engine: the in-process stand-in for the outside plotting program, with its calls,
// its numbered documents and its bracketed command language (PlotCommands.h lists every
// command and what it means here). It draws with QPainter, so it needs a QGuiApplication but
// no widgets.
//
// How the graphs look: white background; a rectangular graph has a black frame with outward
// ticks, light grey grid lines at the labelled ticks, nice tick values (axes widened to the
// nearest labelled tick, decades and 1-2-5 on log axes), the Y label on the left turned
// upwards, and with a second Y axis its ticks and label on the right, each Y label in the
// colour of its curve. A polar graph has its rings and spokes in light grey, angle labels
// outside the circle (thinned when they would crowd), its title above, and neither axis labels
// nor radius numbers: the radii the graph code sends are normalised values whose meaning its
// read-outs show. Curve 1 is red;
// curve 2 is dark green until a Color command says otherwise. Fonts named "MS Sans Serif"
// are drawn with a good installed sans-serif face.
//
// Metrics and pixels: PlotMetrics comes from the same mapping as the drawing. Rectangular:
// Left/Right/Top/Bottom are the frame's pixel columns and rows and XLo..YHi the values there.
// Polar: the circle's centre is ((Left + Right + 3) / 2, (Top + Bottom + 3) / 2) and its
// radius (Right - Left) / 2 in the bitmap's pixels, XLo..XHi the angle range and YLo..YHi the
// radius range, so the polar read-out formula lands on the drawn curves.
namespace lobex::plotter {

class PlotEngine final : public PlotApi {
public:
    PlotEngine();
    ~PlotEngine() override;
    PlotEngine(const PlotEngine&) = delete;
    PlotEngine& operator=(const PlotEngine&) = delete;

    // The calls (see PlotApi). In process DPlot_Start always links; wasActive is 1 only when
    // the engine was linked already.
    std::int32_t DPlot_Start(std::int32_t mode, std::int32_t* wasActive) override;
    void DPlot_Stop() override;
    std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                            std::string_view commands) override;
    PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width, std::int32_t height,
                                 PlotMetrics& metrics) override;
    std::int32_t DPlot_Command(std::int32_t document, std::string_view command) override;
    void DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                       std::int32_t curve, const float* x, const float* y) override;

    // Device pixels per bitmap pixel for later bitmaps (a high-density screen gives 2); the
    // bitmap's Width, Height and metrics stay in the units asked for.
    void SetDevicePixelRatio(double ratio);
    double DevicePixelRatio() const { return ratio_; }
    // Bitmaps (DPlot_GetBitmapEx) of a document with a fixed size drawn as large as they allow,
    // for pictures on screen that follow their window; copies, prints and files keep the size.
    void SetBitmapsFillArea(bool fill);
    // The decimal separator of the numbers along the axes (the user's locale).
    void SetDecimalSeparator(std::string separator);
    // Where CopyPicture goes; null (the default) is the system clipboard. Not owned.
    void SetClipboard(PlotClipboard* clipboard);
    // Called on the printer before FilePrint prints (choose it, or point it at a PDF file);
    // returning false cancels the print, which then fails. Without it the default printer.
    void SetPrinterSetup(std::function<bool(QPrinter&)> setup);

    // An open document, or null.
    const PlotDocument* FindDocument(std::int32_t document) const;
    // The picture of a document at a size in bitmap pixels, and the files of it at its
    // picture size (PictureInches). False (or a null image) for a missing document or a failed
    // write; LastError then says why.
    QImage RenderDocumentImage(std::int32_t document, int width, int height,
                               PlotMetrics* metrics = nullptr) const;
    bool SaveSvg(std::int32_t document, const std::string& path);
    bool SavePdf(std::int32_t document, const std::string& path);
    bool SaveEmf(std::int32_t document, const std::string& path);
    // Why the last call that failed did so, in English, for logs and the command line.
    const std::string& LastError() const { return error_; }
    std::string DPlot_LastError() const override { return error_; }

private:
    enum class RunResult { Failed, Done, Closed };
    RunResult Run(PlotDocument& document, std::string_view commands);
    bool Output(PlotDocument& document, const CommandEffect& effect);
    bool Fail(std::string reason);
    // Writes the picture of a document in a FileSaveAs format (kFormatEmf, ...).
    bool WriteFile(const PlotDocument& document, const std::string& path, int format);
    bool SaveFile(std::int32_t document, const std::string& path, int format);
    RenderSettings Settings() const;

    bool linked_ = false;
    std::int32_t nextDocument_ = 1;
    std::map<std::int32_t, PlotDocument> documents_;
    double ratio_ = 1.0;
    bool bitmapsFill_ = false;
    std::string decimalSeparator_;
    PlotClipboard* clipboard_ = nullptr;
    SystemPlotClipboard systemClipboard_;
    std::function<bool(QPrinter&)> printerSetup_;
    std::string error_;
};

} // namespace lobex::plotter
