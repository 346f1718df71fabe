#!/usr/bin/env bash
# Runs every benchmark of the build folder and, where a peer exists, the peer on the same
# files, then prints our times, the peer's and the ratio of CPU times (below 1: we are
# faster). CPU time is the fairer measure on a busy machine; wall time includes waits.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name of a benchmark program -> peer script taking the fixture folder
declare -A peers=([playlist_bench]="$here/peers/playlist_peer.py"
                 [effects_bench]="$here/peers/effects_peer.py"
                 [soundlib_bench]="$here/peers/soundlib_peer.py"
                 [songmeta_bench]="$here/peers/songmeta_peer.py"
                 [library_bench]="$here/peers/library_peer.py"
                 [search_bench]="$here/peers/search_peer.py"
                 [vis_bench]="$here/peers/vis_peer.py")

for program in "$build"/bin/*_bench; do
  name=$(basename "$program")
  mkdir -p "$work/$name"
  ZORVAN_BENCH_FIXTURES="$work/$name" "$program" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_out="$work/$name.json" \
    --benchmark_out_format=json >/dev/null 2>"$work/$name.log"
  peer_json=""
  if [ -n "${peers[$name]:-}" ]; then peer_json=$(python3 "${peers[$name]}" "$work/$name"); fi
  python3 - "$work/$name.json" "$peer_json" <<'PY'
import json, sys
ours = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
peer = json.loads(sys.argv[2]) if sys.argv[2] else {}
scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
# Times under 10 ms keep three decimals, so sub-millisecond work still reads.
ms = lambda v, w: f"{v:>{w}.3f}" if v < 10 else f"{v:>{w}.1f}"
print(f"{'benchmark':<24}{'wall ms':>9}{'cpu ms':>9}{'peer wall':>11}{'peer cpu':>10}{'cpu ratio':>11}")
for name, b in ours.items():
    real = b["real_time"] * scale[b["time_unit"]]
    cpu = b["cpu_time"] * scale[b["time_unit"]]
    p = peer.get(name)
    tail = f"{ms(p[0], 11)}{ms(p[1], 10)}{cpu / p[1]:>11.2f}" if p else ""
    print(f"{name:<24}{ms(real, 9)}{ms(cpu, 9)}{tail}")
PY
done

# The whole player with its visualisation shown against hidden, and playing and starting
# against its peers, where a virtual X server can be started.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && [ -x "$build/bin/zorvan" ]; then
  bash "$here/vis_cpu.sh" "$build"
  bash "$here/play_cpu.sh" "$build"
fi
