#!/usr/bin/env bash
# Builds the tag-reader fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs
# each for a bounded time, seeded with the real tag files when they are there.
#   songmeta/fuzz/run-fuzzers.sh [work folder] [seconds per fuzzer] [peer folder]
# Fails when a fuzzer finds a crash, a leak or undefined behaviour; the input that did it
# is left in the work folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${1:-$root/build/songmeta-fuzz}
seconds=${2:-20}
peers=${3:-$root/../shared/peers}
mkdir -p "$work"
source "$root/scripts/fuzz-common.sh"

sources=("$root"/songmeta/{file_rebuild,genre_table,song_file,song_information,tag_text,text_pool,id3v1_tag,id3v2_tag,track_number,wma_file}.cpp
         "$root"/platform/{text,file_io,replacement_file}.cpp)
flags=(-std=c++20 -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=undefined -I "$root")

# The library's sources are compiled once and shared by the three fuzzers.
objects=()
for source in "${sources[@]}"; do
  object="$work/$(basename "$(dirname "$source")")_$(basename "$source" .cpp).o"
  if [ ! -f "$object" ] || [ -n "$(find "$root/songmeta" "$root/platform" -maxdepth 1 -newer "$object" -name '*.[ch]*' -print -quit)" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$object"
  fi
  objects+=("$object")
done

for reader in id3v1 id3v2 wma; do
  binary="$work/fuzz_$reader"
  clang++ "${flags[@]}" -fsanitize=fuzzer "$here/fuzz_$reader.cpp" "${objects[@]}" -o "$binary"
  corpus="$work/corpus_$reader"
  mkdir -p "$corpus"
  if [ -d "$peers/tags" ]; then
    case $reader in
      wma) find "$peers/tags" -name '*.wma' -exec cp -n {} "$corpus/" \; ;;
      *) find "$peers/tags" \( -name '*.mp3' -o -name '*.id3' \) -size -64k -exec cp -n {} "$corpus/" \; ;;
    esac
  fi
  fuzz_run "$reader" "$binary" "$corpus" 65536
done
