#include "PlotRenderer.h"

#include "FontResolver.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace lobex::plotter {
namespace {

// Spacing in logical units (1/96 inch).
constexpr double kPad = 6.0;
constexpr double kTickLength = 4.0;
constexpr double kMinorTickLength = 2.0;
constexpr double kLabelGap = 3.0;
constexpr double kPointsPerInch = 72.0;

const QColor kInk(0, 0, 0);
const QColor kTextInk(24, 24, 24);
const QColor kGridSolid(214, 214, 214);
const QColor kGridBroken(150, 150, 150);

QColor ToColor(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Dash patterns in units of the pen width, for line types 2 to 5.
QVector<qreal> DashPattern(int lineType) {
    switch (lineType) {
    case 2:
        return {5.0, 3.0};
    case 3:
        return {1.0, 2.0};
    case 4:
        return {5.0, 2.5, 1.0, 2.5};
    case 5:
        return {5.0, 2.5, 1.0, 2.5, 1.0, 2.5};
    default:
        return {};
    }
}

QPen LinePen(const QColor& color, double width, int lineType) {
    QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (lineType > kLineTypeSolid) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(DashPattern(lineType));
    }
    return pen;
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

// Cohen-Sutherland outcodes for the clip below.
int Outcode(const QPointF& p, const QRectF& r) {
    int code = 0;
    if (p.x() < r.left()) {
        code |= 1;
    } else if (p.x() > r.right()) {
        code |= 2;
    }
    if (p.y() < r.top()) {
        code |= 4;
    } else if (p.y() > r.bottom()) {
        code |= 8;
    }
    return code;
}

bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    int codeA = Outcode(a, r);
    int codeB = Outcode(b, r);
    for (int guard = 0; guard < 8; ++guard) {
        if ((codeA | codeB) == 0) {
            return true;
        }
        if ((codeA & codeB) != 0) {
            return false;
        }
        const int code = codeA != 0 ? codeA : codeB;
        QPointF p;
        const double dx = b.x() - a.x();
        const double dy = b.y() - a.y();
        if ((code & 8) != 0) {
            p = {a.x() + dx * (r.bottom() - a.y()) / dy, r.bottom()};
        } else if ((code & 4) != 0) {
            p = {a.x() + dx * (r.top() - a.y()) / dy, r.top()};
        } else if ((code & 2) != 0) {
            p = {r.right(), a.y() + dy * (r.right() - a.x()) / dx};
        } else {
            p = {r.left(), a.y() + dy * (r.left() - a.x()) / dx};
        }
        if (code == codeA) {
            a = p;
            codeA = Outcode(a, r);
        } else {
            b = p;
            codeB = Outcode(b, r);
        }
    }
    return false;
}

} // namespace

std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& clip) {
    std::vector<QPolygonF> pieces;
    if (line.size() == 1 && clip.contains(line.front())) {
        pieces.push_back(line);
        return pieces;
    }
    QPolygonF current;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        QPointF a = line[i];
        QPointF b = line[i + 1];
        const bool endInside = Outcode(b, clip) == 0;
        if (!ClipSegment(a, b, clip)) {
            if (!current.isEmpty()) {
                pieces.push_back(current);
                current.clear();
            }
            continue;
        }
        if (current.isEmpty() || current.back() != a) {
            if (!current.isEmpty()) {
                pieces.push_back(current);
                current.clear();
            }
            current.push_back(a);
        }
        current.push_back(b);
        if (!endInside) {
            pieces.push_back(current);
            current.clear();
        }
    }
    if (!current.isEmpty()) {
        pieces.push_back(current);
    }
    return pieces;
}

PlotRenderer::PlotRenderer(const PlotDocument& document, QSizeF size, const QPaintDevice& device,
                           const RenderSettings& settings)
    : document_(document), size_(size), device_(device), settings_(settings) {
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    fontFactor_ = kUnitsPerInch / dpi;
    MakeFonts(1.0);
    if (document_.IsPolar()) {
        LayoutPolar();
    } else {
        LayoutRectangular();
    }
}

