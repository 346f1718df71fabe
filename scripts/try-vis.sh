#!/usr/bin/env bash
# Tries the visualisation window as a user would, on a virtual X server: starts `zorvan`
# with a song, moves the main window down the screen, opens the visualisation with its
# button and picks each of the nine displays from the window's right-click menu, taking a
# screenshot of each, then one of both windows together.
#   scripts/try-vis.sh [OUT_DIR] [SONG]
# Without a song, one is rendered with ffmpeg from a tracker module of the third-party
# material (or made of tones when that is absent). The output goes to the disk sound
# driver (OUT_DIR/sound.raw) unless SDL_AUDIODRIVER says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
source scripts/tour-common.sh
if [[ ${1:-} == --tour ]]; then
    shot() { sleep "${3:-1}"; import -window root -crop "$2" +repage "$OUT/$1.png"; echo "$OUT/$1.png"; }
    "$ZORVAN" "$2" >"$OUT/zorvan.log" 2>&1 &
    player=$!
    wait_for_player
    sleep 1
    # The main window lower down, so the visualisation has room above it.
    xdotool search --onlyvisible --name Tavrel windowmove 0 220
    sleep 0.5
    xdotool mousemove 224 382 click 1  # "Визуализация"
    sleep 2
    # The drawing's menu: submenu, then item, by keys.
    n=0
    for pick in "1 0 spectrum-bars" "1 1 spectrum-lines-green" "1 2 spectrum-lines-orange" \
                "1 3 spectrum-lines-cyan" "2 0 circles-butterfly" "2 1 circles-outline" \
                "3 0 wave-mirrored" "3 1 wave-filled" "3 2 wave-line"; do
        read -r submenu item name <<<"$pick"
        xdotool mousemove 300 150 click 3
        sleep 0.5
        for _ in $(seq "$submenu"); do xdotool key Down; done
        xdotool key Right
        for _ in $(seq "$item"); do xdotool key Down; done
        xdotool key Return
        n=$((n + 1))
        shot "$n-$name" 592x300+0+10 1.5
    done
    shot both 860x720+0+0 0.5
    kill "$player"
    wait "$player" || true
    exit
fi

out=$(realpath -m "${1:-$BUILD/try-vis}")
song=${2:-}
rm -rf "$out"
mkdir -p "$out"
if [[ -z $song ]]; then
    song=$out/song.mp3
    module=../shared/peers/modules/debian/pingus-data/the_big_march_in_space.it
    [[ -f $module ]] || module=/work/shared/peers/modules/debian/pingus-data/the_big_march_in_space.it
    if [[ -f $module ]]; then
        ffmpeg -nostdin -loglevel error -y -i "$module" -t 90 -ac 2 -ar 44100 -c:a libmp3lame \
            -b:a 160k -af volume=10dB -id3v2_version 3 -metadata title="The big march in space" \
            -metadata artist="Pingus" "$song"
    else
        ffmpeg -nostdin -loglevel error -y -f lavfi \
            -i "aevalsrc=0.3*sin(2*PI*220*t)*(1+sin(2*PI*2*t))/2+0.2*sin(2*PI*660*t)*(t-floor(t)):s=44100:d=60" \
            -ac 2 -c:a libmp3lame -b:a 128k -id3v2_version 3 -metadata title="Tones" \
            -metadata artist="Zorvan" "$song"
    fi
fi
song=$(realpath "$song")
cmake --build "$BUILD" --target zorvan -j2 >/dev/null
tour_environment "$out"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=$out/sound.raw
xvfb-run -a -s "-screen 0 1024x768x24" "$(realpath "$0")" --tour "$song"
