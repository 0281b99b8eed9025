#include "PlotRenderer.h"

#include "PolylineClip.h"
#include "TextMeasure.h"
#include "model/SmithChart.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace lobex::plotter {
namespace {

const QColor kInk(0, 0, 0);
const QColor kTextInk(24, 24, 24);
const QColor kGridSolid(214, 214, 214);
const QColor kGridBroken(150, 150, 150);
const QColor kSwrCircle(0, 128, 0);

// Text boxes wider than any label, so that alignment alone places it.
constexpr double kWideLabel = 1000.0;
constexpr double kWideAxisLabel = 2000.0;
constexpr double kWideTitle = 4000.0;
constexpr int kOneLine = Qt::TextDontClip | Qt::TextSingleLine;

QColor ToColor(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
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

bool HasGrid(const PlotDocument& d) {
    return d.gridKind != 0 && d.gridLineType != kLineTypeNone;
}

QColor GridColor(const PlotDocument& d) {
    return d.gridLineType == kLineTypeSolid ? kGridSolid : kGridBroken;
}

QPointF PaintCorner(int column, int row) {
    return PlotMapping::ToPaint({double(column), double(row)});
}

void PaintGrid(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    if (!HasGrid(d)) {
        return;
    }
    const PlotMapping& m = layout.mapping;
    painter.setPen(LinePen(GridColor(d), layout.SnapWidth(layout.LineWidth(7.5)), d.gridLineType));
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
    std::ranges::for_each(layout.x.ticks.major, vertical);
    std::ranges::for_each(layout.y.ticks.major, horizontal);
    if (d.gridKind == 2) {
        std::ranges::for_each(layout.x.ticks.minor, vertical);
        std::ranges::for_each(layout.y.ticks.minor, horizontal);
    }
}

// A turn sharper than this gets a dot at its vertex when a line is drawn in straight pieces:
// below it the sliver a round join adds stays under a fortieth of a pixel deep at the widest
// line (2.5 points).
const double kSharpTurnCos = std::cos(20.0 * std::numbers::pi / 180.0);

bool SharpTurn(QPointF in, QPointF out) {
    const double lengths = std::hypot(in.x(), in.y()) * std::hypot(out.x(), out.y());
    return lengths > 0.0 && QPointF::dotProduct(in, out) < kSharpTurnCos * lengths;
}

// The pieces of a line that its dash pattern (in units of the width) draws, continued across
// the vertices as the pen's own dashes are, starting with a dash.
std::vector<QPolygonF> DashPieces(const QPolygonF& line, const QVector<qreal>& pattern,
                                  double width) {
    std::vector<QPolygonF> pieces;
    qsizetype dash = 0;
    double left = pattern[0] * width;
    bool drawing = true;
    QPolygonF piece{line.front()};
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF from = line[i - 1];
        const QPointF step = line[i] - from;
        const double length = std::hypot(step.x(), step.y());
        double done = 0.0;
        while (length - done > left) {
            done += left;
            const QPointF end = from + step * (done / length);
            if (drawing) {
                piece.push_back(end);
                pieces.push_back(std::move(piece));
            }
            piece = QPolygonF{end};
            drawing = !drawing;
            dash = (dash + 1) % pattern.size();
            left = pattern[dash] * width;
        }
        left -= length - done;
        if (drawing) {
            piece.push_back(line[i]);
        }
    }
    if (drawing && piece.size() > 1) {
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

// Strokes a line of the raster picture as flat-capped straight pieces, with a dot where it
// turns sharply and, for a solid line, at its ends. Qt's raster engine scan-converts such
// pieces directly, several times faster than it strokes a polyline with round joins (whose
// outline goes through the general path filler); the picture differs only at the edges'
// antialiasing. False where the painter's transform or a hairline width leaves Qt's own
// stroke as fast.
bool DrawInPieces(QPainter& painter, const QPolygonF& line, const QPen& pen) {
    const QTransform transform = painter.transform();
    const double scale = transform.m11();
    const double width = pen.widthF() * scale;
    if (transform.type() > QTransform::TxScale || scale != transform.m22() || width <= 1.0) {
        return false;
    }
    const QPolygonF device = transform.map(line);
    const bool solid = pen.style() == Qt::SolidLine;
    const std::vector<QPolygonF> pieces =
        solid ? std::vector<QPolygonF>{device} : DashPieces(device, pen.dashPattern(), width);
    // Two antialiased pieces that only abut let the background show through their seam; each
    // piece after a piece's first reaches back over the one before by about a third of a pixel
    // (more for wide lines), which keeps the line's ink within 3 % of the joined stroke's.
    const double overlap = 0.25 + 0.06 * width;
    QVector<QLineF> segments;
    QPolygonF dots;
    for (const QPolygonF& piece : pieces) {
        bool first = true;
        for (qsizetype i = 1; i < piece.size(); ++i) {
            const QPointF step = piece[i] - piece[i - 1];
            const double length = std::hypot(step.x(), step.y());
            if (length == 0.0) {
                continue;
            }
            const QPointF back = first ? QPointF() : step * (overlap / length);
            segments.push_back(QLineF(piece[i - 1] - back, piece[i]));
            first = false;
            if (i + 1 < piece.size() && SharpTurn(step, piece[i + 1] - piece[i])) {
                dots.push_back(piece[i]);
            }
        }
    }
    if (solid) {
        dots.push_back(device.front());
        dots.push_back(device.back());
    }
    painter.save();
    painter.resetTransform();
    QPen flat = pen;
    flat.setWidthF(width);
    flat.setStyle(Qt::SolidLine);
    flat.setCapStyle(Qt::FlatCap);
    painter.setPen(flat);
    painter.drawLines(segments);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pen.color());
    for (const QPointF& dot : dots) {
        painter.drawEllipse(dot, width / 2.0, width / 2.0);
    }
    painter.restore();
    return true;
}

void PaintCurves(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    QRectF clip;
    if (m.IsPolar()) {
        const QPointF centre = PlotMapping::ToPaint(m.Centre());
        const double radius = m.Radius() + 1.0;
        clip = QRectF(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius);
    } else {
        clip = QRectF(PaintCorner(m.Left(), m.Top()), PaintCorner(m.Right(), m.Bottom()));
    }
    painter.setBrush(Qt::NoBrush);
    const bool inPieces = d.fastLines && painter.paintEngine()->type() == QPaintEngine::Raster;
    for (std::size_t c = 0; c < d.curves.size(); ++c) {
        const int number = static_cast<int>(c) + 1;
        const CurveStyle& style = d.StyleOf(number);
        if (style.lineType == kLineTypeNone) {
            continue;
        }
        const QPen pen =
            LinePen(ToColor(style.color), layout.LineWidth(style.width), style.lineType);
        painter.setPen(pen);
        const bool second = d.OnSecondAxis(number);
        const PlotCurve& curve = d.curves[c];
        QPolygonF run;
        const auto flush = [&] {
            for (const QPolygonF& piece : ClipPolyline(run, clip)) {
                if (piece.size() == 1) {
                    painter.drawPoint(piece.front());
                } else if (!inPieces || !DrawInPieces(painter, piece, pen)) {
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

void PaintFrame(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const double width = layout.SnapWidth(layout.LineWidth(d.frameWidth));
    QPen pen(kInk, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(PaintCorner(m.Left(), m.Top()), PaintCorner(m.Right(), m.Bottom())));
    const double major = kTickLength * layout.shrink;
    const double minor = kMinorTickLength * layout.shrink;
    const auto xTicks = [&](const std::vector<double>& values, double length) {
        for (const double value : values) {
            const double column = std::round(m.XToPixel(value));
            if (column >= m.Left() && column <= m.Right()) {
                const QPointF base = PlotMapping::ToPaint({column, double(m.Bottom())});
                painter.drawLine(base, base + QPointF(0.0, length));
            }
        }
    };
    const auto yTicks = [&](const std::vector<double>& values, bool second, double length) {
        for (const double value : values) {
            const double row = std::round(m.YToPixel(value, second));
            if (row >= m.Top() && row <= m.Bottom()) {
                const QPointF base =
                    PlotMapping::ToPaint({double(second ? m.Right() : m.Left()), row});
                painter.drawLine(base, base + QPointF(second ? length : -length, 0.0));
            }
        }
    };
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    xTicks(layout.x.ticks.major, major);
    xTicks(layout.x.ticks.minor, minor);
    yTicks(layout.y.ticks.major, false, major);
    yTicks(layout.y.ticks.minor, false, minor);
    if (layout.secondAxis) {
        yTicks(layout.y2.ticks.major, true, major);
        yTicks(layout.y2.ticks.minor, true, minor);
    }
}

void PaintTickLabels(QPainter& painter, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    painter.setFont(layout.fonts.ticks);
    painter.setPen(kTextInk);
    const double height = layout.tickTextHeight;
    const double offset = (kTickLength + kLabelGap) * layout.shrink;
    for (const TickLabel& label : layout.x.labels) {
        const double x = PlotMapping::ToPaint({m.XToPixel(label.value), 0.0}).x();
        const QRectF box(x - kWideLabel / 2.0, m.Bottom() + 0.5 + offset, kWideLabel, height);
        painter.drawText(box, kOneLine | Qt::AlignHCenter | Qt::AlignTop, label.text);
    }
    const auto yLabels = [&](const AxisLayout& axis, bool second) {
        for (const TickLabel& label : axis.labels) {
            const double y = PlotMapping::ToPaint({0.0, m.YToPixel(label.value, second)}).y();
            if (second) {
                const QRectF box(m.Right() + 0.5 + offset, y - height / 2.0, kWideLabel, height);
                painter.drawText(box, kOneLine | Qt::AlignLeft | Qt::AlignVCenter, label.text);
            } else {
                const QRectF box(m.Left() + 0.5 - offset - kWideLabel, y - height / 2.0, kWideLabel,
                                 height);
                painter.drawText(box, kOneLine | Qt::AlignRight | Qt::AlignVCenter, label.text);
            }
        }
    };
    yLabels(layout.y, false);
    if (layout.secondAxis) {
        yLabels(layout.y2, true);
    }
}

void PaintAxisLabels(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    painter.setFont(layout.fonts.axis);
    const double axisHeight = layout.axisTextHeight;
    const double centreX = (m.Left() + m.Right()) / 2.0 + 0.5;
    const double centreY = (m.Top() + m.Bottom()) / 2.0 + 0.5;
    if (!layout.xLabel.isEmpty()) {
        painter.setPen(kTextInk);
        const double top = m.Bottom() + 0.5 + (kTickLength + 2.0 * kLabelGap) * layout.shrink +
                           layout.tickTextHeight;
        painter.drawText(QRectF(centreX - kWideAxisLabel / 2.0, top, kWideAxisLabel, axisHeight),
                         kOneLine | Qt::AlignHCenter | Qt::AlignTop, layout.xLabel);
    }
    // With two Y axes each label takes the colour of its curve, so the axes tell themselves
    // apart.
    const auto vertical = [&](const QString& text, double left, const QColor& color) {
        painter.save();
        painter.setPen(color);
        painter.translate(left, centreY);
        painter.rotate(-90.0);
        painter.drawText(QRectF(-kWideAxisLabel / 2.0, 0.0, kWideAxisLabel, axisHeight),
                         kOneLine | Qt::AlignHCenter | Qt::AlignTop, text);
        painter.restore();
    };
    if (!layout.yLabel.isEmpty()) {
        vertical(layout.yLabel, kPad * layout.shrink,
                 layout.secondAxis ? ToColor(d.StyleOf(1).color) : kTextInk);
    }
    if (!layout.y2Label.isEmpty()) {
        const double left = m.Right() + 0.5 + (kTickLength + 2.0 * kLabelGap) * layout.shrink +
                            layout.y2.widestLabel;
        vertical(layout.y2Label, left, ToColor(d.StyleOf(d.firstCurveOnY2).color));
    }
}

// The angles that get a spoke and a label: the end of a full turn is its start again.
std::size_t DistinctAngles(const PlotLayout& layout) {
    const std::vector<double>& angles = layout.x.ticks.major;
    const double full = layout.mapping.Degrees() ? 360.0 : 2.0 * std::numbers::pi;
    if (!angles.empty() && std::abs(angles.back() - angles.front() - full) < 1e-9 * full) {
        return angles.size() - 1;
    }
    return angles.size();
}

void PaintPolarGrid(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    if (!HasGrid(d)) {
        return;
    }
    const PlotMapping& m = layout.mapping;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    painter.setPen(LinePen(GridColor(d), layout.LineWidth(7.5), d.gridLineType));
    painter.setBrush(Qt::NoBrush);
    const double radius = m.Radius();
    const double span = m.Y().hi - m.Y().lo;
    for (const double value : layout.y.ticks.major) {
        const double r = (value - m.Y().lo) / span * radius;
        if (r > 0.5 && r < radius - 0.5) {
            painter.drawEllipse(centre, r, r);
        }
    }
    // Many spokes would blacken the centre: only those of the quarters reach it, the others
    // start at the first ring.
    double inner = 0.0;
    for (const double value : layout.y.ticks.major) {
        const double r = (value - m.Y().lo) / span * radius;
        if (r > 0.5) {
            inner = r;
            break;
        }
    }
    const double quarter = (m.Degrees() ? 360.0 : 2.0 * std::numbers::pi) / 4.0;
    const std::vector<double>& angles = layout.x.ticks.major;
    for (std::size_t i = 0; i < DistinctAngles(layout); ++i) {
        const double turns = angles[i] / quarter;
        const bool cardinal = std::abs(turns - std::round(turns)) < 1e-9;
        const QPointF direction = m.Direction(angles[i]);
        const double start = cardinal || angles.size() <= 13 ? 0.0 : inner;
        painter.drawLine(centre + direction * start, centre + direction * radius);
    }
}

void PaintPolarFrame(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    const double radius = m.Radius();
    QPen pen(kInk, layout.LineWidth(d.frameWidth), Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    const auto ticks = [&](const std::vector<double>& angles, double length) {
        for (const double angle : angles) {
            const QPointF direction = m.Direction(angle);
            painter.drawLine(centre + direction * radius, centre + direction * (radius + length));
        }
    };
    ticks(layout.x.ticks.major, kTickLength * layout.shrink);
    pen.setWidthF(pen.widthF() * 0.75);
    painter.setPen(pen);
    ticks(layout.x.ticks.minor, kMinorTickLength * layout.shrink);
}

void PaintPolarLabels(QPainter& painter, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const QPointF centre = PlotMapping::ToPaint(m.Centre());
    const double distance = m.Radius() + (kTickLength + kLabelGap) * layout.shrink;
    painter.setFont(layout.fonts.ticks);
    painter.setPen(kTextInk);
    const double height = layout.tickTextHeight;
    const auto stride = static_cast<std::size_t>(layout.angleLabelStride);
    for (std::size_t i = 0; i < DistinctAngles(layout); i += stride) {
        const TickLabel& label = layout.x.labels[i];
        const QPointF direction = m.Direction(label.value);
        // Push the label's box out along the direction until its near side clears the circle.
        const double reach =
            0.5 * (std::abs(direction.x()) * label.width + std::abs(direction.y()) * height);
        const QPointF middle = centre + direction * (distance + reach);
        painter.drawText(
            QRectF(middle.x() - label.width / 2.0, middle.y() - height / 2.0, label.width, height),
            Qt::AlignCenter | kOneLine, label.text);
    }
}

void PaintTitles(QPainter& painter, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const double centreX =
        m.IsPolar() ? PlotMapping::ToPaint(m.Centre()).x() : (m.Left() + m.Right()) / 2.0 + 0.5;
    const int flags = Qt::AlignHCenter | Qt::AlignTop | kOneLine;
    double top = layout.titleTop;
    painter.setPen(kTextInk);
    if (!layout.title1.isEmpty()) {
        const double height = layout.titleHeight;
        painter.setFont(layout.fonts.title);
        painter.drawText(QRectF(centreX - kWideTitle / 2.0, top, kWideTitle, height), flags,
                         layout.title1);
        top += height + kLabelGap * layout.shrink;
    }
    if (m.IsPolar()) {
        return;
    }
    painter.setFont(layout.fonts.subtitles);
    for (const QString* subtitle : {&layout.title2, &layout.title3}) {
        if (!subtitle->isEmpty()) {
            const double height = layout.subtitleHeight;
            painter.drawText(QRectF(centreX - kWideTitle / 2.0, top, kWideTitle, height), flags,
                             *subtitle);
            top += height;
        }
    }
}

void PaintNote(QPainter& painter, const PlotLayout& layout) {
    if (layout.noteText.isEmpty()) {
        return;
    }
    painter.setFont(layout.fonts.notes);
    painter.setPen(kTextInk);
    painter.drawText(layout.note, Qt::AlignLeft | Qt::AlignTop | kOneLine, layout.noteText);
}

void PaintLegend(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    if (layout.legendRows.empty()) {
        return;
    }
    // Opaque, so that the names stay readable over the curves and grid lines they cover.
    painter.setPen(QPen(kInk, layout.SnapWidth(layout.LineWidth(5.0))));
    painter.setBrush(Qt::white);
    painter.drawRect(layout.legend);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(layout.fonts.legend);
    for (const LegendRow& row : layout.legendRows) {
        if (row.curve != 0) {
            const CurveStyle& style = d.StyleOf(row.curve);
            painter.setPen(
                LinePen(ToColor(style.color), layout.LineWidth(style.width), style.lineType));
            const double y = row.line.center().y();
            painter.drawLine(QPointF(row.line.left(), y), QPointF(row.line.right(), y));
        }
        painter.setPen(kTextInk);
        painter.drawText(row.textBox, Qt::AlignLeft | Qt::AlignVCenter | kOneLine, row.text);
    }
}

// Γ of the chart as a point to paint.
QPointF SmithPaint(const PlotMapping& m, std::complex<double> gamma) {
    return PlotMapping::ToPaint({m.XToPixel(gamma.real()), m.YToPixel(gamma.imag(), false)});
}

double SmithRadius(const PlotMapping& m) {
    return (m.Right() - m.Left()) / 2.0;
}

// The circles of constant resistance, the arcs of constant reactance and the real axis. An arc
// is drawn as the points of z = r + jx for r from 0 up, so it ends on the rim and at Γ = 1
// exactly as the mapping puts them, in every output format (no clipping needed).
void PaintSmithGrid(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const double scale = SmithRadius(m);
    painter.setPen(LinePen(GridColor(d), layout.LineWidth(7.5),
                           d.gridLineType == kLineTypeNone ? kLineTypeSolid : d.gridLineType));
    painter.setBrush(Qt::NoBrush);
    for (const double r : layout.smith.resistances) {
        const SmithCircle circle = ResistanceCircle(r);
        painter.drawEllipse(SmithPaint(m, circle.centre), circle.radius * scale,
                            circle.radius * scale);
    }
    constexpr int kArcPoints = 96;
    for (const double x : layout.smith.reactances) {
        QPolygonF arc;
        for (int i = 0; i < kArcPoints; ++i) {
            // r = tan(φ) for φ from 0 to 90°: even steps along the arc's length near both ends.
            const double phi = std::numbers::pi / 2.0 * i / kArcPoints;
            arc.push_back(SmithPaint(m, SmithPoint({std::tan(phi), x})));
        }
        arc.push_back(SmithPaint(m, 1.0));
        painter.drawPolyline(arc);
    }
    painter.drawLine(SmithPaint(m, -1.0), SmithPaint(m, 1.0));
}

void PaintSwrCircle(QPainter& painter, const PlotLayout& layout) {
    const SmithGrid& grid = layout.smith;
    if (grid.swrRadius <= 0.0) {
        return;
    }
    const PlotMapping& m = layout.mapping;
    const double radius = grid.swrRadius * SmithRadius(m);
    painter.setPen(LinePen(kSwrCircle, layout.LineWidth(12.0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(SmithPaint(m, 0.0), radius, radius);
    if (!grid.swrLabel.text.isEmpty()) {
        painter.setFont(layout.fonts.notes);
        painter.setPen(kSwrCircle);
        painter.drawText(grid.swrLabel.box, Qt::AlignLeft | Qt::AlignTop | kOneLine,
                         grid.swrLabel.text);
    }
}

// The rim of the chart (the unit circle) and the grid's labels.
void PaintSmithFrame(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    const PlotMapping& m = layout.mapping;
    const double radius = SmithRadius(m);
    painter.setPen(QPen(kInk, layout.LineWidth(d.frameWidth), Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(SmithPaint(m, 0.0), radius, radius);
    painter.setFont(layout.fonts.ticks);
    painter.setPen(kTextInk);
    for (const PlacedText& label : layout.smith.labels) {
        painter.drawText(label.box, Qt::AlignCenter | kOneLine, label.text);
    }
}

void PaintMarks(QPainter& painter, const PlotDocument& d, const PlotLayout& layout) {
    if (layout.marks.empty()) {
        return;
    }
    painter.setFont(layout.fonts.notes);
    const double radius = 3.0 * layout.shrink;
    for (const PlacedMark& mark : layout.marks) {
        const QColor colour = ToColor(d.StyleOf(mark.curve).color);
        painter.setPen(QPen(colour, layout.LineWidth(7.5)));
        painter.setBrush(colour);
        painter.drawEllipse(mark.dot, radius, radius);
        // On white, so the grid under it does not cross the text.
        painter.fillRect(mark.label.box, Qt::white);
        painter.setBrush(Qt::NoBrush);
        painter.drawText(mark.label.box, Qt::AlignCenter | kOneLine, mark.label.text);
    }
}

} // namespace

PlotRenderer::PlotRenderer(const PlotDocument& document, QSizeF size, const QPaintDevice& device,
                           const RenderSettings& settings)
    : document_(document),
      layout_(LayOutPlot(document, size, DeviceTextMeasure(device), settings)) {}

void PlotRenderer::Paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), layout_.size), Qt::white);
    if (layout_.mapping.IsPolar()) {
        PaintPolarGrid(painter, document_, layout_);
        PaintCurves(painter, document_, layout_);
        PaintPolarFrame(painter, document_, layout_);
        PaintPolarLabels(painter, layout_);
    } else if (document_.IsSmith()) {
        PaintSmithGrid(painter, document_, layout_);
        PaintSwrCircle(painter, layout_);
        PaintCurves(painter, document_, layout_);
        PaintSmithFrame(painter, document_, layout_);
    } else {
        PaintGrid(painter, document_, layout_);
        PaintCurves(painter, document_, layout_);
        PaintFrame(painter, document_, layout_);
        PaintTickLabels(painter, layout_);
        PaintAxisLabels(painter, document_, layout_);
    }
    PaintMarks(painter, document_, layout_);
    PaintTitles(painter, layout_);
    PaintNote(painter, layout_);
    PaintLegend(painter, document_, layout_);
    painter.restore();
}

} // namespace lobex::plotter
