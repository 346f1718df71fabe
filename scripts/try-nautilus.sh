#!/usr/bin/env bash
# Tries the file manager's context-menu entry as a user would, on a virtual X server with
# its own session bus: installs the build into OUT_DIR/prefix, puts the file-manager module
# where Nautilus looks for it, starts the installed player (its first start registers the
# file types and the context-menu handler), opens a folder with one MP3 in Nautilus,
# right-clicks the song, chooses "Проиграть в Zorvan" and checks that the player played it.
#   scripts/try-nautilus.sh [OUT_DIR]
# Screenshots go to OUT_DIR (default build/try-nautilus/): folder.png, menu.png (the
# entry in the song's menu), played.png (the player with the song), no-player.png (the
# menu again once the player has ended, without the entry). The sound goes to
# the disk driver (OUT_DIR/sound.raw); sox measures it.
#
# Nautilus reads modules only from its own extension folder (pkg-config
# libnautilus-extension-4, variable extensiondir). The module is linked there for the
# run and removed afterwards, which needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
source scripts/tour-common.sh
if [[ ${1:-} == --tour ]]; then
    shot() { sleep "${2:-1}"; import -window root "$OUT/$1.png"; echo "$OUT/$1.png"; }
    sound_bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
    # GTK draws with cairo: the virtual screen has no GL.
    export GSK_RENDERER=cairo
    "$ZORVAN" >"$OUT/zorvan.log" 2>&1 &
    player=$!
    wait_for_player
    # Without a window manager every window lies at (0, 0): the player moves aside.
    xdotool search --onlyvisible --name Tavrel windowmove 900 0
    nautilus --new-window "$OUT/songs" >"$OUT/nautilus.log" 2>&1 &
    files=$!
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name songs >/dev/null 2>&1 && break
        sleep 0.5
    done
    shot folder 2
    # The song is the folder's only icon, the first of the grid; its menu opens at the
    # pointer, and the handler's entry is the row above "Properties".
    xdotool mousemove 335 130 click 1
    sleep 0.5
    xdotool mousemove 335 130 click 3
    shot menu 1.5
    sound_bytes >"$OUT/sound-before"
    xdotool mousemove 421 480 click 1
    shot played 4
    # With the player ended the handler adds nothing: the menu has no entry.
    kill "$player"
    wait "$player" || true
    xdotool mousemove 600 300 click 1 mousemove 335 130 click 1
    sleep 0.5
    xdotool click 3
    shot no-player 1.5
    kill "$files"
    exit
fi

out=$(realpath -m "${1:-$BUILD/try-nautilus}")
rm -rf "$out"
mkdir -p "$out/songs"
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "sine=frequency=440:sample_rate=44100:duration=30" -af "volume=6" -ac 2 \
    -c:a libmp3lame -b:a 96k -id3v2_version 3 -metadata title="Nautilus song" \
    -metadata artist="Test Band" "$out/songs/song.mp3"
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan Ctxmenu Songmeta zorvan-nautilus -j2 >/dev/null
cmake --install "$BUILD" --prefix "$out/prefix" >/dev/null

# The module goes into Nautilus's own folder for the run; one already there is put back.
folder=$(pkg-config --variable=extensiondir libnautilus-extension-4)
module=$folder/libzorvan-nautilus.so
sudo_cmd=()
if [[ $(id -u) != 0 ]]; then sudo_cmd=(sudo); fi
if [[ -e $module || -L $module ]]; then "${sudo_cmd[@]}" mv "$module" "$out/module-before"; fi
restore() {
    "${sudo_cmd[@]}" rm -f "$module"
    if [[ -e $out/module-before || -L $out/module-before ]]; then
        "${sudo_cmd[@]}" mv "$out/module-before" "$module"
    fi
}
trap restore EXIT
"${sudo_cmd[@]}" ln -s "$out/prefix/${folder#/usr/}/libzorvan-nautilus.so" "$module"

# The installed player, with a new user's folders.
BUILD=$out/prefix tour_environment "$out"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/sound.raw
xvfb-run -a -s "-screen 0 1800x800x24" dbus-run-session -- "$(realpath "$0")" --tour \
    >"$out/session.log" 2>&1

# The sound written after the entry was chosen.
before=$(cat "$out/sound-before")
tail -c +$((before + 1)) "$out/sound.raw" >"$out/played.raw"
rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$out/played.raw" -n stats 2>&1 |
    sed -n 's/^RMS lev dB *\([-0-9.]*\).*/\1/p')
echo "after the entry was chosen: $(stat -c %s "$out/played.raw") bytes of sound, RMS $rms dB"
if [[ -z $rms ]] || awk -v r="$rms" 'BEGIN { exit !(r < -40) }'; then
    echo "the player did not play the song" >&2
    exit 1
fi
