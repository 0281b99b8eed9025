#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The calls of the plot engine, as the graph code sees them. The engine itself (src/plotter)
// implements PlotApi; the graph code and its tests only know this header, so a fake engine can
// stand in. Nothing here needs Qt.
namespace lobex {

// Curves a document can hold, and the length of the record's per-curve arrays.
inline constexpr int kPlotMaxCurves = 20;

// The file formats of the FileSaveAs command: an Enhanced Metafile, and the engine's own vector
// formats SVG and PDF.
inline constexpr int kSaveAsEmf = 4097;
inline constexpr int kSaveAsSvg = 4098;
inline constexpr int kSaveAsPdf = 4099;

// The engine's own scale code of a Smith chart: the curves hold Re Γ as X and Im Γ as Y.
inline constexpr int kScaleSmithChart = 12;

// The plot description handed to DPlot_Plot: 70 32-bit numeric fields followed by fixed-length
// 8-bit character fields, 1620 bytes in all. Character fields hold UTF-8 text ending at the
// first zero byte or at the end of the field; trailing blanks are padding (SetTextField).
struct DPLOT {
    std::int32_t Version = 0;    // 2
    std::int32_t hwnd = 0;       // window handle of the plot host; not needed in process
    std::int32_t DataFormat = 0; // 2: one X array shared by all curves, Y curves one after another
    std::int32_t MaxCurves = 0;  // capacity the caller reserved; the engine does not need it
    std::int32_t MaxPoints = 0;  // stride of the Y array: curve k starts at y[k * MaxPoints]
    std::int32_t NumCurves = 0;  // curves in this document, 1 to kPlotMaxCurves
    std::int32_t Scale = 0;      // starting scale code (see the Scale command)
    float XOffset = 0.0f;        // evenly spaced X data only; unused with DataFormat 2
    float XStep = 0.0f;          // likewise
    std::array<std::int32_t, kPlotMaxCurves> NP{};         // points of each curve
    std::array<std::int32_t, kPlotMaxCurves> LineType{};   // starting line type of each curve
    std::array<std::int32_t, kPlotMaxCurves> SymbolType{}; // unused: curves carry no symbols
    std::int32_t Reserved276 = 0;
    std::array<char, 840> Legend{};
    std::array<char, 100> Reserved1120{};
    std::array<char, 80> Title1{}; // starting title, replaced by the Title1 command
    std::array<char, 80> Title2{};
    std::array<char, 80> Title3{};
    std::array<char, 80> XAxis{}; // starting X-axis label
    std::array<char, 80> YAxis{}; // Y-axis label (no command sets it)
};

static_assert(sizeof(DPLOT) == 1620);
static_assert(offsetof(DPLOT, Version) == 0);
static_assert(offsetof(DPLOT, hwnd) == 4);
static_assert(offsetof(DPLOT, DataFormat) == 8);
static_assert(offsetof(DPLOT, MaxCurves) == 12);
static_assert(offsetof(DPLOT, MaxPoints) == 16);
static_assert(offsetof(DPLOT, NumCurves) == 20);
static_assert(offsetof(DPLOT, Scale) == 24);
static_assert(offsetof(DPLOT, XOffset) == 28);
static_assert(offsetof(DPLOT, XStep) == 32);
static_assert(offsetof(DPLOT, NP) == 36);
static_assert(offsetof(DPLOT, LineType) == 116);
static_assert(offsetof(DPLOT, SymbolType) == 196);
static_assert(offsetof(DPLOT, Reserved276) == 276);
static_assert(offsetof(DPLOT, Legend) == 280);
static_assert(offsetof(DPLOT, Reserved1120) == 1120);
static_assert(offsetof(DPLOT, Title1) == 1220);
static_assert(offsetof(DPLOT, Title2) == 1300);
static_assert(offsetof(DPLOT, Title3) == 1380);
static_assert(offsetof(DPLOT, XAxis) == 1460);
static_assert(offsetof(DPLOT, YAxis) == 1540);

// Where the plotting area of a rendered bitmap lies, in the bitmap's pixels (the size asked
// for, whatever the device pixel ratio), and the data values at its edges. Size must be 36 when
// the record is handed to DPlot_GetBitmapEx.
struct PlotMetrics {
    std::int32_t Size = 36;
    std::int32_t Left = 0;   // column where X = XLo
    std::int32_t Bottom = 0; // row where Y = YLo (the larger row number)
    std::int32_t Right = 0;  // column where X = XHi
    std::int32_t Top = 0;    // row where Y = YHi
    float XLo = 0.0f;
    float YLo = 0.0f;
    float XHi = 0.0f;
    float YHi = 0.0f;
};

static_assert(sizeof(PlotMetrics) == 36);
static_assert(offsetof(PlotMetrics, Size) == 0);
static_assert(offsetof(PlotMetrics, Left) == 4);
static_assert(offsetof(PlotMetrics, Bottom) == 8);
static_assert(offsetof(PlotMetrics, Right) == 12);
static_assert(offsetof(PlotMetrics, Top) == 16);
static_assert(offsetof(PlotMetrics, XLo) == 20);
static_assert(offsetof(PlotMetrics, YLo) == 24);
static_assert(offsetof(PlotMetrics, XHi) == 28);
static_assert(offsetof(PlotMetrics, YHi) == 32);

// A rendered graph: a plain pixel buffer standing in for a GDI bitmap handle, so that no Qt
// type leaks into the graph code. The slot that holds it owns it; an empty buffer means "no
// bitmap". Width and Height are the size that was asked for (the units of PlotMetrics); on a
// high-density screen the buffer holds DevicePixelRatio times as many pixels each way.
// Pixels are 0xAARRGGBB words, premultiplied alpha (always opaque here), rows top to bottom,
// PixelWidth words per row: the layout of QImage::Format_ARGB32_Premultiplied.
struct PlotBitmap {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    double DevicePixelRatio = 1.0;
    std::int32_t PixelWidth = 0;
    std::int32_t PixelHeight = 0;
    std::vector<std::uint32_t> Pixels;

