#pragma once

#include <QImage>

// The digit strip of the visualisation window's time read-out: 279 x 14 pixels in cells
// 16 pixels wide. Cells 0 ... 9 hold the digits, cell 12 a colon in its left six columns,
// every other cell is blank. Light cyan on the dark blue of the main window's time
// read-out, drawn from a 5 x 7 dot font at twice its size.
namespace digit_strip {

inline constexpr int kWidth = 279;
inline constexpr int kHeight = 14;
inline constexpr int kCellWidth = 16;
inline constexpr int kColonCell = 12;
inline constexpr int kBlankCell = 10;
// Cells that lie whole in the strip: 0 ... kCells - 1.
inline constexpr int kCells = kWidth / kCellWidth;

// The strip, Format_RGB32.
QImage Make();

}  // namespace digit_strip
