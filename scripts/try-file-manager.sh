#!/usr/bin/env bash
# Tries a file manager's context-menu entry as a user would, on a virtual X server with
# its own session bus: installs the build into OUT_DIR/prefix, puts the file manager's
# module where the file manager looks for it, starts the installed player (its first start
# registers the file types and the context-menu handler), opens a folder with one MP3 in
# the file manager, right-clicks the song, chooses "Проиграть в Zorvan" and checks that
# the player played it.
#   scripts/try-file-manager.sh [nautilus|caja|nemo] [OUT_DIR]
# Screenshots go to OUT_DIR (default build/try-<manager>/): folder.png, menu.png (the
# entry in the song's menu), played.png (the player with the song), no-player.png (the
# menu again once the player has ended, without the entry). The sound goes to the disk
# driver (OUT_DIR/sound.raw); sox measures what was written after the entry was chosen.
#
# A file manager reads modules only from its own extension folder (the pkg-config
# variable extensiondir of its extension library). The module is linked there for the
# run and removed afterwards, which needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
source scripts/tour-common.sh
manager=${1:-nautilus}
# Per manager: its extension library, where the song's icon lies in the folder's window
# at (0, 0) of a 1800x800 screen, and where the entry then lies in the song's menu (which
# opens at the pointer).
case $manager in
    nautilus) package=libnautilus-extension-4 icon=(335 130) entry=(421 480) ;;
    caja) package=libcaja-extension icon=(235 143) entry=(330 414) ;;
    nemo) package=libnemo-extension icon=(237 155) entry=(333 427) ;;
    *) echo "usage: $0 [nautilus|caja|nemo] [OUT_DIR]" >&2; exit 2 ;;
esac
if [[ ${2:-} == --tour ]]; then
    shot() { sleep "${2:-1}"; import -window root "$OUT/$1.png"; echo "$OUT/$1.png"; }
    sound_bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
    right_click_song() {
        xdotool mousemove 600 300 click 1 mousemove "${icon[@]}" click 1
        sleep 0.5
        xdotool click 3
    }
    # GTK 4 draws with cairo: the virtual screen has no GL.
    export GSK_RENDERER=cairo
    "$ZORVAN" >"$OUT/zorvan.log" 2>&1 &
    player=$!
    wait_for_player
    # Without a window manager every window lies at (0, 0): the player moves aside.
    xdotool search --onlyvisible --name Tavrel windowmove 900 0
    case $manager in
        nautilus) nautilus --new-window "$OUT/songs" ;;
        caja) caja --no-desktop "$OUT/songs" ;;
        nemo) nemo "$OUT/songs" ;;
    esac >"$OUT/$manager.log" 2>&1 &
    files=$!
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name songs >/dev/null 2>&1 && break
        sleep 0.5
    done
    shot folder 2
    right_click_song
    shot menu 1.5
    sound_bytes >"$OUT/sound-before"
    xdotool mousemove "${entry[@]}" click 1
    shot played 4
    # With the player ended the handler adds nothing: the menu has no entry.
    kill "$player"
    wait "$player" || true
    right_click_song
    shot no-player 1.5
    kill "$files"
    exit
fi

out=$(realpath -m "${2:-$BUILD/try-$manager}")
rm -rf "$out"
mkdir -p "$out/songs"
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "sine=frequency=440:sample_rate=44100:duration=30" -af "volume=6" -ac 2 \
    -c:a libmp3lame -b:a 96k -id3v2_version 3 -metadata title="$manager song" \
    -metadata artist="Test Band" "$out/songs/song.mp3"
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan Ctxmenu Songmeta "zorvan-$manager" -j2 >/dev/null
cmake --install "$BUILD" --prefix "$out/prefix" >/dev/null

# The module goes into the manager's own folder for the run; one already there is put
# back, and a folder made for it is removed.
folder=$(pkg-config --variable=extensiondir "$package")
module=$folder/libzorvan-$manager.so
sudo_cmd=()
if [[ $(id -u) != 0 ]]; then sudo_cmd=(sudo); fi
# The uppermost folder of the path that is not there yet, if any.
made=
dir=$folder
while [[ ! -d $dir ]]; do
    made=$dir
    dir=$(dirname "$dir")
done
"${sudo_cmd[@]}" mkdir -p "$folder"
if [[ -e $module || -L $module ]]; then "${sudo_cmd[@]}" mv "$module" "$out/module-before"; fi
restore() {
    "${sudo_cmd[@]}" rm -f "$module"
    if [[ -e $out/module-before || -L $out/module-before ]]; then
        "${sudo_cmd[@]}" mv "$out/module-before" "$module"
    fi
    dir=$folder
    while [[ -n $made && $dir != "$(dirname "$made")" ]]; do
        "${sudo_cmd[@]}" rmdir "$dir"
        dir=$(dirname "$dir")
    done
}
trap restore EXIT
"${sudo_cmd[@]}" ln -s "$out/prefix/${folder#/usr/}/libzorvan-$manager.so" "$module"

# The installed player, with a new user's folders.
BUILD=$out/prefix tour_environment "$out"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/sound.raw
xvfb-run -a -s "-screen 0 1800x800x24" dbus-run-session -- "$(realpath "$0")" "$manager" --tour \
    >"$out/session.log" 2>&1

# The sound written after the entry was chosen.
before=$(cat "$out/sound-before")
tail -c +$((before + 1)) "$out/sound.raw" >"$out/played.raw"
rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$out/played.raw" -n stats 2>&1 |
    sed -n 's/^RMS lev dB *\([-0-9.]*\).*/\1/p')
echo "$manager: after the entry was chosen, $(stat -c %s "$out/played.raw") bytes of sound, RMS $rms dB"
if [[ -z $rms ]] || awk -v r="$rms" 'BEGIN { exit !(r < -40) }'; then
    echo "the player did not play the song" >&2
    exit 1
fi
