#!/usr/bin/env bash
# The whole player on a virtual X server, main window shown, sound to SDL's dummy driver:
#  - processor time while a 192 kbit/s MP3 plays (steady state, after a warm-up), against
#    mpv (no video, null output) playing the same file at the same time; once with an
#    empty playlist and once with 10,000 entries in the playlist panel;
#  - start-up to a shown window with a 10,000-entry "Default.pls" and a 1,000-artist
#    library index, against the same start with neither file.
# Prints each as a ratio (below 1: we use less).
#   bench/play_cpu.sh [BUILD] [SECONDS measured, default 60] [WARM-UP seconds, default 10]
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-60}
warmup=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)

if [[ ${4:-} == --inside ]]; then
    ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
    hz=$(getconf CLK_TCK)
    # Fresh settings and program folder, optionally with the big playlist and index.
    fresh() {
        rm -rf "$WORK/home" && mkdir -p "$WORK/home/data/Zorvan" "$WORK/home/config"
        export XDG_CONFIG_HOME=$WORK/home/config XDG_DATA_HOME=$WORK/home/data
        if [[ $1 == full ]]; then
            cp "$WORK/Default.pls" "$WORK/AllMusik.aml" "$WORK/home/data/Zorvan/"
        fi
    }
    shown() {  # waits until the main window is mapped; false after 30 s
        for _ in $(seq 3000); do
            xdotool search --onlyvisible --name '^Tavrel$' >/dev/null 2>&1 && return 0
            sleep 0.01
        done
        return 1
    }
    stop() {
        kill "$@" 2>/dev/null || true
        wait "$@" 2>/dev/null || true
    }

    printf '%-34s%10s%10s%8s\n' "playing (cpu s per minute)" ours mpv ratio
    for list in empty full; do
        fresh "$list"
        "$build/bin/zorvan" "$SONG" >/dev/null 2>&1 &
        player=$!
        mpv --no-config --no-terminal --no-video --ao=null "$SONG" &
        peer=$!
        shown || { echo "the window did not show"; exit 1; }
        sleep "$warmup"
        ours=$(ticks "$player") theirs=$(ticks "$peer")
        sleep "$seconds"
        ours=$(($(ticks "$player") - ours)) theirs=$(($(ticks "$peer") - theirs))
        stop "$player" "$peer"
        python3 - "$ours" "$theirs" "$hz" "$seconds" "$list" <<'PY'
import sys
ours, theirs, hz, seconds = (float(v) for v in sys.argv[1:5])
label = {"empty": "  empty playlist", "full": "  10,000 entries"}[sys.argv[5]]
per_minute = lambda ticks: ticks / hz * 60 / seconds
print(f"{label:<34}{per_minute(ours):>10.2f}{per_minute(theirs):>10.2f}"
      f"{ours / max(theirs, 1):>8.2f}")
PY
    done

    # Start-up: launch to shown window, wall and processor time; median of three.
    for list in empty full; do
        for run in 1 2 3; do
            fresh "$list"
            start=$(date +%s%N)
            "$build/bin/zorvan" >/dev/null 2>&1 &
            player=$!
            shown || { echo "the window did not show"; exit 1; }
            echo "$list $((($(date +%s%N) - start) / 1000000)) $(ticks "$player")" >>"$WORK/startup"
            stop "$player"
        done
    done
    python3 - "$WORK/startup" "$hz" <<'PY'
import statistics, sys
hz = float(sys.argv[2])
runs = {"empty": [], "full": []}
for line in open(sys.argv[1]):
    kind, wall, ticks = line.split()
    runs[kind].append((float(wall), float(ticks) / hz * 1000))
med = lambda kind, i: statistics.median(r[i] for r in runs[kind])
print(f"{'start-up to a shown window':<34}{'empty':>10}{'full':>10}{'ratio':>8}")
for i, what in enumerate(["  wall ms", "  cpu ms"]):
    print(f"{what:<34}{med('empty', i):>10.0f}{med('full', i):>10.0f}"
          f"{med('full', i) / max(med('empty', i), 1):>8.2f}")
PY
    exit
fi

if ! command -v mpv >/dev/null || ! command -v xvfb-run >/dev/null ||
    ! command -v xdotool >/dev/null || [[ ! -x $build/bin/zorvan ]]; then
    echo "play_cpu: needs mpv, xvfb-run, xdotool and the player"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WORK=$work SONG=$work/song.mp3
# Two tones that swell and fade over a little noise, long enough for both turns.
ffmpeg -nostdin -loglevel error -y -f lavfi \
    -i "aevalsrc=0.3*sin(2*PI*220*t)*(1+sin(2*PI*0.7*t))/2+0.2*sin(2*PI*554*t)+0.05*(random(0)-0.5):s=44100:d=$((warmup + seconds + 30))" \
    -ac 2 -c:a libmp3lame -b:a 192k -id3v2_version 3 -metadata title="Bench" "$SONG"
python3 "$here/big_library.py" "$work" 10000 1000
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" "$(realpath "$0")" "$build" "$seconds" "$warmup" --inside
