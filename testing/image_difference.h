#pragma once
// How far apart two pictures of one size are: the largest difference of a colour channel
// over all pixels (0 for equal pictures, 255 at most).
#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace testing_support {

inline int WorstChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

}  // namespace testing_support
