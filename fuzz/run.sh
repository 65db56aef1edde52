#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzzing build for a while, starting from
# its seed corpus, and stops at the first fault with the input that found it.
# Usage: fuzz/run.sh [fuzz build dir] [seconds per target] [target...]
# New inputs go to <build>/fuzz-corpus/<target>, faults to
# <build>/fuzz-artifacts; the seeds in fuzz/corpus are only read. A fault's
# input, once fixed, belongs in fuzz/corpus/<target> as a regression input.
set -euo pipefail

build=${1:-build-fuzz}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/*_fuzzer; do
    name=$(basename "$exe")
    targets+=("${name%_fuzzer}")
  done
fi

mkdir -p "$build/fuzz-artifacts"
for target in "${targets[@]}"; do
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work"
  # A target may have a dictionary of the words of its input's language.
  dict=$(dirname "$seeds")/dict/$target.dict
  dict_option=()
  [ -f "$dict" ] && dict_option=(-dict="$dict")
  echo "fuzzing $target for $seconds s"
  # -close_fd_mask=3 silences the target's own output; -timeout (generous,
  # as a loaded machine slows every run down) and -rss_limit_mb turn a hang
  # or a runaway allocation into a finding.
  if ! "$build/fuzz/${target}_fuzzer" "$work" "$seeds/$target" \
      -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -max_len=65536 \
      -close_fd_mask=3 -print_final_stats=1 "${dict_option[@]}" \
      -artifact_prefix="$build/fuzz-artifacts/$target-" >"$build/fuzz-$target.log" 2>&1; then
    tail -n 40 "$build/fuzz-$target.log" >&2
    echo "fuzz target $target found a fault; its input is in $build/fuzz-artifacts/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz-$target.log" || true
done
