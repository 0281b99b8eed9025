#include "PolylineClip.h"

namespace lobex::plotter {
namespace {

// Cohen-Sutherland outcodes.
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

} // namespace lobex::plotter
