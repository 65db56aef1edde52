#!/usr/bin/env bash
# Benchmark of the solver on fixed delays: a component that fails at rate
# 0.5 and is rebooted exactly 1 after it fails (its two-state run written
# here by hand), at several times, over [0, t] and in the long run; and the memory
# array at its time point 365 and in the long run for N = 1 to 4 RAMs
# (solved in independent parts); and a delay that a move disables before it
# fires, at several times. Prints one markdown table row per
# run: what was asked, the outcome (the largest error, or the refusal), the
# solver's wall and user time and its peak resident memory.
#
# Usage: bench/delay_bench.sh [build dir] [work dir]
set -euo pipefail

build=${1:-build}
work=${2:-bench/out}
mkdir -p "$work"

reboot="$work/reboot"
printf 'Version:1\nNumPV:1\nName:down\nType:0\nNumTimes:0\n' >"$reboot.pvtype"
printf '1\n2\n   \n1\n2\n5.0000000000e-01\n0\n2\n1\n-1.0000000000e+00\n0\n' >"$reboot.arm"
printf 'down\n1\n0\n0\n2\n0\n1\n' >"$reboot.var"
printf '1\n1.0000000000e+00\n2\n0\n' >"$reboot.det"
# The same run with the variable accumulated over [0, t] (type 1).
for suffix in arm var det; do cp "$reboot.$suffix" "$work/reboot_over.$suffix"; done
printf 'Version:1\nNumPV:1\nName:down\nType:1\nNumTimes:0\n' >"$work/reboot_over.pvtype"

# Runs solve with the arguments and prints the row labelled $1.
measure() {
  local label=$1
  shift
  local timing="$work/delay.time"
  local status=0
  /usr/bin/time -v -o "$timing" "$build/solve" "$@" >"$work/delay.out" 2>"$work/delay.err" ||
    status=$?
  local outcome
  if [ "$status" -eq 0 ]; then
    outcome=$(awk 'f && NF == 4 && $4 > e { e = $4 } /^variable/ { f = 1 } END {
                 printf "largest error %s", e }' e=0 "$work/delay.out")
  else
    outcome="refused: $(sed -e 's/^solve: [^:]*: //' -e 's/ (.*) enables/ enables/' "$work/delay.err" | cut -c1-120)"
  fi
  local wall user rss_kb
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
           n = split($2, part, ":"); s = 0
           for (i = 1; i <= n; i++) s = s * 60 + part[i]
           print s }' "$timing")
  user=$(awk -F': ' '/User time/ { print $2 }' "$timing")
  rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$timing")
  awk -v l="$label" -v o="$outcome" -v w="$wall" -v u="$user" -v r="$rss_kb" 'BEGIN {
    printf "| %s | %s | %.2f | %.2f | %.1f |\n", l, o, w, u, r / 1024 }'
}

printf '| run | outcome | wall s | user s | peak RSS MB |\n|---|---|---|---|---|\n'
measure "reboot, long run" -s "$reboot"
measure "reboot, t = 0.5, 1, 1.5, 2, 3.7, 10" -t 0.5,1,1.5,2,3.7,10 "$reboot"
measure "reboot, t = 100, 1000" -t 100,1000 "$reboot"
measure "reboot, over [0, t], t = 0.5, 1.5, 10, 100" -t 0.5,1.5,10,100 "$work/reboot_over"
for n in 1 2 3 4; do
  name="$work/memory_array_$n"
  "$build/bench/memory_array" -P"$work/" -Nmemory_array_$n -B$((n - 1)) -D -M >/dev/null
  measure "memory array N = $n, at 365 and in the long run" -s "$name"
  rm -f "$name".*
done
# A delay that a repair disables before it fires (the test model
# interrupted_exposure.san): its own times up to 3.5, and up to 40 delays on.
exposure="$work/interrupted_exposure"
"$build/tests/measure_models/interrupted_exposure" -P"$work/" -Ninterrupted_exposure -B0 -D \
  >/dev/null
measure "interrupted exposure, its own times (to 3.5)" "$exposure"
measure "interrupted exposure, t = 10, 40 (over [0, t]), -e 1e-9" -e 1e-9 -t 10,40 "$exposure"
rm -f "$exposure".*
rm -f "$reboot".* "$work"/reboot_over.* "$work"/delay.*