void PlotRenderer::MakeFonts(double shrink) {
    shrink_ = shrink;
    const auto font = [&](FontElement element) {
        return MakeFont(document_.fonts[static_cast<std::size_t>(element) - 1],
                        fontFactor_ * shrink_);
    };
    fonts_.ticks = font(FontElement::TickLabels);
    fonts_.title = font(FontElement::Title);
    fonts_.subtitles = font(FontElement::Subtitles);
    fonts_.axis = font(FontElement::AxisLabels);
    fonts_.notes = font(FontElement::Notes);
}

double PlotRenderer::TextWidth(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, &device_).horizontalAdvance(text);
}

double PlotRenderer::TextHeight(const QFont& font) const {
    return QFontMetricsF(font, &device_).height();
}

double PlotRenderer::LineWidth(double tenthsOfPoint) const {
    return tenthsOfPoint / 10.0 * kUnitsPerInch / kPointsPerInch * shrink_;
}

double PlotRenderer::SnapWidth(double width) const {
    if (settings_.devicePixelsPerUnit <= 0.0) {
        return width;
    }
    return std::max(1.0, std::round(width));
}

QString PlotRenderer::TickText(double value, int decimals) const {
    QString text = ToQString(FormatTick(value, decimals, settings_.decimalSeparator));
    if (text.startsWith(QLatin1Char('-')) &&
        QFontMetricsF(fonts_.ticks, &device_).inFontUcs4(0x2212)) {
        text.replace(0, 1, QChar(0x2212));
    }
    return text;
}

void PlotRenderer::ChooseRectangularTicks(double plotWidth, double plotHeight) {
    const PlotDocument& d = document_;
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
    const auto range = [](Extent data, const std::optional<double>& lo,
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
        return std::pair{a, b};
    };
    const QFontMetricsF metrics(fonts_.ticks, &device_);
    const auto ticksFor = [&](std::pair<double, double> r, bool log, const TickSetting& setting,
                              double length, bool horizontal) {
        if (setting.intervals > 0 && !log) {
            return DividedTicks(r.first, r.second, setting.intervals,
                                std::max(1, setting.minorDivisions));
        }
        int most = 10;
        if (horizontal) {
            // Room for the widest label of a first guess, and some air between labels.
            const AxisTicks guess = log ? LogTicks(r.first, r.second, 10, true)
                                        : LinearTicks(r.first, r.second, 10, true);
            double widest = 0.0;
            for (const double value : guess.major) {
                widest =
                    std::max(widest, metrics.horizontalAdvance(TickText(value, guess.decimals)));
            }
            most = static_cast<int>(length / (widest + 3.0 * metrics.averageCharWidth() + 1.0));
        } else {
            most = static_cast<int>(length / (metrics.height() * 2.2));
        }
        most = std::clamp(most, 2, 10);
        return log ? LogTicks(r.first, r.second, most, true)
                   : LinearTicks(r.first, r.second, most, true);
    };
    xTicks_ =
        ticksFor(range(x, d.limits.xLo, d.limits.xHi, logX), logX, d.ticks[0], plotWidth, true);
    yTicks_ =
        ticksFor(range(y, d.limits.yLo, d.limits.yHi, logY), logY, d.ticks[1], plotHeight, false);
    secondAxis_ = d.yAxes == 2 && static_cast<int>(d.curves.size()) >= d.firstCurveOnY2;
    if (secondAxis_) {
        y2Ticks_ = ticksFor(range(y2, d.limits.y2Lo, d.limits.y2Hi, logY), logY, d.ticks[2],
                            plotHeight, false);
    }
}

