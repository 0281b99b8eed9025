#include "PlotLayout.h"

#include "FontResolver.h"
#include "TextMeasure.h"
#include "model/SmithChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

namespace lobex::plotter {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr char32_t kMinusSign = 0x2212;

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text as drawn: nothing for a blank one.
QString Shown(const std::string& text) {
    return IsBlank(text) ? QString() : ToQString(text);
}

struct Extent {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void Add(double value) {
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
    bool Empty() const { return lo > hi; }
};

// The rows a legend has: an entry for each curve drawn that has one, and the title's; none
// where no curve has an entry.
std::size_t LegendRowCount(const PlotDocument& d) {
    std::size_t rows = 0;
    for (std::size_t curve = 1; curve < d.legends.size() && curve <= d.curves.size(); ++curve) {
        rows += IsBlank(d.legends[curve]) ? 0 : 1;
    }
    return rows == 0 ? 0 : rows + (IsBlank(d.legends[0]) ? 0 : 1);
}

PlotFonts MakeFonts(const PlotDocument& document, double sizeFactor) {
    const auto font = [&](FontElement element) {
        return MakeFont(document.fonts[static_cast<std::size_t>(element) - 1], sizeFactor);
    };
    return {font(FontElement::TickLabels), font(FontElement::Title), font(FontElement::Subtitles),
            font(FontElement::AxisLabels), font(FontElement::Notes), font(FontElement::Legend)};
}

// Tick labels as they read in a font: a real minus sign where the font has one.
class TickWriter {
public:
    TickWriter(const TextMeasure& measure, const std::string& decimalSeparator)
        : measure_(measure), separator_(decimalSeparator) {}

    QString Text(double value, int decimals, const QFont& font) const {
        QString text = ToQString(FormatTick(value, decimals, separator_));
        if (text.startsWith(QLatin1Char('-')) && measure_.HasGlyph(font, kMinusSign)) {
            text.replace(0, 1, QChar(kMinusSign));
        }
        return text;
    }

    double Width(double value, int decimals, const QFont& font) const {
        return measure_.Width(font, Text(value, decimals, font));
    }

    // The one measure of how much room an axis's labels need across.
    double WidestLabel(const AxisTicks& ticks, const QFont& font) const {
        double widest = 0.0;
        for (const double value : ticks.major) {
            widest = std::max(widest, Width(value, ticks.decimals, font));
        }
        return widest;
    }

