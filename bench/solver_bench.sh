#!/usr/bin/env bash
# Benchmark of the solver: generates a few runs, solves each and prints one
# markdown table row per run with the states, transitions, the
# uniformization rate q, the steps taken of those the last time point needs,
# the solver's wall and user time and its peak resident memory.
#
# Usage: bench/solver_bench.sh [build dir] [work dir]
# The runs: kanban t = 4 and t = 5 at time 1.0; two stiff ones, where q t
# is in the millions: kanban t = 3 at time 1e6, and this build's model
# (experiment 1) at time 1e6, whose watchdog delay of 0.00347 fits too
# often before it for the exact series, and becomes Erlang phases of rate
# up to 600 against failures at rate 0.003.
set -euo pipefail

build=${1:-build}
work=${2:-bench/out}
mkdir -p "$work"

# model:experiment:time:label
runs="kanban:3:1.0:kanban_t=4 kanban:4:1.0:kanban_t=5 kanban:2:1e6:kanban_t=3 gen:0:1e6:this_build_exp1"

printf '| run | states | transitions | time | q | steps taken / needed | wall s | user s |'
printf ' peak RSS MB |\n|---|---|---|---|---|---|---|---|---|\n'
for run in $runs; do
  IFS=: read -r model experiment time label <<<"$run"
  exe="$build/bench/$model"
  [ "$model" = gen ] && exe="$build/gen"
  name="solve-$model-$experiment"
  "$exe" -P"$work/" -N"$name" -B"$experiment" -D >"$work/$name.log"
  timing="$work/$name.time"
  /usr/bin/time -v -o "$timing" "$build/solve" -t "$time" "$work/$name" >"$work/$name.solution"
  states=$(awk '$1 == "Generated:" { print $2 }' "$work/$name.log")
  # Target entries of the .arm file: the lines after the header that are
  # neither a record's number nor its 0, in pairs.
  transitions=$(awk -v n="$states" 'NR > 2 && !/^ *$/ { lines++ } END { print (lines - 2 * n) / 2 }' \
                  "$work/$name.arm")
  steps=$(awk '/^uniformization rate/ { sub(":", "", $3); print $3 "\t" $4 " / " $7 }' \
            "$work/$name.solution")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
           n = split($2, part, ":"); s = 0
           for (i = 1; i <= n; i++) s = s * 60 + part[i]
           print s }' "$timing")
  user=$(awk -F': ' '/User time/ { print $2 }' "$timing")
  rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$timing")
  IFS=$'\t' read -r q taken <<<"$steps"
  awk -v l="${label//_/ }" -v s="$states" -v t="$transitions" -v time="$time" \
      -v q="$q" -v taken="$taken" -v w="$wall" -v u="$user" -v r="$rss_kb" 'BEGIN {
    printf "| %s | %d | %d | %s | %s | %s | %.2f | %.2f | %.1f |\n", l, s, t, time, q, taken, w, u,
      r / 1024
  }'
  rm -f "$work/$name".*
done