void PlotRenderer::LayoutRectangular() {
    const PlotDocument& d = document_;
    const bool logX = IsLogX(d.scaleCode);
    const bool logY = IsLogY(d.scaleCode);
    double plotWidth = size_.width() * 0.75;
    double plotHeight = size_.height() * 0.7;
    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (int pass = 0; pass < 3; ++pass) {
            ChooseRectangularTicks(plotWidth, plotHeight);
            const double tickHeight = TextHeight(fonts_.ticks);
            const double axisHeight = TextHeight(fonts_.axis);
            const auto widest = [&](const AxisTicks& ticks) {
                double w = 0.0;
                for (const double value : ticks.major) {
                    w = std::max(w, TextWidth(fonts_.ticks, TickText(value, ticks.decimals)));
                }
                return w;
            };
            double titleBlock = 0.0;
            if (!IsBlank(d.title1)) {
                titleBlock += TextHeight(fonts_.title) + kLabelGap;
            }
            for (const std::string* subtitle : {&d.title2, &d.title3}) {
                if (!IsBlank(*subtitle)) {
                    titleBlock += TextHeight(fonts_.subtitles);
                }
            }
            const double s = shrink_;
            left = kPad * s + (IsBlank(d.yLabel) ? 0.0 : axisHeight + kLabelGap * s) +
                   widest(yTicks_) + (kLabelGap + kTickLength) * s;
            if (secondAxis_) {
                right = (kTickLength + kLabelGap + kPad) * s + widest(y2Ticks_) +
                        (IsBlank(d.y2Label) ? 0.0 : axisHeight + kLabelGap * s);
            } else {
                const QString last = xTicks_.major.empty()
                                         ? QString()
                                         : TickText(xTicks_.major.back(), xTicks_.decimals);
                right = std::max(kPad * s, TextWidth(fonts_.ticks, last) / 2.0 + 2.0 * s);
            }
            top = kPad * s + titleBlock + tickHeight / 2.0;
            bottom = (kTickLength + kLabelGap + kPad) * s + tickHeight +
                     (IsBlank(d.xLabel) ? 0.0 : kLabelGap * s + axisHeight);
            if (d.fixedSize) {
                plotWidth = d.fixedWidth * kUnitsPerInch * shrink_;
                plotHeight = d.fixedHeight * kUnitsPerInch * shrink_;
            } else {
                plotWidth = std::max(8.0, size_.width() - left - right);
                plotHeight = std::max(8.0, size_.height() - top - bottom);
            }
        }
        const double needWidth = left + plotWidth + right;
        const double needHeight = top + plotHeight + bottom;
        if (!d.fixedSize ||
            (needWidth <= size_.width() + 0.5 && needHeight <= size_.height() + 0.5)) {
            break;
        }
        MakeFonts(shrink_ * std::min(size_.width() / needWidth, size_.height() / needHeight));
    }
    double originX = 0.0;
    double originY = 0.0;
    if (d.fixedSize) {
        originX = std::max(0.0, (size_.width() - left - plotWidth - right) / 2.0);
        originY = std::max(0.0, (size_.height() - top - plotHeight - bottom) / 2.0);
    }
    const int l = static_cast<int>(std::ceil(originX + left));
    const int t = static_cast<int>(std::ceil(originY + top));
    const int r = std::max(l + 2, static_cast<int>(std::floor(originX + left + plotWidth)));
    const int b = std::max(t + 2, static_cast<int>(std::floor(originY + top + plotHeight)));
    titleTop_ = originY + kPad * shrink_;
    mapping_ =
        PlotMapping::Rectangular(l, t, r, b, {xTicks_.lo, xTicks_.hi, logX},
                                 {yTicks_.lo, yTicks_.hi, logY}, {y2Ticks_.lo, y2Ticks_.hi, logY});
}

