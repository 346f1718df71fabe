#pragma once

#include <QImage>

#include <array>

// The visualisation window's playing time, MM:SS:hh in eight cells of the digit strip.
namespace time_readout {

// Left edges of the eight cells on the drawing surface.
inline constexpr std::array<int, 8> kCellLeft{203, 221, 239, 247, 265, 283, 291, 309};

// The strip cells for `ms`: tens of minutes, minutes, colon, tens of seconds, seconds,
// colon, tenths and hundredths. From 100 minutes the first is 10 or more, a blank cell (or
// the colon at 120 minutes).
std::array<int, 8> Cells(int ms);

// Copies the cells for `ms` from `strip` onto `canvas` (both Format_RGB32) with their top
// at `top`, left to right. A cell beyond the strip's end shows blank.
void Draw(QImage& canvas, const QImage& strip, int ms, int top);

}  // namespace time_readout
