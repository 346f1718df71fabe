#!/usr/bin/env bash
# Draws a picture of the shaped main window, to look at its shape and artwork.
#   scripts/window-picture.sh [OUT.png]        render the window through its shape (offscreen
#                                              platform; outside the shape is transparent)
#   scripts/window-picture.sh --x11 [OUT.png]  screenshot of the window on a virtual X server
#                                              (xvfb-run; outside the shape is the black root)
# The default output is build/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
x11=0
if [[ ${1:-} == --x11 ]]; then
    x11=1
    shift
fi
out=$(realpath -m "${1:-$BUILD/main-window.png}")
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan_window_picture -j2 >/dev/null
tool=$(realpath "$BUILD/bin/zorvan_window_picture")
if ((x11)); then
    # The window is placed at (40, 40) of the screen.
    xvfb-run -a -s "-screen 0 940x580x24" bash -c \
        "QT_QPA_PLATFORM=xcb '$tool' --show 4 & sleep 2.5; import -window root -crop 854x497+40+40 +repage '$out'; wait"
else
    QT_QPA_PLATFORM=offscreen "$tool" "$out"
fi
echo "$out"