void PlotRenderer::LayoutPolar() {
    const PlotDocument& d = document_;
    const bool degrees = d.scaleCode == kScalePolarDegrees;
    const double turn = degrees ? 360.0 : 2.0 * std::numbers::pi;
    const double angleLo = d.limits.xLo.value_or(0.0);
    double angleHi = d.limits.xHi.value_or(angleLo + turn);
    if (!(angleHi > angleLo)) {
        angleHi = angleLo + turn;
    }
    const TickSetting angular = d.ticks[0];
    xTicks_ = DividedTicks(angleLo, angleHi, angular.intervals > 0 ? angular.intervals : 12,
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
    yTicks_ = radial.intervals > 0 ? DividedTicks(radiusLo, radiusHi, radial.intervals, 1)
                                   : LinearTicks(radiusLo, radiusHi, 5, false);

    double diameter = 0.0;
    double outer = 0.0;
    double titleBlock = 0.0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        double widest = 0.0;
        for (const double value : xTicks_.major) {
            widest = std::max(widest, TextWidth(fonts_.ticks, TickText(value, xTicks_.decimals)));
        }
        const double tickHeight = TextHeight(fonts_.ticks);
        outer = (kTickLength + kLabelGap) * shrink_ + std::max(widest, tickHeight);
        titleBlock = IsBlank(d.title1) ? 0.0 : TextHeight(fonts_.title) + kLabelGap * shrink_;
        const double padding = 2.0 * kPad * shrink_;
        if (!d.fixedSize) {
            diameter = std::min(size_.width() - 2.0 * outer - padding,
                                size_.height() - titleBlock - 2.0 * outer - padding);
            break;
        }
        // A fixed size that does not fit is drawn smaller, its fonts with it.
        diameter = std::min(d.fixedWidth, d.fixedHeight) * kUnitsPerInch * shrink_;
        const double needWidth = diameter + 2.0 * outer + padding;
        const double needHeight = titleBlock + diameter + 2.0 * outer + padding;
        if (needWidth <= size_.width() + 0.5 && needHeight <= size_.height() + 0.5) {
            break;
        }
        MakeFonts(shrink_ * std::min(size_.width() / needWidth, size_.height() / needHeight));
        diameter *= std::min(size_.width() / needWidth, size_.height() / needHeight);
    }
    diameter = std::max(8.0, diameter);
    // Labels must not crowd: take every n-th when the circle is small for them.
    const double circumference = std::numbers::pi * (diameter + outer);
    double widest = 0.0;
    for (const double value : xTicks_.major) {
        widest = std::max(widest, TextWidth(fonts_.ticks, TickText(value, xTicks_.decimals)));
    }
    const std::size_t labels = std::max<std::size_t>(1, xTicks_.major.size() - 1);
    angleLabelStride_ = 1;
    while (angleLabelStride_ < static_cast<int>(labels) &&
           circumference / (static_cast<double>(labels) / angleLabelStride_) <
               widest + 4.0 * shrink_) {
        ++angleLabelStride_;
    }

    const double blockHeight = titleBlock + diameter + 2.0 * outer;
    const double top = std::max(kPad * shrink_, (size_.height() - blockHeight) / 2.0);
    titleTop_ = top;
    const QPointF centre(size_.width() / 2.0, top + titleBlock + outer + diameter / 2.0);
    const int n = static_cast<int>(std::round(diameter));
    // The read-out puts the centre at (left + right + 3) / 2 in pixel coordinates, which the
    // painter draws half a pixel further on: place the square so that this lands on `centre`.
    const int l = static_cast<int>(std::round(centre.x() - n / 2.0 - 2.0));
    const int t = static_cast<int>(std::round(centre.y() - n / 2.0 - 2.0));
    mapping_ = PlotMapping::Polar(l, t, l + n, t + n, angleLo, angleHi, degrees, radiusLo, radiusHi,
                                  d.polarStyle);
}

