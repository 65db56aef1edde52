#!/usr/bin/env bash
# Benchmark of the solver: generates a few runs, solves each and prints one
# markdown table row per run with the states, transitions, what was asked,
# the uniformization rate q and the steps taken of those the last time
# point needs (transient runs), the generator's user time, the solver's
# wall and user time and its peak resident memory.
#
# Usage: bench/solver_bench.sh [build dir] [work dir] [runs...]
# A run is model:experiment:question:label, the question one of
#   t=<time>       the variables at that instant (-t)
#   own            the variables at their own time points (kanban: 365)
#   average        the variables averaged over [0, their time point]
#   long           the variables in the long run (-s -t 0)
# The default runs: kanban t = 4 and 5 at 1.0 and at their own 365 (t = 4
# at 365 is the 3,925-step problem of issue 22), kanban t = 5 averaged over
# [0, 365], two stiff ones where q t is in the millions (kanban t = 3 and
# this build's model, experiment 1, at 1e6, whose watchdog delay of
# 0.00347 fits too often before it for the exact series, and becomes
# Erlang phases of rate up to 600 against failures at rate 0.003), and the
# long run of kanban t = 4 and t = 5 (454,475 and 2,546,432 states).
set -euo pipefail

build=${1:-build}
work=${2:-bench/out}
shift $(( $# > 2 ? 2 : $# ))
runs="$*"
[ -n "$runs" ] || runs="kanban:3:t=1.0:kanban_t=4 kanban:3:own:kanban_t=4 kanban:4:t=1.0:kanban_t=5
  kanban:4:own:kanban_t=5 kanban:4:average:kanban_t=5 kanban:2:t=1e6:kanban_t=3
  gen:0:t=1e6:this_build_exp1 kanban:3:long:kanban_t=4 kanban:4:long:kanban_t=5"
mkdir -p "$work"

seconds() {  # "m:ss.ss" or "h:mm:ss" of /usr/bin/time -v into seconds
  awk -F': ' -v key="$2" '$0 ~ key {
    n = split($2, part, ":"); s = 0
    for (i = 1; i <= n; i++) s = s * 60 + part[i]
    print s }' "$1"
}

printf '| run | states | transitions | question | q | steps taken / needed | gen user s |'
printf ' solve wall s | solve user s | peak RSS MB |\n|---|---|---|---|---|---|---|---|---|---|\n'
for run in $runs; do
  IFS=: read -r model experiment question label <<<"$run"
  exe="$build/bench/$model"
  [ "$model" = gen ] && exe="$build/gen"
  name="solve-$model-$experiment"
  /usr/bin/time -v -o "$work/$name.gentime" "$exe" -P"$work/" -N"$name" -B"$experiment" -D \
    >"$work/$name.log"
  options=()
  case "$question" in
    t=*) options=(-t "${question#t=}") ;;
    own) ;;
    average)
      # Until the model language says it, the variables become averages
      # over [0, their time point] in the run's type file.
      sed -i -e 's/^Type:0$/Type:2/' -e 's/^Start:.*/Start:0/' "$work/$name.pvtype" ;;
    long) options=(-s -t 0) ;;
  esac
  timing="$work/$name.time"
  /usr/bin/time -v -o "$timing" "$build/solve" "${options[@]}" "$work/$name" \
    >"$work/$name.solution"
  states=$(awk '$1 == "Generated:" { print $2 }' "$work/$name.log")
  # Target entries of the .arm file: the lines after the header that are
  # neither a record's number nor its 0, in pairs.
  transitions=$(awk -v n="$states" 'NR > 2 && !/^ *$/ { lines++ } END { print (lines - 2 * n) / 2 }' \
                  "$work/$name.arm")
  steps=$(awk '/^uniformization rate/ { sub(":", "", $3); print $3 "\t" $4 " / " $7 }' \
            "$work/$name.solution")
  [ -n "$steps" ] || steps=$'-\t-'
  gen_user=$(awk -F': ' '/User time/ { print $2 }' "$work/$name.gentime")
  wall=$(seconds "$timing" 'Elapsed \\(wall clock\\)')
  user=$(awk -F': ' '/User time/ { print $2 }' "$timing")
  rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$timing")
  IFS=$'\t' read -r q taken <<<"$steps"
  awk -v l="${label//_/ }" -v s="$states" -v t="$transitions" -v what="$question" \
      -v q="$q" -v taken="$taken" -v g="$gen_user" -v w="$wall" -v u="$user" -v r="$rss_kb" 'BEGIN {
    printf "| %s | %d | %d | %s | %s | %s | %.2f | %.2f | %.2f | %.1f |\n", l, s, t, what, q, taken,
      g, w, u, r / 1024
  }'
  rm -f "$work/$name".*
done
