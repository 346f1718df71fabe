#!/usr/bin/env bash
# Runs CTest in a build folder inside a private session bus and fresh XDG folders, so
# tests never see the user's settings, data, sockets or desktop session. Arguments after
# the build folder and the number of jobs go to CTest (`-R pattern`).
set -euo pipefail
build=${1:-build}
jobs=${2:-$(nproc)}
shift $(($# < 2 ? $# : 2))
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for d in runtime config data cache; do mkdir -p "$tmp/$d"; done
chmod 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
       XDG_CACHE_HOME="$tmp/cache" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
cd "$build"
if command -v dbus-run-session >/dev/null 2>&1; then
  exec dbus-run-session -- ctest --output-on-failure -j "$jobs" --timeout 300 "$@"
fi
exec ctest --output-on-failure -j "$jobs" --timeout 300 "$@"