void PlotRenderer::Paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
    if (document_.IsPolar()) {
        PaintPolarGrid(painter);
        PaintCurves(painter);
        PaintPolarFrame(painter);
        PaintPolarLabels(painter);
    } else {
        PaintGrid(painter);
        PaintCurves(painter);
        PaintFrame(painter);
        PaintTickLabels(painter);
        PaintAxisLabels(painter);
    }
    PaintTitles(painter);
    PaintNote(painter);
    painter.restore();
}

void PlotRenderer::PaintGrid(QPainter& painter) const {
    const PlotDocument& d = document_;
    if (d.gridKind == 0 || d.gridLineType == kLineTypeNone) {
        return;
    }
    const PlotMapping& m = mapping_;
    const QColor color = d.gridLineType == kLineTypeSolid ? kGridSolid : kGridBroken;
    painter.setPen(LinePen(color, SnapWidth(LineWidth(7.5)), d.gridLineType));
    const auto vertical = [&](double value) {
        const double column = std::round(m.XToPixel(value));
        if (column > m.Left() && column < m.Right()) {
            painter.drawLine(PlotMapping::ToPaint({column, double(m.Top())}),
                             PlotMapping::ToPaint({column, double(m.Bottom())}));
        }
    };
    const auto horizontal = [&](double value) {
        const double row = std::round(m.YToPixel(value, false));
        if (row > m.Top() && row < m.Bottom()) {
            painter.drawLine(PlotMapping::ToPaint({double(m.Left()), row}),
                             PlotMapping::ToPaint({double(m.Right()), row}));
        }
    };
    for (const double value : xTicks_.major) {
        vertical(value);
    }
    for (const double value : yTicks_.major) {
        horizontal(value);
    }
    if (d.gridKind == 2) {
        for (const double value : xTicks_.minor) {
            vertical(value);
        }
        for (const double value : yTicks_.minor) {
            horizontal(value);
        }
    }
}

void PlotRenderer::PaintCurves(QPainter& painter) const {
    const PlotDocument& d = document_;
    const PlotMapping& m = mapping_;
    QRectF clip;
    if (m.IsPolar()) {
        const QPointF centre = PlotMapping::ToPaint(m.Centre());
        const double radius = m.Radius() + 1.0;
        clip = QRectF(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius);
    } else {
        clip = QRectF(PlotMapping::ToPaint({double(m.Left()), double(m.Top())}),
                      PlotMapping::ToPaint({double(m.Right()), double(m.Bottom())}));
    }
    painter.setBrush(Qt::NoBrush);
    for (std::size_t c = 0; c < d.curves.size(); ++c) {
        const int number = static_cast<int>(c) + 1;
        const CurveStyle& style = d.StyleOf(number);
        if (style.lineType == kLineTypeNone) {
            continue;
        }
        painter.setPen(LinePen(ToColor(style.color), LineWidth(style.width), style.lineType));
        const bool second = d.OnSecondAxis(number);
        const PlotCurve& curve = d.curves[c];
        QPolygonF run;
        const auto flush = [&] {
            for (const QPolygonF& piece : ClipPolyline(run, clip)) {
                if (piece.size() == 1) {
                    painter.drawPoint(piece.front());
                } else {
                    painter.drawPolyline(piece);
                }
            }
            run.clear();
        };
        const std::size_t count = std::min(curve.x.size(), curve.y.size());
        run.reserve(static_cast<qsizetype>(count));
        for (std::size_t i = 0; i < count; ++i) {
            QPointF pixel;
            if (m.ToPixel(curve.x[i], curve.y[i], second, pixel)) {
                run.push_back(PlotMapping::ToPaint(pixel));
            } else {
                flush();
            }
        }
        flush();
    }
}