    bool IsNull() const { return Pixels.empty(); }
    explicit operator bool() const { return !IsNull(); }
    // The pixel at (column, row) of the buffer; the caller keeps inside PixelWidth x PixelHeight.
    std::uint32_t PixelAt(std::int32_t column, std::int32_t row) const {
        return Pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(PixelWidth) +
                      static_cast<std::size_t>(column)];
    }
};

// The plot engine's calls. Text arguments are UTF-8.
class PlotApi {
public:
    virtual ~PlotApi() = default;

    // Links the engine. Returns nonzero when linked, 0 when it cannot be started; *wasActive
    // (may be null) becomes 1 when the engine was already running before the call.
    virtual std::int32_t DPlot_Start(std::int32_t mode, std::int32_t* wasActive) = 0;
    // Unlinks the engine; every open document is dropped.
    virtual void DPlot_Stop() = 0;
    // Makes a new document from the record, the X array (MaxPoints values), the Y array
    // (MaxPoints x NumCurves values, DataFormat 2) and a command string. Returns the document
    // number (> 0), 0 when the record, the data or the command string is refused, -1 when the
    // engine is not linked.
    virtual std::int32_t DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                                    std::string_view commands) = 0;
    // Renders the document at exactly width x height and fills metrics (whose Size must be
    // 36). An empty bitmap, metrics untouched, for a missing document or an impossible size.
    virtual PlotBitmap DPlot_GetBitmapEx(std::int32_t document, std::int32_t width,
                                         std::int32_t height, PlotMetrics& metrics) = 0;
    // Carries out a command string on a document: > 0 when carried out, 0 for an unknown
    // command, a bad argument, a failed output or a missing document.
    virtual std::int32_t DPlot_Command(std::int32_t document, std::string_view command) = 0;
    // Sets curve `curve` (1-based; at most one past the last curve) of a document to `points`
    // X/Y pairs. type 0 is the only type; anything unusable is ignored.
    virtual void DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                               std::int32_t curve, const float* x, const float* y) = 0;
    // Why the last command failed, in the engine's words (a file's write error, say); empty
    // when it gave no reason.
    virtual std::string DPlot_LastError() const { return {}; }
};

// Writes UTF-8 text into a fixed-length character field: cut at a character boundary when it
// does not fit, the rest filled with `pad` (blanks, as a fixed-length text field is padded).
void SetTextField(char* field, std::size_t size, std::string_view text, char pad = ' ');
template <std::size_t N>
void SetTextField(std::array<char, N>& field, std::string_view text, char pad = ' ') {
    SetTextField(field.data(), N, text, pad);
}

// The text of a character field: up to the first zero byte, trailing blanks removed.
std::string ReadTextField(const char* field, std::size_t size);
template <std::size_t N>
std::string ReadTextField(const std::array<char, N>& field) {
    return ReadTextField(field.data(), N);
}

} // namespace lobex
