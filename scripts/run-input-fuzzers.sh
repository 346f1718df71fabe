#!/usr/bin/env bash
# Builds the fuzzers of the program's other readers of untrusted input with clang
# (libFuzzer, AddressSanitizer, UBSan) and runs each for a bounded time, seeded with the
# corpus kept beside it in the tree: the INI layer, the window-message decoder, the
# playlist readers (PLS and M3U) and the music library index.
#   scripts/run-input-fuzzers.sh [work folder] [seconds per fuzzer]
# Fails when a fuzzer finds a crash, a leak, a hang or undefined behaviour; the input that
# did it is left in the work folder. New inputs found go to the work folder's corpora.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build/input-fuzz}
seconds=${2:-20}
mkdir -p "$work"
source "$root/scripts/fuzz-common.sh"
export TMPDIR=$work

flags=(-std=c++20 -O1 -g -fPIC -fsanitize=address,undefined -fno-sanitize-recover=undefined -I "$root")
read -r -a qt <<<"$(pkg-config --cflags Qt6Core)"
read -r -a qtlibs <<<"$(pkg-config --libs Qt6Core)"

# Compiles a source once into the work folder, again when a source or header changed.
object() {
  local source=$1 out
  out="$work/$(echo "${source#"$root"/}" | tr / _ | sed 's/\.cpp$/.o/')"
  if [ ! -f "$out" ] || [ -n "$(find "$root/platform" "$root/player/playlist" "$root/player/engine" -maxdepth 1 -newer "$out" -name '*.[ch]*' -print -quit)" ]; then
    clang++ "${flags[@]}" "${qt[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$out"
  fi
  echo "$out"
}

platform=(text ini_document file_io replacement_file window_wire)
platform_objects=()
for name in "${platform[@]}"; do platform_objects+=("$(object "$root/platform/$name.cpp")"); done
playlist_objects=("$(object "$root/player/playlist/playlist.cpp")"
                  "$(object "$root/player/playlist/internet_address.cpp")")
index_objects=("$(object "$root/player/engine/library_index.cpp")")

# name, folder of the fuzzer and its corpus, extra objects, extra libraries
run() {
  local name=$1 folder=$2 extra=$3 libs=$4
  local binary="$work/fuzz_$name" corpus="$work/corpus_$name"
  # shellcheck disable=SC2086
  clang++ "${flags[@]}" "${qt[@]}" -fsanitize=fuzzer "$root/$folder/fuzz_$name.cpp" \
    "${platform_objects[@]}" $extra $libs -o "$binary"
  mkdir -p "$corpus"
  cp -n "$root/$folder/corpus_$name"/* "$corpus/" 2>/dev/null || true
  fuzz_run "$name" "$binary" "$corpus" 8192
}

run ini platform/fuzz "" ""
run window_wire platform/fuzz "" ""
run playlist player/playlist/fuzz "${playlist_objects[*]}" "${qtlibs[*]}"
run library_index player/engine/fuzz "${index_objects[*]}" "${qtlibs[*]}"