void PlotRenderer::PaintFrame(QPainter& painter) const {
    const PlotMapping& m = mapping_;
    const double width = SnapWidth(LineWidth(document_.frameWidth));
    QPen pen(kInk, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF topLeft = PlotMapping::ToPaint({double(m.Left()), double(m.Top())});
    const QPointF bottomRight = PlotMapping::ToPaint({double(m.Right()), double(m.Bottom())});
    painter.drawRect(QRectF(topLeft, bottomRight));
    const double major = kTickLength * shrink_;
    const double minor = kMinorTickLength * shrink_;
    const auto xTick = [&](double value, double length) {
        const double column = std::round(m.XToPixel(value));
        if (column >= m.Left() && column <= m.Right()) {
            const QPointF base = PlotMapping::ToPaint({column, double(m.Bottom())});
            painter.drawLine(base, base + QPointF(0.0, length));
        }
    };
    const auto yTick = [&](double value, bool second, double length) {
        const double row = std::round(m.YToPixel(value, second));
        if (row >= m.Top() && row <= m.Bottom()) {
            const QPointF base = PlotMapping::ToPaint({double(second ? m.Right() : m.Left()), row});
            painter.drawLine(base, base + QPointF(second ? length : -length, 0.0));
        }
    };
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const double value : xTicks_.major) {
        xTick(value, major);
    }
    for (const double value : xTicks_.minor) {
        xTick(value, minor);
    }
    for (const double value : yTicks_.major) {
        yTick(value, false, major);
    }
    for (const double value : yTicks_.minor) {
        yTick(value, false, minor);
    }
    if (secondAxis_) {
        for (const double value : y2Ticks_.major) {
            yTick(value, true, major);
        }
        for (const double value : y2Ticks_.minor) {
            yTick(value, true, minor);
        }
    }
}

void PlotRenderer::PaintTickLabels(QPainter& painter) const {
    const PlotMapping& m = mapping_;
    painter.setFont(fonts_.ticks);
    painter.setPen(kTextInk);
    const QFontMetricsF metrics(fonts_.ticks, &device_);
    const double height = metrics.height();
    const double offset = (kTickLength + kLabelGap) * shrink_;
    constexpr double kWide = 1000.0;
    const int flags = Qt::TextDontClip | Qt::TextSingleLine;
    for (const double value : xTicks_.major) {
        const double x = PlotMapping::ToPaint({m.XToPixel(value), 0.0}).x();
        const QRectF box(x - kWide / 2.0, m.Bottom() + 0.5 + offset, kWide, height);
        painter.drawText(box, flags | Qt::AlignHCenter | Qt::AlignTop,
                         TickText(value, xTicks_.decimals));
    }
    const auto yLabels = [&](const AxisTicks& ticks, bool second) {
        for (const double value : ticks.major) {
            const double y = PlotMapping::ToPaint({0.0, m.YToPixel(value, second)}).y();
            const QString text = TickText(value, ticks.decimals);
            if (second) {
                const QRectF box(m.Right() + 0.5 + offset, y - height / 2.0, kWide, height);
                painter.drawText(box, flags | Qt::AlignLeft | Qt::AlignVCenter, text);
            } else {
                const QRectF box(m.Left() + 0.5 - offset - kWide, y - height / 2.0, kWide, height);
                painter.drawText(box, flags | Qt::AlignRight | Qt::AlignVCenter, text);
            }
        }
    };
    yLabels(yTicks_, false);
    if (secondAxis_) {
        yLabels(y2Ticks_, true);
    }
}

