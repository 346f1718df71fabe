#!/usr/bin/env bash
# Tries the tag editor and the song search as a user would, on a virtual X server: starts
# `zorvan` with a tagged song after two in the saved playlist, opens the tag editor on the first row with
# Ctrl+T, edits the title and saves, then opens the song search with Ctrl+F, types a word
# and picks the lyrics category, taking a screenshot of each window at each step.
#   scripts/try-dialogs.sh [OUT_DIR]
# The pictures go to OUT_DIR (default build/try-dialogs/).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
source scripts/tour-common.sh
if [[ ${1:-} == --tour ]]; then
    shot() {  # name, window title
        sleep 1
        import -window "$(xdotool search --onlyvisible --name "$2" | head -1)" "$OUT/$1.png"
        echo "$OUT/$1.png"
    }
    keys() { xdotool key --delay 80 "$@"; }
    "$ZORVAN" "${@:2}" >"$OUT/zorvan.log" 2>&1 &
    player=$!
    wait_for_player
    sleep 1
    # The main window lower right, so the dialogs at the screen's corner do not hide it.
    xdotool search --onlyvisible --name Tavrel windowmove 150 150
    sleep 0.5
    import -window root "$OUT/screen-start.png"
    # The first playlist row, then the editor by its shortcut.
    xdotool mousemove 800 421 click 1
    keys ctrl+t
    shot editor-loaded "Редактор MP3-тегов"
    xdotool search --onlyvisible --name "Редактор MP3-тегов" windowfocus
    sleep 0.3
    keys ctrl+a
    xdotool type --delay 150 "Утренний ритм"
    shot editor-edited "Редактор MP3-тегов"
    keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space  # OK
    shot editor-saved "Редактор MP3-тегов"
    keys space  # "Close", which the focus moved to from the disabled OK
    sleep 0.5
    import -window root "$OUT/screen-after-save.png"
    xdotool search --onlyvisible --name Tavrel windowfocus
    xdotool mousemove 800 421 click 1
    keys ctrl+f
    shot search-shown "Поиск песни"
    xdotool search --onlyvisible --name "Поиск песни" windowfocus
    sleep 0.3
    xdotool type --delay 150 "песня 3"
    shot search-typed "Поиск песни"
    keys Tab Down Down  # category: by a word of the lyrics
    sleep 0.3
    keys shift+Tab
    xdotool type --delay 150 "солнце"
    shot search-lyrics "Поиск песни"
    kill "$player"
    wait "$player" || true
    exit
fi

out=$(realpath -m "${1:-$BUILD/try-dialogs}")
rm -rf "$out"
mkdir -p "$out/songs"
for n in 1 2 3; do
    ffmpeg -nostdin -loglevel error -y -f lavfi \
        -i "sine=frequency=$((300 + n * 110)):sample_rate=44100:duration=$((60 + n * 7))" \
        -ac 2 -c:a libmp3lame -b:a 96k -id3v2_version 3 \
        -metadata title="Песня $n" -metadata artist="Оркестр $n" -metadata album="Тоны" \
        -metadata genre="Ambient" -metadata track=$n -metadata date=2004 "$out/songs/song$n.mp3"
done
# Lyrics in the second song only, for the search by a word of the lyrics.
/usr/bin/python3 - "$out/songs/song2.mp3" <<'PY'
import sys
from mutagen.id3 import ID3, USLT
tag = ID3(sys.argv[1])
tag.add(USLT(encoding=1, lang="rus", desc="", text="Солнце встаёт над рекой,\nи день начинается"))
tag.save(v2_version=3)
PY
# The other two wait in the saved playlist; the first comes from the command line.
mkdir -p "$out/data/Zorvan"
printf '[playlist]\nFile1=%s\nTitle1=Песня 2\nLength1=67000\nFile2=%s\nTitle2=Песня 3\nLength2=74000\nNumberOfEntries=2\nVersion=2\n' \
    "$out/songs/song2.mp3" "$out/songs/song3.mp3" >"$out/data/Zorvan/Default.pls"
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target zorvan -j2 >/dev/null
tour_environment "$out"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
xvfb-run -a -s "-screen 0 1100x700x24" bash ${TRACE:+-x} "$(realpath "$0")" --tour "$out/songs/song1.mp3"
