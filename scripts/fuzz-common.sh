# Shared by the fuzz scripts: sourced, not run. Expects `work` (the work folder) and
# `seconds` (the time per fuzzer) to be set.

# Runs a built fuzzer on its corpus for the set time; on a finding prints the end of its
# log and exits with a failure, leaving the input that did it in the work folder.
#   fuzz_run name binary corpus max_len
fuzz_run() {
  local name=$1 binary=$2 corpus=$3 max_len=$4
  echo "fuzz_$name: $seconds s"
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -max_len="$max_len" \
     -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" 2>"$work/fuzz_$name.log") || {
    tail -40 "$work/fuzz_$name.log"
    exit 1
  }
  grep -E "stat::number_of_executed_units" "$work/fuzz_$name.log" || true
}