void PlotRenderer::PaintAxisLabels(QPainter& painter) const {
    const PlotDocument& d = document_;
    const PlotMapping& m = mapping_;
    painter.setFont(fonts_.axis);
    const double tickHeight = TextHeight(fonts_.ticks);
    const double axisHeight = TextHeight(fonts_.axis);
    constexpr double kWide = 2000.0;
    const int flags = Qt::TextDontClip | Qt::TextSingleLine;
    const double centreX = (m.Left() + m.Right()) / 2.0 + 0.5;
    const double centreY = (m.Top() + m.Bottom()) / 2.0 + 0.5;
    if (!IsBlank(d.xLabel)) {
        painter.setPen(kTextInk);
        const double top =
            m.Bottom() + 0.5 + (kTickLength + 2.0 * kLabelGap) * shrink_ + tickHeight;
        painter.drawText(QRectF(centreX - kWide / 2.0, top, kWide, axisHeight),
                         flags | Qt::AlignHCenter | Qt::AlignTop, ToQString(d.xLabel));
    }
    // With two Y axes each label takes the colour of its curve, so the axes tell themselves
    // apart.
    const auto vertical = [&](const std::string& text, double left, const QColor& color) {
        painter.save();
        painter.setPen(color);
        painter.translate(left, centreY);
        painter.rotate(-90.0);
        painter.drawText(QRectF(-kWide / 2.0, 0.0, kWide, axisHeight),
                         flags | Qt::AlignHCenter | Qt::AlignTop, ToQString(text));
        painter.restore();
    };
    if (!IsBlank(d.yLabel)) {
        vertical(d.yLabel, kPad * shrink_, secondAxis_ ? ToColor(d.StyleOf(1).color) : kTextInk);
    }
    if (secondAxis_ && !IsBlank(d.y2Label)) {
        double widest = 0.0;
        for (const double value : y2Ticks_.major) {
            widest = std::max(widest, TextWidth(fonts_.ticks, TickText(value, y2Ticks_.decimals)));
        }
        const double left = m.Right() + 0.5 + (kTickLength + 2.0 * kLabelGap) * shrink_ + widest;
        vertical(d.y2Label, left, ToColor(d.StyleOf(d.firstCurveOnY2).color));
    }
}

void PlotRenderer::PaintPolarGrid(QPainter& painter) const {
    const PlotDocument& d = document_;
    if (d.gridKind == 0 || d.gridLineType == kLineTypeNone) {
        return;
    }
    const PlotMapping& m = mapping_;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    const QColor color = d.gridLineType == kLineTypeSolid ? kGridSolid : kGridBroken;
    painter.setPen(LinePen(color, LineWidth(7.5), d.gridLineType));
    painter.setBrush(Qt::NoBrush);
    const double radius = m.Radius();
    const double span = m.Y().hi - m.Y().lo;
    for (const double value : yTicks_.major) {
        const double r = (value - m.Y().lo) / span * radius;
        if (r > 0.5 && r < radius - 0.5) {
            painter.drawEllipse(centre, r, r);
        }
    }
    // Many spokes would blacken the centre: only those of the quarters reach it, the others
    // start at the first ring.
    double inner = 0.0;
    for (const double value : yTicks_.major) {
        const double r = (value - m.Y().lo) / span * radius;
        if (r > 0.5) {
            inner = r;
            break;
        }
    }
    const double full = m.Degrees() ? 360.0 : 2.0 * std::numbers::pi;
    const double quarter = full / 4.0;
    for (std::size_t i = 0; i < xTicks_.major.size(); ++i) {
        const double angle = xTicks_.major[i];
        if (i + 1 == xTicks_.major.size() &&
            std::abs(angle - xTicks_.major.front() - full) < 1e-9 * full) {
            break; // the end of a full turn is its start again
        }
        const double turns = angle / quarter;
        const bool cardinal = std::abs(turns - std::round(turns)) < 1e-9;
        const QPointF direction = m.Direction(angle);
        const double start = cardinal || xTicks_.major.size() <= 13 ? 0.0 : inner;
        painter.drawLine(centre + direction * start, centre + direction * radius);
    }
}

