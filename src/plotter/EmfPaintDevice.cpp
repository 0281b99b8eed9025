#include "EmfPaintDevice.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

namespace lobex::plotter {
namespace {

// Logical units of the records per unit of the painter (1/96 inch).
constexpr double kScale = static_cast<double>(emf::kUnitsPerInch) / 96.0;

// Stock objects and GDI constants.
constexpr quint32 kNullBrush = 0x80000005;
constexpr quint32 kNullPen = 0x80000008;
constexpr quint32 kMapModeText = 1;
constexpr quint32 kTransparent = 1;
constexpr quint32 kTextAlignBaselineLeft = 24; // TA_BASELINE | TA_LEFT | TA_NOUPDATECP
constexpr quint32 kAlternate = 1;
constexpr quint32 kWinding = 2;
constexpr quint32 kPenGeometric = 0x00010000;
constexpr quint32 kPenSolid = 0;
constexpr quint32 kPenUserStyle = 7;
constexpr quint32 kPenEndCapRound = 0x0000;
constexpr quint32 kPenEndCapSquare = 0x0100;
constexpr quint32 kPenEndCapFlat = 0x0200;
constexpr quint32 kPenJoinRound = 0x0000;
constexpr quint32 kPenJoinBevel = 0x1000;
constexpr quint32 kPenJoinMiter = 0x2000;
constexpr quint32 kBrushSolid = 0;
constexpr quint32 kObjectSlots = 7; // 0 unused; pens 1-2, brushes 3-4, fonts 5-6

quint32 ColorRef(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<quint32>(rgb.red()) | (static_cast<quint32>(rgb.green()) << 8) |
           (static_cast<quint32>(rgb.blue()) << 16);
}

// A growing little-endian byte buffer of records.
class RecordBuffer {
public:
    void Begin(quint32 type) {
        start_ = data_.size();
        U32(type);
        U32(0); // size, patched by End
    }
    void End() {
        while ((data_.size() - start_) % 4 != 0) {
            data_.append('\0');
        }
        const quint32 size = static_cast<quint32>(data_.size() - start_);
        Patch(start_ + 4, size);
        ++records_;
    }
    void U32(quint32 value) {
        char bytes[4];
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
        }
        data_.append(bytes, 4);
    }
    void I32(qint32 value) { U32(static_cast<quint32>(value)); }
    void F32(float value) {
        quint32 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void U16(quint16 value) {
        data_.append(static_cast<char>(value & 0xFFU));
        data_.append(static_cast<char>(value >> 8));
    }
    void U8(quint8 value) { data_.append(static_cast<char>(value)); }
    void Utf16(const QString& text, int units) {
        for (int i = 0; i < units; ++i) {
            U16(i < text.size() ? text[i].unicode() : 0);
        }
    }
    void Patch(qsizetype at, quint32 value) {
        for (int i = 0; i < 4; ++i) {
            data_[at + i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
        }
    }
    qsizetype Offset() const { return data_.size() - start_; }
    const QByteArray& Data() const { return data_; }
    quint32 Records() const { return records_; }

    // Shorthand for the many records of one 32-bit value.
    void Single(quint32 type, quint32 value) {
        Begin(type);
        U32(value);
        End();
    }

private:
    QByteArray data_;
    qsizetype start_ = 0;
    quint32 records_ = 0;
};

struct LogicalBounds {
    qint32 left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    void Add(const QPoint& p) {
        left = std::min(left, p.x());
        top = std::min(top, p.y());
        right = std::max(right, p.x());
        bottom = std::max(bottom, p.y());
    }
    bool Empty() const { return left > right; }
};

} // namespace

class EmfPaintEngine final : public QPaintEngine {
public:
    EmfPaintEngine(QSizeF sizeInches, const QString& description)
        : QPaintEngine(QPaintEngine::PaintEngineFeatures(QPaintEngine::AllFeatures) &
                       ~QPaintEngine::PaintEngineFeatures(QPaintEngine::PerspectiveTransform |
                                                          QPaintEngine::PorterDuff)),
          sizeInches_(sizeInches), description_(description) {}