    AxisLayout Axis(const AxisTicks& ticks, const QFont& font) const {
        AxisLayout axis{ticks, {}, 0.0};
        axis.labels.reserve(ticks.major.size());
        for (const double value : ticks.major) {
            QString text = Text(value, ticks.decimals, font);
            const double width = measure_.Width(font, text);
            axis.widestLabel = std::max(axis.widestLabel, width);
            axis.labels.push_back({value, std::move(text), width});
        }
        return axis;
    }

private:
    const TextMeasure& measure_;
    const std::string& separator_;
};

// The range an axis shows before its ticks widen it: the limits that are set, the data's
// extent for those that are not.
std::pair<double, double> AxisRangeOf(const Extent& data, const std::optional<double>& lo,
                                      const std::optional<double>& hi, bool log) {
    double a = lo.value_or(data.Empty() ? (log ? 1.0 : 0.0) : data.lo);
    double b = hi.value_or(data.Empty() ? (log ? 10.0 : 1.0) : data.hi);
    if (a > b) {
        std::swap(a, b);
    }
    if (log && a <= 0.0) {
        // A log axis cannot start at zero: begin at the smallest value it can show.
        a = !data.Empty() && data.lo > 0.0 ? data.lo : (b > 0.0 ? b / 1000.0 : 1.0);
        if (b <= a) {
            b = a * 10.0;
        }
    }
    return {a, b};
}

struct RectangularRanges {
    std::pair<double, double> x, y, y2;
};

RectangularRanges RangesOf(const PlotDocument& d) {
    Extent x, y, y2;
    const bool logX = IsLogX(d.scaleCode);
    const bool logY = IsLogY(d.scaleCode);
    for (std::size_t c = 0; c < d.curves.size(); ++c) {
        const PlotCurve& curve = d.curves[c];
        const bool second = d.OnSecondAxis(static_cast<int>(c) + 1);
        for (std::size_t i = 0; i < curve.x.size() && i < curve.y.size(); ++i) {
            const double vx = curve.x[i];
            const double vy = curve.y[i];
            if (std::isfinite(vx) && (!logX || vx > 0.0)) {
                x.Add(vx);
            }
            if (std::isfinite(vy) && (!logY || vy > 0.0)) {
                (second ? y2 : y).Add(vy);
            }
        }
    }
    return {AxisRangeOf(x, d.limits.xLo, d.limits.xHi, logX),
            AxisRangeOf(y, d.limits.yLo, d.limits.yHi, logY),
            AxisRangeOf(y2, d.limits.y2Lo, d.limits.y2Hi, logY)};
}

// Ticks of one rectangular axis `length` units long: as many as its labels leave room for.
AxisTicks RectangularTicks(std::pair<double, double> range, bool log, const TickSetting& setting,
                           double length, bool horizontal, const QFont& font,
                           const TextMeasure& measure, const TickWriter& writer) {
    if (setting.intervals > 0 && !log) {
        return DividedTicks(range.first, range.second, setting.intervals,
                            std::max(1, setting.minorDivisions));
    }
    int most = 10;
    if (horizontal) {
        // Room for the widest label of a first guess, and some air between labels.
        const AxisTicks guess = log ? LogTicks(range.first, range.second, 10, true)
                                    : LinearTicks(range.first, range.second, 10, true);
        const double widest = writer.WidestLabel(guess, font);
        most = static_cast<int>(length / (widest + 3.0 * measure.AverageCharWidth(font) + 1.0));
    } else {
        most = static_cast<int>(length / (measure.Height(font) * 2.2));
    }
    most = std::clamp(most, 2, 10);
    return log ? LogTicks(range.first, range.second, most, true)
               : LinearTicks(range.first, range.second, most, true);
}

// What the sizing rounds of a layout settle on; the fonts may have shrunk once more after the
// last round measured them (a fixed size that still does not fit).
struct Sizing {
    double shrink = 1.0;
    PlotFonts fonts;
};

void LayOutRectangular(const PlotDocument& d, bool fixed, const TextMeasure& measure,
                       const TickWriter& writer, PlotLayout& layout) {
    const QSizeF size = layout.size;
    const double fontScale = measure.FontScale();
    const bool logX = IsLogX(d.scaleCode);
    const bool logY = IsLogY(d.scaleCode);
    const RectangularRanges ranges = RangesOf(d);
    const bool secondAxis = d.yAxes == 2 && static_cast<int>(d.curves.size()) >= d.firstCurveOnY2;
    Sizing sizing{1.0, MakeFonts(d, fontScale)};
    AxisTicks xTicks, yTicks, y2Ticks;
    double plotWidth = size.width() * 0.75;
    double plotHeight = size.height() * 0.7;
    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The margins depend on the labels and the labels on the room between the margins:
        // a few rounds settle them.
        for (int pass = 0; pass < 3; ++pass) {
            const QFont& tickFont = sizing.fonts.ticks;
            xTicks = RectangularTicks(ranges.x, logX, d.ticks[0], plotWidth, true, tickFont,
                                      measure, writer);
            yTicks = RectangularTicks(ranges.y, logY, d.ticks[1], plotHeight, false, tickFont,
                                      measure, writer);
            if (secondAxis) {
                y2Ticks = RectangularTicks(ranges.y2, logY, d.ticks[2], plotHeight, false, tickFont,
                                           measure, writer);
            }
            const double tickHeight = measure.Height(tickFont);
            const double axisHeight = measure.Height(sizing.fonts.axis);
            double titleBlock = 0.0;
            if (!IsBlank(d.title1)) {
                titleBlock += measure.Height(sizing.fonts.title) + kLabelGap;
            }
            for (const std::string* subtitle : {&d.title2, &d.title3}) {
                if (!IsBlank(*subtitle)) {
                    titleBlock += measure.Height(sizing.fonts.subtitles);
                }
            }
            const double s = sizing.shrink;
            left = kPad * s + (IsBlank(d.yLabel) ? 0.0 : axisHeight + kLabelGap * s) +
                   writer.WidestLabel(yTicks, tickFont) + (kLabelGap + kTickLength) * s;
            if (secondAxis) {
                right = (kTickLength + kLabelGap + kPad) * s +
                        writer.WidestLabel(y2Ticks, tickFont) +
                        (IsBlank(d.y2Label) ? 0.0 : axisHeight + kLabelGap * s);
            } else {
                // Room for half of the last X label, which is centred on the right edge.
                const double last = xTicks.major.empty() ? 0.0
                                                         : writer.Width(xTicks.major.back(),
                                                                        xTicks.decimals, tickFont);
                right = std::max(kPad * s, last / 2.0 + 2.0 * s);
            }
            top = kPad * s + titleBlock + tickHeight / 2.0;
            bottom = (kTickLength + kLabelGap + kPad) * s + tickHeight +
                     (IsBlank(d.xLabel) ? 0.0 : kLabelGap * s + axisHeight);
            if (fixed) {
                plotWidth = d.fixedWidth * kUnitsPerInch * s;
                plotHeight = d.fixedHeight * kUnitsPerInch * s;
            } else {
                plotWidth = std::max(8.0, size.width() - left - right);
                plotHeight = std::max(8.0, size.height() - top - bottom);
            }
        }
        const double needWidth = left + plotWidth + right;
        const double needHeight = top + plotHeight + bottom;
        if (!fixed || (needWidth <= size.width() + 0.5 && needHeight <= size.height() + 0.5)) {
            break;
        }
        sizing.shrink *= std::min(size.width() / needWidth, size.height() / needHeight);
        sizing.fonts = MakeFonts(d, fontScale * sizing.shrink);
    }
    double originX = 0.0;
    double originY = 0.0;
    if (fixed) {
        originX = std::max(0.0, (size.width() - left - plotWidth - right) / 2.0);
        originY = std::max(0.0, (size.height() - top - plotHeight - bottom) / 2.0);
    }
    const int l = static_cast<int>(std::ceil(originX + left));
    const int t = static_cast<int>(std::ceil(originY + top));
    const int r = std::max(l + 2, static_cast<int>(std::floor(originX + left + plotWidth)));
    const int b = std::max(t + 2, static_cast<int>(std::floor(originY + top + plotHeight)));
    layout.shrink = sizing.shrink;
    layout.fonts = sizing.fonts;
    layout.titleTop = originY + kPad * sizing.shrink;
    layout.mapping =
        PlotMapping::Rectangular(l, t, r, b, {xTicks.lo, xTicks.hi, logX},
                                 {yTicks.lo, yTicks.hi, logY}, {y2Ticks.lo, y2Ticks.hi, logY});
    layout.secondAxis = secondAxis;
    layout.x = writer.Axis(xTicks, layout.fonts.ticks);
    layout.y = writer.Axis(yTicks, layout.fonts.ticks);
    layout.y2 = writer.Axis(y2Ticks, layout.fonts.ticks);
    layout.title2 = Shown(d.title2);
    layout.title3 = Shown(d.title3);
    layout.xLabel = Shown(d.xLabel);
    layout.yLabel = Shown(d.yLabel);
    layout.y2Label = secondAxis ? Shown(d.y2Label) : QString();
}

// The circle of a polar graph or a Smith chart: as large as the picture allows with room for
// the labels around it (`outer`, from the circle to their far side) and the title above; a
// fixed size that does not fit is drawn smaller, its fonts with it.
struct SquareFit {
    Sizing sizing;
    double diameter = 0.0;
    double outer = 0.0;
    double titleBlock = 0.0; // the legend's rows included, when room is kept for them
    double legendBlock = 0.0;
};

// The largest square the diagram fits, with its labels, its title and (legendAbove) the
// legend's rows over the title.
SquareFit FitSquare(const PlotDocument& d, bool fixed, const TextMeasure& measure, QSizeF size,
                    const std::function<double(const QFont&)>& widestLabel, bool legendAbove) {
    const double fontScale = measure.FontScale();
    SquareFit fit{{1.0, MakeFonts(d, fontScale)}};
    for (int attempt = 0; attempt < 3; ++attempt) {
        const double widest = widestLabel(fit.sizing.fonts.ticks);
        const double tickHeight = measure.Height(fit.sizing.fonts.ticks);
        const double s = fit.sizing.shrink;
        fit.outer = (kTickLength + kLabelGap) * s + std::max(widest, tickHeight);
        fit.titleBlock =
            IsBlank(d.title1) ? 0.0 : measure.Height(fit.sizing.fonts.title) + kLabelGap * s;
        const std::size_t legendRows = legendAbove ? LegendRowCount(d) : 0;
        fit.legendBlock =
            legendRows == 0
                ? 0.0
                : double(legendRows) * measure.Height(fit.sizing.fonts.legend) + 1.5 * kPad * s;
        fit.titleBlock += fit.legendBlock;
        const double padding = 2.0 * kPad * s;
        if (!fixed) {
            fit.diameter = std::min(size.width() - 2.0 * fit.outer - padding,
                                    size.height() - fit.titleBlock - 2.0 * fit.outer - padding);
            break;
        }
        fit.diameter = std::min(d.fixedWidth, d.fixedHeight) * kUnitsPerInch * s;
        const double needWidth = fit.diameter + 2.0 * fit.outer + padding;
        const double needHeight = fit.titleBlock + fit.diameter + 2.0 * fit.outer + padding;
        if (needWidth <= size.width() + 0.5 && needHeight <= size.height() + 0.5) {
            break;
        }
        const double shrink = std::min(size.width() / needWidth, size.height() / needHeight);
        fit.sizing.shrink *= shrink;
        fit.sizing.fonts = MakeFonts(d, fontScale * fit.sizing.shrink);
        fit.diameter *= shrink;
    }
    fit.diameter = std::max(8.0, fit.diameter);
    return fit;
}

void LayOutPolar(const PlotDocument& d, bool fixed, const TextMeasure& measure,
                 const TickWriter& writer, PlotLayout& layout) {
    const QSizeF size = layout.size;
    const bool degrees = d.scaleCode == kScalePolarDegrees;
    const double turn = degrees ? 360.0 : 2.0 * std::numbers::pi;
    const double angleLo = d.limits.xLo.value_or(0.0);
    double angleHi = d.limits.xHi.value_or(angleLo + turn);
    if (!(angleHi > angleLo)) {
        angleHi = angleLo + turn;
    }
    const TickSetting angular = d.ticks[0];
    const AxisTicks angleTicks =
        DividedTicks(angleLo, angleHi, angular.intervals > 0 ? angular.intervals : 12,
                     std::max(1, angular.minorDivisions));
    double radiusLo = d.limits.yLo.value_or(0.0);
    double radiusHi = 0.0;
    if (d.limits.yHi) {
        radiusHi = *d.limits.yHi;
    } else {
        Extent radii;
        for (const PlotCurve& curve : d.curves) {
            for (const float value : curve.y) {
                if (std::isfinite(value)) {
                    radii.Add(value);
                }
            }
        }
        radiusHi = radii.Empty() ? 1.0 : LinearTicks(radiusLo, radii.hi, 5, true).hi;
    }
    if (!(radiusHi > radiusLo)) {
        radiusHi = radiusLo + 1.0;
    }
    const TickSetting radial = d.ticks[1];
    const AxisTicks radiusTicks = radial.intervals > 0
                                      ? DividedTicks(radiusLo, radiusHi, radial.intervals, 1)
                                      : LinearTicks(radiusLo, radiusHi, 5, false);

    const SquareFit fit = FitSquare(
        d, fixed, measure, size,
        [&](const QFont& font) { return writer.WidestLabel(angleTicks, font); }, true);
    const double diameter = fit.diameter;
    const double outer = fit.outer;
    const double titleBlock = fit.titleBlock;
    const double legendBlock = fit.legendBlock;
    layout.shrink = fit.sizing.shrink;
    layout.fonts = fit.sizing.fonts;
    layout.x = writer.Axis(angleTicks, layout.fonts.ticks);
    layout.y = writer.Axis(radiusTicks, layout.fonts.ticks);

    // Labels must not crowd: take every n-th when the circle is small for them.
    const double circumference = std::numbers::pi * (diameter + outer);
    const std::size_t labels = std::max<std::size_t>(1, angleTicks.major.size() - 1);
    layout.angleLabelStride = 1;
    while (layout.angleLabelStride < static_cast<int>(labels) &&
           circumference / (static_cast<double>(labels) / layout.angleLabelStride) <
               layout.x.widestLabel + 4.0 * layout.shrink) {
        ++layout.angleLabelStride;
    }

    const double blockHeight = titleBlock + diameter + 2.0 * outer;
    const double top = std::max(kPad * layout.shrink, (size.height() - blockHeight) / 2.0);
    // The title begins below the legend.
    layout.titleTop = top + legendBlock;
    const QPointF centre(size.width() / 2.0, top + titleBlock + outer + diameter / 2.0);
    const int n = static_cast<int>(std::round(diameter));
    // The read-out puts the centre at (left + right + 3) / 2 in pixel coordinates, which the
    // painter draws half a pixel further on: place the square so that this lands on `centre`.
    const int l = static_cast<int>(std::round(centre.x() - n / 2.0 - 2.0));
    const int t = static_cast<int>(std::round(centre.y() - n / 2.0 - 2.0));
    layout.mapping = PlotMapping::Polar(l, t, l + n, t + n, angleLo, angleHi, degrees, radiusLo,
                                        radiusHi, d.polarStyle);
}

// The grid a Smith chart draws: the usual normalised values.
constexpr std::array<double, 5> kSmithGridValues = {0.2, 0.5, 1.0, 2.0, 5.0};

QString GridNumber(double value, const std::string& separator) {
    return ToQString(FormatTick(value, value < 1.0 ? 1 : 0, separator));
}

// A label whose box is pushed out from `from` along the unit `direction` until its near side is
// `gap` away: the rule of the polar angle labels.
QRectF OutwardBox(QPointF from, QPointF direction, double gap, double width, double height) {
    const double reach = 0.5 * (std::abs(direction.x()) * width + std::abs(direction.y()) * height);
    const QPointF middle = from + direction * (gap + reach);
    return {middle.x() - width / 2.0, middle.y() - height / 2.0, width, height};
}

void LayOutSmith(const PlotDocument& d, bool fixed, const TextMeasure& measure,
                 const std::string& separator, PlotLayout& layout) {
    const QSizeF size = layout.size;
    std::vector<QString> reactanceTexts;
    for (const double x : kSmithGridValues) {
        reactanceTexts.push_back(QStringLiteral("j") + GridNumber(x, separator));
        reactanceTexts.push_back(QChar(kMinusSign) + QStringLiteral("j") +
                                 GridNumber(x, separator));
    }
    const SquareFit fit = FitSquare(
        d, fixed, measure, size,
        [&](const QFont& font) {
            double widest = 0.0;
            for (const QString& text : reactanceTexts) {
                widest = std::max(widest, measure.Width(font, text));
            }
            return widest;
        },
        false);
    layout.shrink = fit.sizing.shrink;
    layout.fonts = fit.sizing.fonts;
    const double blockHeight = fit.titleBlock + fit.diameter + 2.0 * fit.outer;
    const double top = std::max(kPad * layout.shrink, (size.height() - blockHeight) / 2.0);
    layout.titleTop = top;
    const int n = static_cast<int>(std::round(fit.diameter / 2.0)) * 2;
    const int l = static_cast<int>(std::round(size.width() / 2.0 - n / 2.0 - 0.5));
    const int t = static_cast<int>(std::round(top + fit.titleBlock + fit.outer));
    // Γ from -1 to 1 both ways over a square: the read-outs invert it as any rectangular area.
    layout.mapping =
        PlotMapping::Rectangular(l, t, l + n, t + n, {-1.0, 1.0}, {-1.0, 1.0}, {-1.0, 1.0});

    const PlotMapping& m = layout.mapping;
    const auto paint = [&m](std::complex<double> gamma) {
        return PlotMapping::ToPaint({m.XToPixel(gamma.real()), m.YToPixel(gamma.imag(), false)});
    };
    const QPointF centre = paint(0.0);
    const QFont& font = layout.fonts.ticks;
    const double height = measure.Height(font);
    const double gap = (kTickLength + kLabelGap) * layout.shrink;
    SmithGrid& grid = layout.smith;
    grid.resistances.assign(kSmithGridValues.begin(), kSmithGridValues.end());
    for (const double x : kSmithGridValues) {
        grid.reactances.push_back(x);
        grid.reactances.push_back(-x);
    }
    const auto place = [&](QPointF at, QPointF direction, double away, QString text) {
        const double width = measure.Width(font, text);
        grid.labels.push_back({OutwardBox(at, direction, away, width, height), std::move(text)});
    };
    // Resistances just inside their circles' left crossing, above the real axis; 0 and ∞ at
    // the ends of the axis, outside the rim.
    for (const double r : grid.resistances) {
        const QString text = GridNumber(r, separator);
        const double width = measure.Width(font, text);
        const QPointF crossing = paint(SmithPoint(r));
        grid.labels.push_back(
            {QRectF(crossing.x() + 1.0, crossing.y() - height, width, height), text});
    }
    place(paint(-1.0), {-1.0, 0.0}, gap, QStringLiteral("0"));
    place(paint(1.0), {1.0, 0.0}, gap, QString(QChar(0x221E)));
    // Reactances outside the rim where their arcs meet it.
    for (std::size_t i = 0; i < grid.reactances.size(); ++i) {
        const QPointF rim = paint(SmithPoint({0.0, grid.reactances[i]}));
        const QPointF out = rim - centre;
        const double length = std::hypot(out.x(), out.y());
        place(rim, out / length, gap, reactanceTexts[i]);
    }
    if (d.swrCircle >= 1.0) {
        grid.swrRadius = SwrCircle(d.swrCircle).radius;
        const QString text = Shown(d.swrLabel);
        if (!text.isEmpty()) {
            // Below the circle's lowest point, where no other label sits.
            const QPointF bottom = paint({0.0, -grid.swrRadius});
            grid.swrLabel = {QRectF(bottom.x() + 2.0, bottom.y() + 1.0,
                                    measure.Width(layout.fonts.notes, text),
                                    measure.Height(layout.fonts.notes)),
                             text};
        }
    }
}

// The box moved by whole lines, down first when downward, until it covers none of taken and
// stays inside a picture of size: the two ends of a sweep that nearly closes on a Smith chart
// are labelled one above the other. Where no place is free, the box as it was.
QRectF FreeBox(const QRectF& box, bool downward, const std::vector<QRectF>& taken, QSizeF size) {
    const auto free = [&](const QRectF& at) {
        return at.top() >= 0.0 && at.bottom() <= size.height() &&
               std::ranges::none_of(taken,
                                    [&at](const QRectF& other) { return other.intersects(at); });
    };
    const double line = box.height() + 1.0;
    const auto steps = static_cast<int>(size.height() / line) + 1;
    for (int step = 0; step <= steps; ++step) {
        for (const double sign : {downward ? 1.0 : -1.0, downward ? -1.0 : 1.0}) {
            const QRectF moved = box.translated(0.0, sign * step * line);
            if (free(moved)) {
                return moved;
            }
        }
    }
    return box;
}

// The marked points: the text beside its dot, away from the middle of the plotting area (of a
// Smith chart, its centre), kept inside the picture.
void LayOutMarks(const PlotDocument& d, const TextMeasure& measure, PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const QPointF middle = PlotMapping::ToPaint(
        m.IsPolar() ? m.Centre()
                    : QPointF((m.Left() + m.Right()) / 2.0, (m.Top() + m.Bottom()) / 2.0));
    const QFont& font = layout.fonts.notes;
    const double height = measure.Height(font);
    const double pad = kPad * layout.shrink;
    // The legend is laid out first; each label keeps clear of it and of the labels before.
    std::vector<QRectF> taken;
    if (!layout.legend.isEmpty()) {
        taken.push_back(layout.legend);
    }
    for (const PointLabel& label : d.pointLabels) {
        QPointF pixel;
        if (!m.ToPixel(label.x, label.y, d.OnSecondAxis(label.curve), pixel)) {
            continue;
        }
        const QPointF dot = PlotMapping::ToPaint(pixel);
        QPointF out = dot - middle;
        const double length = std::hypot(out.x(), out.y());
        out = length > 1.0 ? out / length : QPointF(std::sqrt(0.5), -std::sqrt(0.5));
        const QString text = Shown(label.text);
        const double width = measure.Width(font, text);
        QRectF box = OutwardBox(dot, out, 4.0 * layout.shrink, width, height);
        box.moveLeft(std::clamp(box.left(), pad, std::max(pad, layout.size.width() - width - pad)));
        box.moveTop(std::clamp(box.top(), pad, std::max(pad, layout.size.height() - height - pad)));
        layout.marks.push_back(
            {dot, {FreeBox(box, out.y() > 0.0, taken, layout.size), text}, label.curve});
        taken.push_back(layout.marks.back().label.box);
    }
}

} // namespace