void PlotRenderer::PaintPolarFrame(QPainter& painter) const {
    const PlotMapping& m = mapping_;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    const double radius = m.Radius();
    QPen pen(kInk, LineWidth(document_.frameWidth), Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    const auto tick = [&](double angle, double length) {
        const QPointF direction = m.Direction(angle);
        painter.drawLine(centre + direction * radius, centre + direction * (radius + length));
    };
    for (const double angle : xTicks_.major) {
        tick(angle, kTickLength * shrink_);
    }
    pen.setWidthF(pen.widthF() * 0.75);
    painter.setPen(pen);
    for (const double angle : xTicks_.minor) {
        tick(angle, kMinorTickLength * shrink_);
    }
}

void PlotRenderer::PaintPolarLabels(QPainter& painter) const {
    const PlotMapping& m = mapping_;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    const double distance = m.Radius() + (kTickLength + kLabelGap) * shrink_;
    painter.setFont(fonts_.ticks);
    painter.setPen(kTextInk);
    const QFontMetricsF metrics(fonts_.ticks, &device_);
    const double full = m.Degrees() ? 360.0 : 2.0 * std::numbers::pi;
    for (std::size_t i = 0; i < xTicks_.major.size(); ++i) {
        const double angle = xTicks_.major[i];
        if (i + 1 == xTicks_.major.size() &&
            std::abs(angle - xTicks_.major.front() - full) < 1e-9 * full) {
            break;
        }
        if (i % static_cast<std::size_t>(angleLabelStride_) != 0) {
            continue;
        }
        const QString text = TickText(angle, xTicks_.decimals);
        const double width = metrics.horizontalAdvance(text);
        const double height = metrics.height();
        const QPointF direction = m.Direction(angle);
        // Push the label's box out along the direction until its near side clears the circle.
        const double reach =
            0.5 * (std::abs(direction.x()) * width + std::abs(direction.y()) * height);
        const QPointF middle = centre + direction * (distance + reach);
        painter.drawText(QRectF(middle.x() - width / 2.0, middle.y() - height / 2.0, width, height),
                         Qt::AlignCenter | Qt::TextDontClip | Qt::TextSingleLine, text);
    }
}

void PlotRenderer::PaintTitles(QPainter& painter) const {
    const PlotDocument& d = document_;
    const PlotMapping& m = mapping_;
    const double centreX =
        m.IsPolar() ? PlotMapping::ToPaint(m.Centre()).x() : (m.Left() + m.Right()) / 2.0 + 0.5;
    constexpr double kWide = 4000.0;
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    double top = titleTop_;
    painter.setPen(kTextInk);
    if (!IsBlank(d.title1)) {
        const double height = TextHeight(fonts_.title);
        painter.setFont(fonts_.title);
        painter.drawText(QRectF(centreX - kWide / 2.0, top, kWide, height), flags,
                         ToQString(d.title1));
        top += height + kLabelGap * shrink_;
    }
    if (m.IsPolar()) {
        return; // subtitles would collide with the angle labels
    }
    painter.setFont(fonts_.subtitles);
    for (const std::string* subtitle : {&d.title2, &d.title3}) {
        if (!IsBlank(*subtitle)) {
            const double height = TextHeight(fonts_.subtitles);
            painter.drawText(QRectF(centreX - kWide / 2.0, top, kWide, height), flags,
                             ToQString(*subtitle));
            top += height;
        }
    }
}

void PlotRenderer::PaintNote(QPainter& painter) const {
    if (!document_.note || IsBlank(document_.note->text)) {
        return;
    }
    const PlotNote& note = *document_.note;
    const QString text = ToQString(note.text);
    const QFontMetricsF metrics(fonts_.notes, &device_);
    const double width = metrics.horizontalAdvance(text);
    const double height = metrics.height();
    const double pad = kPad * shrink_;
    // The corner is kept inside the picture, with the usual margin.
    const double left =
        std::clamp(note.x * size_.width(), pad, std::max(pad, size_.width() - width - pad));
    const double top = std::clamp((1.0 - note.y) * size_.height(), pad,
                                  std::max(pad, size_.height() - height - pad));
    painter.setFont(fonts_.notes);
    painter.setPen(kTextInk);
    painter.drawText(QRectF(left, top, width, height),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, text);
}

} // namespace lobex::plotter
