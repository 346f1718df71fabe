#pragma once

#include <QImage>
#include <QPainter>

#include "player/skin/image_list.h"

// The artwork of the main window's button bar, drawn in code: glossy blue buttons with white
// symbols, a sunk look when pressed and an amber symbol for a feature that is on. Each list
// holds the glyphs of one button size in the order the buttons index them; the lists lay
// soft edges over the window's design colour.
namespace transport_glyphs {

// 29 x 29: play, play pressed, pause, pause pressed.
ImageList PlayGlyphs();
// The raised play button filling a square of `size` from the painter's origin: the
// program's icon.
void PaintPlayButton(QPainter& painter, qreal size);
// 20 x 27: stop, stop pressed.
ImageList StopGlyphs();
// 20 x 20: previous, previous pressed, next, next pressed, sound on, muted.
ImageList StepAndSoundGlyphs();
// 20 x 24: colour, colour pressed, shuffle off, shuffle on.
ImageList ColourAndShuffleGlyphs();
// 20 x 18: lyrics off, lyrics on.
ImageList LyricsGlyphs();
// 18 x 18: playlist shown, shown pressed, hidden, hidden pressed, visualisation off, on,
// audio settings hidden, shown.
ImageList PanelGlyphs();

// 14 x 14 with alpha: the close mark of the window.
QImage CloseGlyph();

}  // namespace transport_glyphs
