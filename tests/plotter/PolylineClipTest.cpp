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
        {"entering starts at the left edge", {{-5, 5}, {5, 5}}, {{{0, 5}, {5, 5}}}},
        {"crossing keeps the part between the edges", {{5, -10}, {5, 20}}, {{{5, 0}, {5, 10}}}},
        {"slanted through the bottom edge", {{2, 6}, {6, 14}}, {{{2, 6}, {4, 10}}}},
        {"leaving and coming back makes two pieces",
         {{5, 5}, {15, 5}, {5, 8}},
         {{{5, 5}, {10, 5}}, {{10, 6.5}, {5, 8}}}},
        {"a spike beyond an edge breaks the curve there",
         {{5, 5}, {15, 5}, {5, 5}},
         {{{5, 5}, {10, 5}}, {{10, 5}, {5, 5}}}},
        {"a gap outside splits the curve",
         {{2, 2}, {2, -4}, {8, -4}, {8, 2}},
         {{{2, 2}, {2, 0}}, {{8, 0}, {8, 2}}}},
        {"diagonal through two corners", {{-5, -5}, {15, 15}}, {{{0, 0}, {10, 10}}}},
        {"leaving through a corner", {{5, 5}, {15, 15}}, {{{5, 5}, {10, 10}}}},
        {"cutting a corner off", {{-2, 8}, {8, -2}}, {{{0, 6}, {6, 0}}}},
        {"passing outside a corner", {{-5, 4}, {4, -5}}, {}},
        {"wholly on one side", {{-5, -5}, {-1, 20}, {-3, 30}}, {}},
        {"round the rectangle without entering", {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}}, {}},
        {"one point inside", {{3, 4}}, {{{3, 4}}}},
        {"one point outside", {{30, 4}}, {}},
        {"no points", {}, {}},
    };
    for (const Case& c : cases) {
        const QPolygonF line(QList<QPointF>(c.line.begin(), c.line.end()));
        EXPECT_EQ(Text(ClipPolyline(line, box)), Text(c.expected)) << c.name;
    }
}

TEST(ClipPolyline, AZigzagBeyondTopAndBottomBecomesOneStrokePerCrossing) {
    const QRectF box(100.5, 40.5, 300.0, 200.0);
    QPolygonF zigzag;
    for (int i = 0; i <= 28; ++i) {
        zigzag.push_back(QPointF(110.5 + 10.0 * i, i % 2 == 0 ? -50.0 : 350.0));
    }
    const std::vector<QPolygonF> pieces = ClipPolyline(zigzag, box);
    ASSERT_EQ(pieces.size(), 28U);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        ASSERT_EQ(pieces[i].size(), 2) << i;
        // Down from the top edge on even strokes, up from the bottom edge on odd ones.
        const bool down = i % 2 == 0;
        EXPECT_DOUBLE_EQ(pieces[i][0].y(), down ? box.top() : box.bottom()) << i;
        EXPECT_DOUBLE_EQ(pieces[i][1].y(), down ? box.bottom() : box.top()) << i;
        for (const QPointF& p : pieces[i]) {
            EXPECT_GT(p.x(), 110.5 + 10.0 * i) << i;
            EXPECT_LT(p.x(), 120.5 + 10.0 * i) << i;
        }
    }
}

} // namespace
} // namespace lobex::plotter
