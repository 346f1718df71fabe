#!/usr/bin/env bash
# Tries the update wizard as a user would, against a loopback update server
# (player/update/tests/update_server.py) on a virtual X server: the real player's About
# window opens the wizard through "Обновить", the list is fetched, one file is ticked
# and fetched, "Finish" closes; then update_window_picture draws every page, the
# offline one included.
#   scripts/try-update.sh [OUT_DIR]
# Screenshots go to OUT_DIR (default build/try-update/), the pages to OUT_DIR/pages/; the
# player runs with fresh settings ("UpdateServer" pointing at the server) inside OUT_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
# Inside the virtual X server. Without a window manager windows keep the places the
# program gives them, so controls are clicked at their places on each window.
tour() {
    set -euo pipefail
    shot() { sleep "${2:-1}"; import -window root "$OUT/$1.png"; echo "$OUT/$1.png"; }
    at() { eval "$(xdotool search --name "$1" getwindowgeometry --shell | grep -E '^(X|Y)=')"; }
    "$ZORVAN" >"$OUT/zorvan.log" 2>&1 &
    local player=$!
    for _ in $(seq 50); do xdotool search --name Tavrel >/dev/null 2>&1 && break; sleep 0.2; done
    sleep 1.5
    # The window's menu (a click on the equalizer panel), "О программе...", "Обновить".
    xdotool mousemove 480 420 click 3
    sleep 0.7
    xdotool key Up Up Return
    shot about
    at '^About$'
    xdotool mousemove $((X + 320)) $((Y + 192)) click 1
    shot folder
    at 'Провека'
    next() { xdotool mousemove $((X + 325)) $((Y + 208)) click 1; }
    next
    shot question
    xdotool key Return     # "Yes": the folder is made
    shot ready
    at 'Провека'
    next
    shot list 2
    xdotool mousemove $((X + 144)) $((Y + 97)) click 1    # tick the second entry
    shot ticked 0.3
    next
    shot loaded 4
    next
    shot finish
    next
    kill "$player"
    wait "$player" || true
}
if [[ ${1:-} == --tour ]]; then
    tour
    exit
fi

out=$(realpath -m "${1:-$BUILD/try-update}")
rm -rf "$out"
mkdir -p "$out/config/Tavrel" "$out/data" "$out/runtime"
chmod 700 "$out/runtime"
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan update_window_picture -j2 >/dev/null

cat >"$out/server.json" <<JSON
{"timeout": 120, "log": "$out/requests.log", "paths": {
 "/programs/updates/update.upd": {"body": "zorvan\r\nlibSongmeta.so\r\nЧитайМеня.txt\r\n../outside\r\n"},
 "/programs/updates/zorvan": {"body": {"size": 400000}, "send": 150000, "pause": 2.5},
 "/programs/updates/libSongmeta.so": {"body": {"size": 90000}}}}
JSON
python3 player/update/tests/update_server.py "$out/server.json" >"$out/port.txt" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q PORT "$out/port.txt" && break; sleep 0.2; done
base="http://127.0.0.1:$(awk '{print $2}' "$out/port.txt")"
printf '[Main]\r\nUpdateServer=%s\r\n' "$base" >"$out/config/Tavrel/Zorvan.ini"

export ZORVAN=$(realpath "$BUILD/bin/zorvan") OUT=$out
export XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data XDG_RUNTIME_DIR=$out/runtime
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1000x600x24" "$(realpath "$0")" --tour
echo "fetched: $(ls "$out/data/Zorvan/updates" | tr '\n' ' ')"
xvfb-run -a -s "-screen 0 640x400x24" "$BUILD/bin/update_window_picture" "$base" "$out/pages"
