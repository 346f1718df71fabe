#!/bin/bash
# Times a real peer player adding a folder of sound files: Debian's audacious, headless,
# in a private session bus and home, driven with audtool. Prints the milliseconds from
# the add command until the playlist holds every file and the last one has its length
# (the peer reads tags and lengths in the background after listing the files).
# Usage: bench/peer_add_folder.sh FOLDER FILE_COUNT
set -euo pipefail
folder=$1
count=$2
if ! command -v audacious >/dev/null || ! command -v audtool >/dev/null; then
    echo "audacious is not installed (apt-get install audacious)" >&2
    exit 2
fi
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${PEER_IN_SESSION:-}" ]; then
    exec env PEER_IN_SESSION=1 dbus-run-session -- "$0" "$@" 2>/dev/null
fi
home=$(mktemp -d)
trap 'audtool shutdown >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
timeout 600 audacious -H >/dev/null 2>&1 &
for _ in $(seq 100); do audtool version >/dev/null 2>&1 && break; sleep 0.1; done

now_ms() { date +%s%3N; }
start=$(now_ms)
audtool playlist-addurl "$folder"
until [ "$(audtool playlist-length)" -ge "$count" ]; do sleep 0.05; done
until [ "$(audtool playlist-song-length-frames "$count")" -gt 0 ]; do sleep 0.05; done
echo "peer (audacious) adding $count files: $(($(now_ms) - start)) ms"