    bool begin(QPaintDevice*) override {
        records_ = RecordBuffer();
        file_.clear();
        penSlot_ = brushSlot_ = fontSlot_ = 0;
        penKey_.reset();
        brushKey_.reset();
        fontKey_.reset();
        textColor_.reset();
        fillMode_.reset();
        // Logical units are the reference device's pixels, so every reader scales pen widths
        // and font heights the same way as coordinates.
        records_.Single(emf::kSetMapMode, kMapModeText);
        records_.Single(emf::kSetBkMode, kTransparent);
        records_.Single(emf::kSetTextAlign, kTextAlignBaselineLeft);
        setActive(true);
        return true;
    }

    bool end() override {
        ReleaseObjects();
        records_.Begin(emf::kEof);
        records_.U32(0);  // palette entries
        records_.U32(16); // offset of the (empty) palette
        records_.U32(20); // this record's size, repeated at its end
        records_.End();
        file_ = Header() + records_.Data();
        setActive(false);
        return true;
    }

    void updateState(const QPaintEngineState& changed) override {
        const QPaintEngine::DirtyFlags flags = changed.state();
        if (flags & DirtyTransform) {
            transform_ = changed.transform();
        }
        if (flags & DirtyPen) {
            pen_ = changed.pen();
        }
        if (flags & DirtyBrush) {
            brush_ = changed.brush();
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count <= 0) {
            return;
        }
        QPolygonF polygon(count);
        std::copy(points, points + count, polygon.begin());
        if (mode == PolylineMode) {
            WritePolylines({polygon});
            return;
        }
        WritePolygons({polygon}, mode == WindingMode ? kWinding : kAlternate);
    }

    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i) {
            polygon.append(QPointF(points[i]));
        }
        drawPolygon(polygon.constData(), static_cast<int>(polygon.size()), mode);
    }

    void drawPath(const QPainterPath& path) override {
        const QList<QPolygonF> polygons = path.toSubpathPolygons();
        if (polygons.isEmpty()) {
            return;
        }
        if (brush_.style() == Qt::NoBrush) {
            WritePolylines(polygons);
        } else {
            WritePolygons(polygons, path.fillRule() == Qt::WindingFill ? kWinding : kAlternate);
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        QList<QPolygonF> polylines;
        for (int i = 0; i < count; ++i) {
            polylines.append(QPolygonF({lines[i].p1(), lines[i].p2()}));
        }
        WritePolylines(polylines);
    }

    void drawLines(const QLine* lines, int count) override {
        QList<QPolygonF> polylines;
        for (int i = 0; i < count; ++i) {
            polylines.append(QPolygonF({QPointF(lines[i].p1()), QPointF(lines[i].p2())}));
        }
        WritePolylines(polylines);
    }

    void drawRects(const QRectF* rects, int count) override {
        QList<QPolygonF> polygons;
        for (int i = 0; i < count; ++i) {
            polygons.append(QPolygonF(rects[i]));
        }
        if (brush_.style() == Qt::NoBrush) {
            WritePolylines(polygons);
        } else {
            WritePolygons(polygons, kAlternate);
        }
    }

    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }

    void drawEllipse(const QRectF& rect) override {
        if (transform_.type() > QTransform::TxScale) {
            QPainterPath path;
            path.addEllipse(rect);
            drawPath(path);
            return;
        }
        SelectPen();
        SelectBrush();
        const QPoint a = ToLogical(rect.topLeft());
        const QPoint b = ToLogical(rect.bottomRight());
        records_.Begin(emf::kEllipse);
        records_.I32(std::min(a.x(), b.x()));
        records_.I32(std::min(a.y(), b.y()));
        records_.I32(std::max(a.x(), b.x()));
        records_.I32(std::max(a.y(), b.y()));
        records_.End();
    }

    void drawPoints(const QPointF* points, int count) override {
        // A dot is a circle of the pen's width filled with its colour.
        const QPen pen = pen_;
        const QBrush brush = brush_;
        const double radius = std::max(0.5, pen_.widthF() / 2.0);
        pen_ = QPen(Qt::NoPen);
        brush_ = QBrush(pen.color());
        for (int i = 0; i < count; ++i) {
            drawEllipse(
                QRectF(points[i].x() - radius, points[i].y() - radius, 2.0 * radius, 2.0 * radius));
        }
        pen_ = pen;
        brush_ = brush;
    }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        const QString text = item.text();
        if (text.isEmpty()) {
            return;
        }
        const QFont font = item.font();
        const double scale = std::hypot(transform_.m11(), transform_.m12());
        const double angle =
            std::atan2(-transform_.m12(), transform_.m11()) * 180.0 / std::numbers::pi;
        const double pixelSize =
            font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
        const qint32 height =
            -std::max(1, static_cast<int>(std::lround(pixelSize * scale * kScale)));
        const qint32 escapement = static_cast<qint32>(std::lround(angle * 10.0));
        SelectFont(font, height, escapement);
        SetTextColor(pen_.color());