double PlotLayout::LineWidth(double tenthsOfPoint) const {
    return tenthsOfPoint / 10.0 * kUnitsPerInch / kPointsPerInch * shrink;
}

double PlotLayout::SnapWidth(double width) const {
    if (devicePixelsPerUnit <= 0.0) {
        return width;
    }
    return std::max(1.0, std::round(width));
}

// The legend in a place where it hides the least: inside the plotting area at its top right on
// a rectangular graph, where curves seldom reach their largest values at both ends; on a polar
// one above the title, in room the circle gives up (the corners of a square picture are too
// small for a list of file names).
void LayOutLegend(const PlotDocument& d, const TextMeasure& measure, PlotLayout& layout) {
    const double pad = kPad * layout.shrink;
    const double lineLength = 24.0 * layout.shrink;
    const double height = measure.Height(layout.fonts.legend);
    double widest = 0.0;
    for (std::size_t curve = 0; curve < d.legends.size(); ++curve) {
        const bool drawn = curve == 0 || curve <= d.curves.size();
        if (!drawn || IsBlank(d.legends[curve])) {
            continue;
        }
        LegendRow row;
        row.curve = static_cast<int>(curve);
        row.text = ToQString(d.legends[curve]);
        widest = std::max(widest, measure.Width(layout.fonts.legend, row.text) +
                                      (curve == 0 ? 0.0 : lineLength + pad));
        layout.legendRows.push_back(std::move(row));
    }
    if (layout.legendRows.empty() ||
        (layout.legendRows.size() == 1 && layout.legendRows.front().curve == 0)) {
        layout.legendRows.clear();
        return;
    }
    const QSizeF box(widest + 2.0 * pad, height * double(layout.legendRows.size()) + pad);
    const PlotMapping& m = layout.mapping;
    const QPointF corner = m.IsPolar()
                               ? QPointF(pad, layout.titleTop - box.height() - pad / 2.0)
                               : QPointF(m.Right() + 0.5 - pad - box.width(), m.Top() + 0.5 + pad);
    layout.legend = QRectF(corner, box);
    double top = corner.y() + pad / 2.0;
    for (LegendRow& row : layout.legendRows) {
        double left = corner.x() + pad;
        if (row.curve != 0) {
            row.line = QRectF(left, top, lineLength, height);
            left += lineLength + pad;
        }
        row.textBox = QRectF(left, top, widest, height);
        top += height;
    }
}

