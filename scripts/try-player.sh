#!/usr/bin/env bash
# Tries the real player as a new user would, on a virtual X server: it starts `zorvan` with
# one song, adds more through the open dialog, plays, pauses, seeks, skips, mutes, saves
# the playlist, clears it and loads it again, and takes a screenshot after each step.
#   scripts/try-player.sh [OUT_DIR] [SONG ...]
# Without songs, three short tagged MP3 tones are made with ffmpeg. The pictures go to
# OUT_DIR (default build/try-player/); playing.png is the main window with the playlist.
# The player runs with fresh settings and data folders inside OUT_DIR and the dummy sound
# device (set SDL_AUDIODRIVER to hear it on a real X display's sound card instead).
set -euo pipefail
if [[ ${1:-} == --tour ]]; then
    shift
    TOUR_ONLY=1
fi
here=$(pwd)
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
source scripts/tour-common.sh
TOUR_ONLY=${TOUR_ONLY:-0}
# The steps run inside the virtual X server. Without a window manager the window lies at
# (0, 0) of the screen, so the controls are clicked at their places on the window.
tour() {
    set -euo pipefail
    local first=$1
    shift
    shot() { sleep "${2:-1}"; import -window root -crop 854x497+0+0 +repage "$OUT/$1.png"; echo "$OUT/$1.png"; }
    click() { xdotool mousemove "$1" "$2" click "${3:-1}"; }
    keys() { xdotool key --delay 60 "$@"; }
    type_text() { xdotool type --delay 20 "$1"; }
    "$ZORVAN" "$first" >"$OUT/zorvan.log" 2>&1 &
    local player=$!
    for _ in $(seq 50); do xdotool search --name Tavrel >/dev/null 2>&1 && break; sleep 0.2; done
    # No window manager gives the window the keyboard: it is given here.
    xdotool search --name Tavrel windowfocus 2>/dev/null || true
    sleep 1
    shot started
    # Open files: Ctrl+O, go to the songs' folder, choose the others by name.
    if (($# > 0)); then
        keys ctrl+o
        sleep 1.5
        type_text "$(dirname "$1")/"
        keys Return
        sleep 0.5
        local names=""
        for song in "$@"; do names+="\"$(basename "$song")\" "; done
        type_text "$names"
        keys Return
    fi
    shot playing 3
    click 29 162            # play/pause button: pause
    shot paused
    click 29 162            # and play on
    click 401 137           # the seek bar at three quarters
    shot seeked
    click 91 163            # next track
    shot next
    click 110 163           # mute
    shot muted
    # Save the playlist: the list's menu, "Сохранить список" > "PLS".
    click 700 300 3
    sleep 0.5
    keys Down Down Down Down Down Down Down Right Return
    sleep 1.5
    type_text "$OUT/my list"
    keys Return
    sleep 0.5
    # Clear it (Ctrl+C in the list), then load it again: "Загрузить список...".
    click 700 300
    keys ctrl+c
    shot cleared
    click 700 300 3
    sleep 0.5
    keys Down Down Down Down Down Return
    sleep 1.5
    type_text "$OUT/my list.pls"
    keys Return
    shot reloaded
    kill "$player"
    wait "$player" || true
}
if ((TOUR_ONLY)); then
    tour "$@"
    exit
fi

out=$(realpath -m "${1:-$BUILD/try-player}")
shift || true
rm -rf "$out"
mkdir -p "$out/songs"
songs=()
for song in "$@"; do songs+=("$(cd "$here" && realpath "$song")"); done
if ((${#songs[@]} == 0)); then
    for n in 1 2 3; do
        ffmpeg -nostdin -loglevel error -y -f lavfi \
            -i "sine=frequency=$((300 + n * 110)):sample_rate=44100:duration=$((20 + n * 7))" \
            -af "volume=6" -ac 2 -c:a libmp3lame -b:a 96k -id3v2_version 3 \
            -metadata title="Song number $n" -metadata artist="Test Band $n" \
            -metadata album="Tones" -metadata genre="Ambient" "$out/songs/song$n.mp3"
        songs+=("$out/songs/song$n.mp3")
    done
fi
for song in "${songs[@]}"; do [[ -f $song ]] || { echo "no such file: $song" >&2; exit 1; }; done
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan -j2 >/dev/null
tour_environment "$out"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

xvfb-run -a -s "-screen 0 1000x600x24" "$(realpath "$0")" --tour "${songs[@]}"
ls "$out/my list.pls" >/dev/null && echo "saved playlist: $out/my list.pls"
