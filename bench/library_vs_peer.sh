#!/bin/bash
# Adds the same generated folder of tagged MP3 files with Zorvan's engine and with a peer
# player, and prints both times and their ratio.
# Usage: bench/library_vs_peer.sh BUILD_DIR [FILE_COUNT]
set -euo pipefail
build=$1
count=${2:-10000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/zorvan_library_bench" "$count" "$work" | tee "$work/ours.txt"
"$here/peer_add_folder.sh" "$work/music" "$count" | tee "$work/peer.txt"
ours=$(sed -n 's/^AddSources of [0-9]* files: \([0-9]*\) ms.*/\1/p' "$work/ours.txt")
peer=$(sed -n 's/.*files: \([0-9]*\) ms$/\1/p' "$work/peer.txt")
awk -v o="$ours" -v p="$peer" 'BEGIN { printf "ratio Zorvan / peer: %.1f\n", o / p }'
