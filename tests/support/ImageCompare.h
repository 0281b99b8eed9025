#pragma once

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace lobex::test {

// The largest difference of two colours in any one channel.
inline int ChannelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// Pixels whose colour differs by more than the slack in some channel; pictures of different
// sizes differ everywhere.
inline int DifferingPixels(const QImage& a, const QImage& b, int slack = 0) {
    if (a.size() != b.size()) {
        return std::numeric_limits<int>::max();
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += ChannelDistance(a.pixel(x, y), b.pixel(x, y)) > slack ? 1 : 0;
        }
    }
    return count;
}

} // namespace lobex::test
