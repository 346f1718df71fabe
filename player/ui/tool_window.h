#pragma once
// The frame of the program's small modeless windows: a title bar with the system menu,
// the minimise and the close button, and a client area of fixed size.
#include <QString>
#include <QWidget>

namespace tool_window {

inline constexpr Qt::WindowFlags kFlags = Qt::Window | Qt::CustomizeWindowHint |
                                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Names the window after its design, captions it and fixes its size; a point size other
// than 0 is the font of the window's controls.
void SetUp(QWidget* window, const char* name, const QString& caption, QSize size,
           int pointSize = 0);

}  // namespace tool_window
