#include "plotter/PolylineClip.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace lobex::plotter {
namespace {

using Pieces = std::vector<std::vector<QPointF>>;

// "(x,y)(x,y) | (x,y)...": pieces in drawing order, readable in a failure message.
std::string Text(const Pieces& pieces) {
    std::ostringstream out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out << (i > 0 ? " | " : "");
        for (const QPointF& p : pieces[i]) {
            out << '(' << p.x() << ',' << p.y() << ')';
        }
    }
    return out.str();
}

std::string Text(const std::vector<QPolygonF>& pieces) {
    Pieces points;
    for (const QPolygonF& piece : pieces) {
        points.emplace_back(piece.begin(), piece.end());
    }
    return Text(points);
}

TEST(ClipPolyline, KeepsWhatLiesInsideTheRectangleAndCutsTheRestAtItsEdges) {
    const QRectF box(0.0, 0.0, 10.0, 10.0);
    struct Case {
        const char* name;
        std::vector<QPointF> line;
        Pieces expected;
    };
    const Case cases[] = {
        {"inside stays whole", {{1, 1}, {5, 5}, {9, 2}}, {{{1, 1}, {5, 5}, {9, 2}}}},
        {"along an edge counts as inside",
         {{0, 0}, {10, 0}, {10, 10}},
         {{{0, 0}, {10, 0}, {10, 10}}}},
        {"leaving ends at the right edge", {{5, 5}, {15, 5}}, {{{5, 5}, {10, 5}}}},
        {"crossing keeps the part between the edges", {{5, -10}, {5, 20}}, {{{5, 0}, {5, 10}}}},
        {"slanted through the bottom edge", {{2, 6}, {6, 14}}, {{{2, 6}, {4, 10}}}},
        {"leaving and coming back makes two pieces",
         {{5, 5}, {15, 5}, {5, 8}},
         {{{5, 5}, {10, 5}}, {{10, 6.5}, {5, 8}}}},
        {"a gap outside splits the curve",
         {{2, 2}, {2, -4}, {8, -4}, {8, 2}},
         {{{2, 2}, {2, 0}}, {{8, 0}, {8, 2}}}},
        {"cutting a corner off", {{-2, 8}, {8, -2}}, {{{0, 6}, {6, 0}}}},
        {"passing outside a corner", {{-5, 4}, {4, -5}}, {}},
        {"round the rectangle without entering", {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}}, {}},
        {"one point inside", {{3, 4}}, {{{3, 4}}}},
        {"no points", {}, {}},
    };
    for (const Case& c : cases) {
        const QPolygonF line(QList<QPointF>(c.line.begin(), c.line.end()));
        EXPECT_EQ(Text(ClipPolyline(line, box)), Text(c.expected)) << c.name;
    }
}

} // namespace
} // namespace lobex::plotter