PlotLayout LayOutPlot(const PlotDocument& document, QSizeF size, const TextMeasure& measure,
                      const RenderSettings& settings) {
    PlotLayout layout;
    layout.size = size;
    layout.devicePixelsPerUnit = settings.devicePixelsPerUnit;
    const TickWriter writer(measure, settings.decimalSeparator);
    const bool fixed = document.fixedSize && !settings.fillArea;
    if (document.IsPolar()) {
        LayOutPolar(document, fixed, measure, writer, layout);
    } else if (document.IsSmith()) {
        LayOutSmith(document, fixed, measure, settings.decimalSeparator, layout);
    } else {
        LayOutRectangular(document, fixed, measure, writer, layout);
    }
    layout.tickTextHeight = measure.Height(layout.fonts.ticks);
    layout.axisTextHeight = measure.Height(layout.fonts.axis);
    layout.titleHeight = measure.Height(layout.fonts.title);
    layout.subtitleHeight = measure.Height(layout.fonts.subtitles);
    layout.title1 = Shown(document.title1);
    if (document.note && !IsBlank(document.note->text)) {
        const PlotNote& note = *document.note;
        layout.noteText = ToQString(note.text);
        const double width = measure.Width(layout.fonts.notes, layout.noteText);
        const double height = measure.Height(layout.fonts.notes);
        const double pad = kPad * layout.shrink;
        // The corner is kept inside the picture, with the usual margin.
        const double left =
            std::clamp(note.x * size.width(), pad, std::max(pad, size.width() - width - pad));
        const double top = std::clamp((1.0 - note.y) * size.height(), pad,
                                      std::max(pad, size.height() - height - pad));
        layout.note = QRectF(left, top, width, height);
    }
    LayOutLegend(document, measure, layout);
    LayOutMarks(document, measure, layout);
    return layout;
}

} // namespace lobex::plotter
