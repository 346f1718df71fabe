#!/usr/bin/env bash
# The whole player's processor use while it plays a song, with the visualisation window
# hidden and shown by turns in one run (on a virtual X server, sound to the disk driver),
# and the ratio shown / hidden.
#   bench/vis_cpu.sh [BUILD] [SECONDS per turn, default 8]
set -euo pipefail
build=$(realpath "${1:-build}")
turn=${2:-8}
if [[ ${3:-} == --inside ]]; then
    cpu() { awk '{print $14 + $15}' "/proc/$player/stat"; }  # clock ticks
    "$build/bin/zorvan" "$SONG" >/dev/null 2>&1 &
    player=$!
    for _ in $(seq 50); do xdotool search --onlyvisible --name Tavrel >/dev/null 2>&1 && break; sleep 0.2; done
    xdotool search --onlyvisible --name Tavrel windowmove 0 220
    sleep 2
    declare -A used=([hidden]=0 [shown]=0)
    for state in hidden shown hidden shown; do
        [[ $state == shown ]] && xdotool mousemove 224 382 click 1 && sleep 1
        before=$(cpu)
        sleep "$turn"
        used[$state]=$((used[$state] + $(cpu) - before))
        [[ $state == shown ]] && xdotool mousemove 224 382 click 1 && sleep 1
    done
    kill "$player"
    wait "$player" || true
    hz=$(getconf CLK_TCK)
    python3 - "${used[hidden]}" "${used[shown]}" "$hz" "$turn" <<'PY'
import sys
hidden, shown, hz, turn = (float(v) for v in sys.argv[1:])
per = lambda ticks: ticks / hz * 1000 / (2 * turn)
print(f"{'player while playing':<24}{'cpu ms/s':>9}")
print(f"{'  visualisation hidden':<24}{per(hidden):>9.1f}")
print(f"{'  visualisation shown':<24}{per(shown):>9.1f}")
print(f"{'  shown / hidden':<24}{shown / max(hidden, 1):>9.2f}")
PY
    exit
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONG=$work/song.mp3
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "aevalsrc=0.3*sin(2*PI*220*t)*(1+sin(2*PI*0.7*t))/2+0.2*sin(2*PI*554*t)+0.05*(random(0)-0.5):s=44100:d=$((4 * turn + 20))" \
    -ac 2 -c:a libmp3lame -b:a 128k -id3v2_version 3 -metadata title="Bench" "$SONG"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/sound.raw QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" "$(realpath "$0")" "$build" "$turn" --inside