        // Character advances, so that the text keeps its measured width wherever it is shown.
        const QFontMetricsF metrics(font, paintDevice());
        QList<qint32> advances;
        double previous = 0.0;
        qint32 placed = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const double edge = metrics.horizontalAdvance(text.left(i + 1)) * scale * kScale;
            const qint32 target = static_cast<qint32>(std::lround(edge));
            advances.append(target - placed);
            placed = target;
            previous = edge;
        }
        const QPoint reference = ToLogical(origin);
        records_.Begin(emf::kExtTextOutW);
        const qint32 extent = static_cast<qint32>(std::lround(previous));
        records_.I32(reference.x());
        records_.I32(reference.y() + height);
        records_.I32(reference.x() + extent);
        records_.I32(reference.y() - height / 3);
        records_.U32(1);    // GM_COMPATIBLE
        records_.F32(0.0f); // exScale, unused in this graphics mode
        records_.F32(0.0f);
        // The text block: reference point, length, string offset, options, rectangle, advances.
        constexpr quint32 kStringOffset = 76;
        const quint32 stringBytes = static_cast<quint32>((text.size() * 2 + 3) / 4 * 4);
        records_.I32(reference.x());
        records_.I32(reference.y());
        records_.U32(static_cast<quint32>(text.size()));
        records_.U32(kStringOffset);
        records_.U32(0); // options: no clipping, no opaque background
        records_.I32(0);
        records_.I32(0);
        records_.I32(0);
        records_.I32(0);
        records_.U32(kStringOffset + stringBytes);
        records_.Utf16(text, static_cast<int>(text.size()));
        while (records_.Offset() % 4 != 0) {
            records_.U8(0);
        }
        for (const qint32 advance : advances) {
            records_.I32(advance);
        }
        records_.End();
    }

    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }

    // A picture is a device-independent bitmap stretched over the target: 32-bit pixels, the
    // rows bottom up, as every reader knows them.
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        const QImage pixels =
            image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_RGB32);
        if (pixels.isNull()) {
            return;
        }
        const QPoint a = ToLogical(target.topLeft());
        const QPoint b = ToLogical(target.bottomRight());
        const qint32 width = pixels.width();
        const qint32 height = pixels.height();
        const auto bitsSize = static_cast<quint32>(width) * static_cast<quint32>(height) * 4U;
        constexpr quint32 kInfoOffset = 80;
        constexpr quint32 kInfoSize = 40;
        records_.Begin(emf::kStretchDiBits);
        records_.I32(std::min(a.x(), b.x()));
        records_.I32(std::min(a.y(), b.y()));
        records_.I32(std::max(a.x(), b.x()));
        records_.I32(std::max(a.y(), b.y()));
        records_.I32(a.x());
        records_.I32(a.y());
        records_.I32(0);
        records_.I32(0);
        records_.I32(width);
        records_.I32(height);
        records_.U32(kInfoOffset);
        records_.U32(kInfoSize);
        records_.U32(kInfoOffset + kInfoSize);
        records_.U32(bitsSize);
        records_.U32(0);          // the colours are the pixels' own
        records_.U32(0x00CC0020); // copy the source
        records_.I32(b.x() - a.x());
        records_.I32(b.y() - a.y());
        records_.U32(kInfoSize);
        records_.I32(width);
        records_.I32(height); // positive: bottom-up rows
        records_.U16(1);      // planes
        records_.U16(32);     // bits per pixel
        records_.U32(0);      // uncompressed
        records_.U32(bitsSize);
        records_.I32(0);
        records_.I32(0);
        records_.U32(0);
        records_.U32(0);
        for (qint32 y = height - 1; y >= 0; --y) {
            const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
            for (qint32 x = 0; x < width; ++x) {
                records_.U32(line[x]); // blue, green, red, unused as bytes
            }
        }
        records_.End();
    }

    Type type() const override { return QPaintEngine::User; }

    const QByteArray& File() const { return file_; }

