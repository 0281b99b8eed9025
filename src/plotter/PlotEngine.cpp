#include "PlotEngine.h"

#include "Message.h"

#include <QLocale>
#include <QPrinter>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace lobex::plotter {
namespace {

// Enough for any grid the readers produce, small enough that a corrupt record cannot make the
// engine read far past the caller's arrays by accident of a stray huge number.
constexpr std::int32_t kMostPoints = 10'000'000;
constexpr int kDataFormatSharedX = 2;

bool IsScaleCode(std::int32_t code) {
    return code == kScaleLinear || code == kScaleLogY || code == kScaleLogX ||
           code == kScaleLogXY || code == kScalePolarRadians || code == kScalePolarDegrees ||
           code == kScaleSmith;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

PlotEngine::PlotEngine() : decimalSeparator_(QLocale::system().decimalPoint().toStdString()) {}

PlotEngine::~PlotEngine() = default;

bool PlotEngine::Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
}

void PlotEngine::SetBitmapsFillArea(bool fill) {
    bitmapsFill_ = fill;
}

RenderSettings PlotEngine::Settings() const {
    RenderSettings settings;
    settings.decimalSeparator = decimalSeparator_;
    return settings;
}

std::int32_t PlotEngine::DPlot_Start(std::int32_t, std::int32_t* wasActive) {
    if (wasActive != nullptr) {
        *wasActive = linked_ ? 1 : 0;
    }
    linked_ = true;
    return 1;
}

void PlotEngine::DPlot_Stop() {
    documents_.clear();
    linked_ = false;
}

std::int32_t PlotEngine::DPlot_Plot(const DPLOT& plot, const float* x, const float* y,
                                    std::string_view commands) {
    if (!linked_) {
        Fail("the plot engine is not started");
        return -1;
    }
    if (plot.DataFormat != kDataFormatSharedX) {
        Fail(Message({"unsupported data format ", std::to_string(plot.DataFormat)}));
        return 0;
    }
    if (plot.NumCurves < 1 || plot.NumCurves > kPlotMaxCurves || plot.MaxPoints < 1 ||
        plot.MaxPoints > kMostPoints || x == nullptr || y == nullptr) {
        Fail("bad curve or point counts");
        return 0;
    }
    if (!IsScaleCode(plot.Scale)) {
        Fail(Message({"bad scale code ", std::to_string(plot.Scale)}));
        return 0;
    }
    PlotDocument document = NewDocument();
    document.scaleCode = plot.Scale;
    document.title1 = ReadTextField(plot.Title1);
    document.xLabel = ReadTextField(plot.XAxis);
    document.yLabel = ReadTextField(plot.YAxis);
    for (std::int32_t c = 0; c < plot.NumCurves; ++c) {
        const std::int32_t points = plot.NP[static_cast<std::size_t>(c)];
        if (points < 1 || points > plot.MaxPoints) {
            Fail(Message({"curve ", std::to_string(c + 1), " has a bad point count"}));
            return 0;
        }
        const std::int32_t lineType = plot.LineType[static_cast<std::size_t>(c)];
        document.styles[static_cast<std::size_t>(c)].lineType =
            lineType >= kLineTypeNone && lineType <= kLineTypeLast ? lineType : kLineTypeSolid;
        PlotCurve curve;
        const float* values = y + static_cast<std::ptrdiff_t>(c) * plot.MaxPoints;
        curve.x.assign(x, x + points);
        curve.y.assign(values, values + points);
        document.curves.push_back(std::move(curve));
    }
    const RunResult result = Run(document, commands);
    if (result != RunResult::Done) {
        if (result == RunResult::Closed) {
            Fail("the command string closed the document it made");
        }
        return 0;
    }
    document.edited = true;
    const std::int32_t number = nextDocument_++;
    documents_.emplace(number, std::move(document));
    error_.clear();
    return number;
}

PlotBitmap PlotEngine::DPlot_GetBitmapEx(std::int32_t document, std::int32_t width,
                                         std::int32_t height, PlotMetrics& metrics) {
    const auto found = documents_.find(document);
    if (found == documents_.end()) {
        Fail(Message({"no document ", std::to_string(document)}));
        return {};
    }
    if (metrics.Size != static_cast<std::int32_t>(sizeof(PlotMetrics))) {
        Fail("the metrics record's size is not 36");
        return {};
    }
    PlotMetrics filled;
    RenderSettings settings = Settings();
    settings.fillArea = bitmapsFill_;
    PlotBitmap bitmap = RenderBitmap(found->second, width, height, ratio_, settings, filled);
    if (bitmap.IsNull()) {
        Fail(Message({"no bitmap of ", std::to_string(width), " x ", std::to_string(height)}));
        return bitmap;
    }
    metrics = filled;
    found->second.lastWidth = width;
    found->second.lastHeight = height;
    return bitmap;
}

std::int32_t PlotEngine::DPlot_Command(std::int32_t document, std::string_view command) {
    const auto found = documents_.find(document);
    if (!linked_ || found == documents_.end()) {
        Fail(Message({"no document ", std::to_string(document)}));
        return 0;
    }
    // The string is carried out on a copy: a refused command leaves the document as it was
    // (files already written stay written).
    PlotDocument changed = found->second;
    switch (Run(changed, command)) {
    case RunResult::Failed:
        return 0;
    case RunResult::Closed:
        documents_.erase(found);
        return 1;
    case RunResult::Done:
        found->second = std::move(changed);
        return 1;
    }
    return 0;
}

void PlotEngine::DPlot_AddData(std::int32_t document, std::int32_t type, std::int32_t points,
                               std::int32_t curve, const float* x, const float* y) {
    const auto found = documents_.find(document);
    if (!linked_ || found == documents_.end() || type != 0 || points < 1 || points > kMostPoints ||
        x == nullptr || y == nullptr) {
        Fail("DPlot_AddData refused");
        return;
    }
    PlotDocument& target = found->second;
    const auto count = static_cast<std::int32_t>(target.curves.size());
    if (curve < 1 || curve > std::min(count + 1, kPlotMaxCurves)) {
        Fail(Message({"DPlot_AddData: no curve ", std::to_string(curve)}));
        return;
    }
    PlotCurve data;
    data.x.assign(x, x + points);
    data.y.assign(y, y + points);
    if (curve == count + 1) {
        target.curves.push_back(std::move(data));
    } else {
        target.curves[static_cast<std::size_t>(curve - 1)] = std::move(data);
    }
    target.edited = true;
}

PlotEngine::RunResult PlotEngine::Run(PlotDocument& document, std::string_view commands) {
    const ParseResult parsed = ParseCommands(commands);
    if (!parsed.ok()) {
        Fail(Message({"command string: ", parsed.error}));
        return RunResult::Failed;
    }
    bool closed = false;
    for (const PlotCommand& command : parsed.commands) {
        const CommandEffect effect = ApplyCommand(document, command);
        if (!effect.ok) {
            Fail(effect.error);
            return RunResult::Failed;
        }
        if (effect.action == OutputAction::FileClose) {
            closed = true;
        } else if (effect.action != OutputAction::None) {
            if (!Output(document, effect)) {
                return RunResult::Failed;
            }
        } else if (!SameName(command.name, "ClearEditFlag")) {
            document.edited = true;
        }
    }
    error_.clear();
    return closed ? RunResult::Closed : RunResult::Done;
}

bool PlotEngine::Output(PlotDocument& document, const CommandEffect& effect) {
    const RenderSettings settings = Settings();
    switch (effect.action) {
    case OutputAction::CopyPicture: {
        const QSizeF inches = PictureInches(document);
        const int width = static_cast<int>(std::lround(inches.width() * kUnitsPerInch));
        const int height = static_cast<int>(std::lround(inches.height() * kUnitsPerInch));
        const QImage image = RenderImage(document, width, height, ratio_, settings);
        if (image.isNull()) {
            return Fail("the picture is too large to copy");
        }
        PlotClipboard& clipboard = clipboard_ != nullptr ? *clipboard_ : systemClipboard_;
        if (!clipboard.SetPicture(image, RenderSvg(document, inches, settings))) {
            return Fail("the clipboard refused the picture");
        }
        return true;
    }
    case OutputAction::FilePrint: {
        QPrinter printer(QPrinter::HighResolution);
        if (printerSetup_ && !printerSetup_(printer)) {
            return Fail("printing was cancelled");
        }
        std::vector<const PlotDocument*> printed{&document};
        if (effect.printedWith != 0) {
            const PlotDocument* with = FindDocument(effect.printedWith);
            if (with == nullptr) {
                return Fail("no such document to print with");
            }
            printed.push_back(with);
        }
        std::string reason;
        if (!PrintDocuments(printed, printer, effect.copies, settings, reason)) {
            return Fail(Message({"printing failed: ", reason}));
        }
        return true;
    }
    case OutputAction::FileSaveAs:
        if (!WriteFile(document, effect.path, effect.format)) {
            return false;
        }
        document.edited = false;
        return true;
    case OutputAction::FileClose:
    case OutputAction::None:
        break;
    }
    return true;
}

void PlotEngine::SetDevicePixelRatio(double ratio) {
    ratio_ = ratio >= 0.25 && ratio <= 8.0 ? ratio : 1.0;
}

void PlotEngine::SetDecimalSeparator(std::string separator) {
    decimalSeparator_ = separator.empty() ? std::string(".") : std::move(separator);
}

void PlotEngine::SetClipboard(PlotClipboard* clipboard) {
    clipboard_ = clipboard;
}

void PlotEngine::SetPrinterSetup(std::function<bool(QPrinter&)> setup) {
    printerSetup_ = std::move(setup);
}

const PlotDocument* PlotEngine::FindDocument(std::int32_t document) const {
    const auto found = documents_.find(document);
    return found == documents_.end() ? nullptr : &found->second;
}

QImage PlotEngine::RenderDocumentImage(std::int32_t document, int width, int height,
                                       PlotMetrics* metrics) const {
    const PlotDocument* found = FindDocument(document);
    if (found == nullptr) {
        return {};
    }
    return RenderImage(*found, width, height, ratio_, Settings(), metrics);
}

bool PlotEngine::WriteFile(const PlotDocument& document, const std::string& path, int format) {
    const QSizeF inches = PictureInches(document);
    const RenderSettings settings = Settings();
    const QByteArray bytes = format == kFormatSvg   ? RenderSvg(document, inches, settings)
                             : format == kFormatPdf ? RenderPdf(document, inches, settings)
                                                    : RenderEmf(document, inches, settings);
    std::string reason;
    if (!WriteFileAtomically(path, bytes, reason)) {
        return Fail(Message({"cannot write ", path, ": ", reason}));
    }
    return true;
}

bool PlotEngine::SaveFile(std::int32_t document, const std::string& path, int format) {
    const PlotDocument* found = FindDocument(document);
    if (found == nullptr) {
        return Fail(Message({"no document ", std::to_string(document)}));
    }
    return WriteFile(*found, path, format);
}

bool PlotEngine::SaveSvg(std::int32_t document, const std::string& path) {
    return SaveFile(document, path, kFormatSvg);
}

bool PlotEngine::SavePdf(std::int32_t document, const std::string& path) {
    return SaveFile(document, path, kFormatPdf);
}

bool PlotEngine::SaveEmf(std::int32_t document, const std::string& path) {
    return SaveFile(document, path, kFormatEmf);
}

} // namespace lobex::plotter
