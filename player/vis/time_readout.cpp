#include "player/vis/time_readout.h"

#include <algorithm>
#include <cstring>

#include "player/vis/digit_strip.h"

namespace time_readout {

std::array<int, 8> Cells(int ms) {
    const int t = std::max(ms, 0);
    const int s = t / 1000 % 60;
    const int m = t % 1000;
    return {t / 600'000, t / 60'000 % 10, digit_strip::kColonCell,
            s / 10,      s % 10,          digit_strip::kColonCell,
            m / 100,     m / 10 % 10};
}

void Draw(QImage& canvas, const QImage& strip, int ms, int top) {
    const std::array<int, 8> cells = Cells(ms);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const int cell = cells[c] < digit_strip::kCells ? cells[c] : digit_strip::kBlankCell;
        const int left = kCellLeft[c];
        const int from = std::max(0, -left);
        const int to = std::min(digit_strip::kCellWidth, canvas.width() - left);
        if (from >= to) continue;
        for (int row = 0; row < digit_strip::kHeight; ++row) {
            const int y = top + row;
            if (y < 0 || y >= canvas.height()) continue;
            const auto* source = reinterpret_cast<const QRgb*>(strip.constScanLine(row)) +
                                 cell * digit_strip::kCellWidth;
            auto* dest = reinterpret_cast<QRgb*>(canvas.scanLine(y)) + left;
            std::memcpy(dest + from, source + from, sizeof(QRgb) * (to - from));
        }
    }
}

}  // namespace time_readout