private:
    qint32 LogicalWidth() const {
        return static_cast<qint32>(std::lround(sizeInches_.width() * emf::kUnitsPerInch));
    }
    qint32 LogicalHeight() const {
        return static_cast<qint32>(std::lround(sizeInches_.height() * emf::kUnitsPerInch));
    }

    QPoint ToLogical(const QPointF& point) const {
        const QPointF mapped = transform_.map(point) * kScale;
        return {static_cast<int>(std::lround(mapped.x())),
                static_cast<int>(std::lround(mapped.y()))};
    }

    QByteArray Header() const {
        RecordBuffer header;
        const QString description =
            QStringLiteral("Lobex") + QChar(0) + description_ + QChar(0) + QChar(0);
        constexpr quint32 kDescriptionOffset = 108;
        const quint32 descriptionBytes = static_cast<quint32>((description.size() * 2 + 3) / 4 * 4);
        const quint32 headerSize = kDescriptionOffset + descriptionBytes;
        const quint32 totalBytes = headerSize + static_cast<quint32>(records_.Data().size());
        header.Begin(emf::kHeader);
        // Bounds in reference-device pixels, frame in hundredths of a millimetre; both
        // inclusive.
        header.I32(0);
        header.I32(0);
        header.I32(LogicalWidth() - 1);
        header.I32(LogicalHeight() - 1);
        header.I32(0);
        header.I32(0);
        header.I32(static_cast<qint32>(std::lround(sizeInches_.width() * 2540.0)) - 1);
        header.I32(static_cast<qint32>(std::lround(sizeInches_.height() * 2540.0)) - 1);
        header.U32(emf::kSignature);
        header.U32(0x00010000); // version
        header.U32(totalBytes);
        header.U32(records_.Records() + 1);
        header.U16(static_cast<quint16>(kObjectSlots));
        header.U16(0);
        header.U32(static_cast<quint32>(description.size()));
        header.U32(kDescriptionOffset);
        header.U32(0); // palette entries
        header.I32(emf::kReferenceWidthPixels);
        header.I32(emf::kReferenceHeightPixels);
        header.I32(emf::kReferenceWidthMillimeters);
        header.I32(emf::kReferenceHeightMillimeters);
        header.U32(0); // no pixel format
        header.U32(0);
        header.U32(0); // no OpenGL records
        header.I32(emf::kReferenceWidthMillimeters * 1000);
        header.I32(emf::kReferenceHeightMillimeters * 1000);
        header.Utf16(description, static_cast<int>(description.size()));
        header.End();
        return header.Data();
    }

    // Pens, brushes and fonts: a new object goes into the other of its two slots, is selected,
    // and the one it replaces is deleted.
    static quint32 OtherSlot(quint32 slot, quint32 first) {
        return slot == first ? first + 1 : first;
    }

    void Replace(quint32& slot, quint32 created) {
        records_.Single(emf::kSelectObject, created);
        if (slot != 0) {
            records_.Single(emf::kDeleteObject, slot);
        }
        slot = created;
    }

    void SelectStock(quint32& slot, quint32 stock) {
        records_.Single(emf::kSelectObject, stock);
        if (slot != 0) {
            records_.Single(emf::kDeleteObject, slot);
        }
        slot = 0;
    }

    void SelectPen() {
        const bool none = pen_.style() == Qt::NoPen || pen_.brush().style() == Qt::NoBrush;
        const double scale =
            pen_.isCosmetic() ? 1.0 : std::hypot(transform_.m11(), transform_.m12());
        const double width =
            std::max(pen_.widthF(), pen_.isCosmetic() || pen_.widthF() == 0.0 ? 1.0 : 0.0);
        const quint32 logicalWidth =
            static_cast<quint32>(std::max(1L, std::lround(width * scale * kScale)));
        quint32 style = kPenGeometric;
        switch (pen_.capStyle()) {
        case Qt::FlatCap:
            style |= kPenEndCapFlat;
            break;
        case Qt::SquareCap:
            style |= kPenEndCapSquare;
            break;
        default:
            style |= kPenEndCapRound;
            break;
        }
        switch (pen_.joinStyle()) {
        case Qt::BevelJoin:
            style |= kPenJoinBevel;
            break;
        case Qt::MiterJoin:
        case Qt::SvgMiterJoin:
            style |= kPenJoinMiter;
            break;
        default:
            style |= kPenJoinRound;
            break;
        }
        QList<quint32> dashes;
        if (pen_.style() != Qt::SolidLine) {
            for (const qreal entry : pen_.dashPattern()) {
                dashes.append(
                    static_cast<quint32>(std::max(1L, std::lround(entry * logicalWidth))));
            }
        }
        style |= dashes.isEmpty() ? kPenSolid : kPenUserStyle;
        const PenKey key{none, style, logicalWidth, ColorRef(pen_.color()), dashes};
        if (penKey_ && *penKey_ == key) {
            return;
        }
        penKey_ = key;
        if (none) {
            SelectStock(penSlot_, kNullPen);
            return;
        }
        const quint32 slot = OtherSlot(penSlot_, 1);
        records_.Begin(emf::kExtCreatePen);
        records_.U32(slot);
        const quint32 size = 52 + 4 * static_cast<quint32>(dashes.size());
        records_.U32(size); // no brush bitmap: its offsets point past the record
        records_.U32(0);
        records_.U32(size);
        records_.U32(0);
        records_.U32(style);
        records_.U32(logicalWidth);
        records_.U32(kBrushSolid);
        records_.U32(ColorRef(pen_.color()));
        records_.U32(0); // hatch
        records_.U32(static_cast<quint32>(dashes.size()));
        for (const quint32 dash : dashes) {
            records_.U32(dash);
        }
        records_.End();
        Replace(penSlot_, slot);
    }

    void SelectBrush() {
        const bool none = brush_.style() == Qt::NoBrush;
        const BrushKey key{none, ColorRef(brush_.color())};
        if (brushKey_ && *brushKey_ == key) {
            return;
        }
        brushKey_ = key;
        if (none) {
            SelectStock(brushSlot_, kNullBrush);
            return;
        }
        const quint32 slot = OtherSlot(brushSlot_, 3);
        records_.Begin(emf::kCreateBrushIndirect);
        records_.U32(slot);
        records_.U32(kBrushSolid);
        records_.U32(ColorRef(brush_.color()));
        records_.U32(0);
        records_.End();
        Replace(brushSlot_, slot);
    }

    void SelectFont(const QFont& font, qint32 height, qint32 escapement) {
        const FontKey key{font.family(), height,           escapement,      font.weight(),
                          font.italic(), font.underline(), font.strikeOut()};
        if (fontKey_ && *fontKey_ == key) {
            return;
        }
        fontKey_ = key;
        const quint32 slot = OtherSlot(fontSlot_, 5);
        records_.Begin(emf::kExtCreateFontIndirectW);
        records_.U32(slot);
        records_.I32(height);
        records_.I32(0); // width: the font's own
        records_.I32(escapement);
        records_.I32(escapement);
        records_.I32(font.weight());
        records_.U8(font.italic() ? 1 : 0);
        records_.U8(font.underline() ? 1 : 0);
        records_.U8(font.strikeOut() ? 1 : 0);
        records_.U8(1);    // DEFAULT_CHARSET: the text records are Unicode
        records_.U8(4);    // OUT_TT_PRECIS
        records_.U8(0);    // CLIP_DEFAULT_PRECIS
        records_.U8(4);    // ANTIALIASED_QUALITY
        records_.U8(0x22); // VARIABLE_PITCH | FF_SWISS
        records_.Utf16(font.family().left(31), 32);
        records_.End();
        Replace(fontSlot_, slot);
    }

    void SetTextColor(const QColor& color) {
        const quint32 value = ColorRef(color);
        if (textColor_ && *textColor_ == value) {
            return;
        }
        textColor_ = value;
        records_.Single(emf::kSetTextColor, value);
    }

    void SetFillMode(quint32 mode) {
        if (fillMode_ && *fillMode_ == mode) {
            return;
        }
        fillMode_ = mode;
        records_.Single(emf::kSetPolyFillMode, mode);
    }

    void ReleaseObjects() {
        if (penSlot_ != 0) {
            SelectStock(penSlot_, kNullPen);
        }
        if (brushSlot_ != 0) {
            SelectStock(brushSlot_, kNullBrush);
        }
        if (fontSlot_ != 0) {
            records_.Single(emf::kSelectObject, 0x8000000D); // SYSTEM_FONT
            records_.Single(emf::kDeleteObject, fontSlot_);
            fontSlot_ = 0;
        }
    }

    void WritePoints(const QList<QList<QPoint>>& lists, quint32 single, quint32 multiple) {
        LogicalBounds bounds;
        quint32 total = 0;
        for (const QList<QPoint>& points : lists) {
            for (const QPoint& p : points) {
                bounds.Add(p);
            }
            total += static_cast<quint32>(points.size());
        }
        if (bounds.Empty()) {
            return;
        }
        records_.Begin(lists.size() == 1 ? single : multiple);
        records_.I32(bounds.left);
        records_.I32(bounds.top);
        records_.I32(bounds.right);
        records_.I32(bounds.bottom);
        if (lists.size() != 1) {
            records_.U32(static_cast<quint32>(lists.size()));
        }
        records_.U32(total);
        if (lists.size() != 1) {
            for (const QList<QPoint>& points : lists) {
                records_.U32(static_cast<quint32>(points.size()));
            }
        }
        for (const QList<QPoint>& points : lists) {
            for (const QPoint& p : points) {
                records_.I32(p.x());
                records_.I32(p.y());
            }
        }
        records_.End();
    }

    QList<QList<QPoint>> ToLogical(const QList<QPolygonF>& polygons, int least) const {
        QList<QList<QPoint>> lists;
        for (const QPolygonF& polygon : polygons) {
            QList<QPoint> points;
            for (const QPointF& p : polygon) {
                const QPoint logical = ToLogical(p);
                if (points.isEmpty() || points.back() != logical) {
                    points.append(logical);
                }
            }
            if (points.size() == 1 && least == 2) {
                points.append(points.front()); // a dot still needs two points
            }
            if (points.size() >= least) {
                lists.append(points);
            }
        }
        return lists;
    }

    void WritePolylines(const QList<QPolygonF>& polylines) {
        if (pen_.style() == Qt::NoPen) {
            return;
        }
        const QList<QList<QPoint>> lists = ToLogical(polylines, 2);
        if (lists.isEmpty()) {
            return;
        }
        SelectPen();
        WritePoints(lists, emf::kPolyline, emf::kPolyPolyline);
    }

    void WritePolygons(const QList<QPolygonF>& polygons, quint32 fillMode) {
        const QList<QList<QPoint>> lists = ToLogical(polygons, 3);
        if (lists.isEmpty()) {
            return;
        }
        SelectPen();
        SelectBrush();
        SetFillMode(fillMode);
        WritePoints(lists, emf::kPolygon, emf::kPolyPolygon);
    }

    struct PenKey {
        bool none;
        quint32 style;
        quint32 width;
        quint32 color;
        QList<quint32> dashes;
        bool operator==(const PenKey&) const = default;
    };
    struct BrushKey {
        bool none;
        quint32 color;
        bool operator==(const BrushKey&) const = default;
    };
    struct FontKey {
        QString family;
        qint32 height;
        qint32 escapement;
        int weight;
        bool italic, underline, strikeout;
        bool operator==(const FontKey&) const = default;
    };

    QSizeF sizeInches_;
    QString description_;
    RecordBuffer records_;
    QByteArray file_;
    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    quint32 penSlot_ = 0, brushSlot_ = 0, fontSlot_ = 0;
    std::optional<PenKey> penKey_;
    std::optional<BrushKey> brushKey_;
    std::optional<FontKey> fontKey_;
    std::optional<quint32> textColor_;
    std::optional<quint32> fillMode_;
};

EmfPaintDevice::EmfPaintDevice(QSizeF sizeInches, const QString& description)
    : sizeInches_(sizeInches), engine_(std::make_unique<EmfPaintEngine>(sizeInches, description)) {}

EmfPaintDevice::~EmfPaintDevice() = default;

QPaintEngine* EmfPaintDevice::paintEngine() const {
    return engine_.get();
}

QByteArray EmfPaintDevice::Data() const {
    return engine_->File();
}

int EmfPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return static_cast<int>(std::lround(sizeInches_.width() * 96.0));
    case PdmHeight:
        return static_cast<int>(std::lround(sizeInches_.height() * 96.0));
    case PdmWidthMM:
        return static_cast<int>(std::lround(sizeInches_.width() * 25.4));
    case PdmHeightMM:
        return static_cast<int>(std::lround(sizeInches_.height() * 25.4));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace lobex::plotter
