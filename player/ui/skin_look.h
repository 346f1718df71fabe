#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

// The look of the main window's surface and standard controls, so they sit with the glossy
// button bar: panels shaded as raised plates in the window colour, a dark read-out for the
// time, blue slider grooves with round thumbs and level meters that run green to red.
namespace skin_look {

// Style sheet for the window's standard controls (sliders, level bars, the time read-out
// named "Label27", the quick-access panel named "Panel6").
QString StyleSheet();

// A rounded panel of the shape, lit from above, in shades of the window colour.
void PaintPanel(QPainter& painter, const QRect& panel, int cornerWidth, int cornerHeight,
                const QColor& windowColor);

}  // namespace skin_look
