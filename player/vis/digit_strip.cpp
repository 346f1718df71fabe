#include "player/vis/digit_strip.h"

#include <QColor>

#include <array>

namespace digit_strip {
namespace {

// Rows of the 5 x 7 digits, the leftmost dot in the highest of five bits.
constexpr std::array<std::array<unsigned char, 7>, 10> kDigits{{
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},
}};

// The read-out's colours from top to bottom: its panel's gradient and its ink, a little
// brighter at the top, as lit glass.
QRgb shade(QColor top, QColor bottom, int row) {
    const double t = row / double(kHeight - 1);
    const auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
    return qRgb(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
                mix(top.blue(), bottom.blue()));
}

}  // namespace

QImage Make() {
    QImage strip(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        const QRgb panel = shade(QColor(0x06, 0x14, 0x2E), QColor(0x12, 0x30, 0x61), y);
        for (int x = 0; x < kWidth; ++x) strip.setPixel(x, y, panel);
    }
    const auto dot = [&strip](int x, int y) {
        // Each dot of the font is 2 x 2 pixels.
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx) {
                const int row = 2 * y + dy;
                strip.setPixel(x + dx, row,
                               shade(QColor(0xD2, 0xF8, 0xFF), QColor(0x5C, 0xC8, 0xF0), row));
            }
    };
    for (int digit = 0; digit < 10; ++digit)
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                if (kDigits[digit][y] & (0b10000 >> x)) dot(digit * kCellWidth + 3 + 2 * x, y);
    const int colon = kColonCell * kCellWidth;
    dot(colon + 2, 2);
    dot(colon + 2, 5);
    return strip;
}

}  // namespace digit_strip
