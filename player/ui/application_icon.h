#pragma once
// The program's icon (window, taskbar, tray and the installed icon theme files): the main
// window's play button, drawn in code at each size.
#include <QIcon>
#include <QImage>
#include <array>

// The sizes the icon is drawn at, as the icon theme's folders name them.
constexpr std::array<int, 8> kApplicationIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The icon drawn into a square image of `size` pixels.
QImage applicationIconImage(int size);

QIcon applicationIcon();
