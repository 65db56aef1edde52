#!/usr/bin/env bash
# Benchmark harness: runs each benchmark model over a range of sizes and
# prints one markdown table row per run with the states, transitions, wall
# time, throughput, peak resident memory and output volume. Runs of netgen
# (model "netgen", the net in place of the experiment) read the nets of
# bench/nets and tests/netimport/nets, with a reward file beside the net
# when there is one, and the ring of 1000 transitions written by
# bench/nets/ring_net.sh.
#
# Usage: bench/run_bench.sh [quick|large] [build dir] [work dir]
#   quick (default): sizes that finish in seconds; large: up to the biggest
#   sizes (kanban t = 7 needs about 20 GB of disk and several minutes).
# The work dir holds the output files of the run in progress; each run's
# files are removed once measured.
set -euo pipefail

mode=${1:-quick}
build=${2:-build}
work=${3:-bench/out}

case "$mode" in
  quick)
    runs="kanban:0 kanban:1 kanban:2 kanban:3 kanban:4
          memory_array:5 memory_array:7 memory_array:8
          job_shop:3 job_shop:4 job_shop:5
          netgen:TokenRing-PT-005 netgen:SwimmingPool-PT-01 netgen:JumpRing-1000
          netgen:Kanban-PT-00005"
    ;;
  large)
    runs="kanban:3 kanban:4 kanban:5 kanban:6
          memory_array:8 memory_array:9 memory_array:10
          job_shop:4 job_shop:5 job_shop:6
          netgen:JumpRing-1000 netgen:Kanban-PT-00005"
    ;;
  *)
    echo "usage: $0 [quick|large] [build dir] [work dir]" >&2
    exit 2
    ;;
esac

mkdir -p "$work"
bench/nets/ring_net.sh 100 10 3 >"$work/JumpRing-1000.pnml"

# The command of one run, without its output options, into the array run_command.
set_run_command() {
  local model=$1 experiment=$2 dir
  if [ "$model" != netgen ]; then
    run_command=("$build/bench/$model" -B"$experiment")
    return
  fi
  for dir in bench/nets tests/netimport/nets "$work"; do
    if [ -f "$dir/$experiment.pnml" ]; then
      run_command=("$build/netgen" -m"$dir/$experiment.pnml")
      if [ -f "$dir/$experiment.rewards" ]; then
        run_command+=(-w"$dir/$experiment.rewards")
      fi
      return
    fi
  done
  echo "no net $experiment.pnml" >&2
  exit 1
}

# Transitions are the target entries of the .arm file: every line after the
# header (line 1, the count and its padding line, which is absent when the
# count fills the placeholder) that is neither a record's number nor its 0.
count_transitions() {
  local arm=$1 records=$2 lines pad
  lines=$(wc -l <"$arm")
  pad=$(sed -n 3p "$arm" | grep -c -E '^ *$' || true)
  echo $(((lines - 2 - pad - 2 * records) / 2))
}

printf '| model | experiment | states | transitions | wall s | states/s | transitions/s |'
printf ' peak RSS MB | bytes/state | output MB | output MB/s |\n'
printf '|---|---|---|---|---|---|---|---|---|---|---|\n'
for run in $runs; do
  model=${run%%:*}
  experiment=${run##*:}
  name="$model-$experiment"
  log="$work/$name.log"
  timing="$work/$name.time"
  set_run_command "$model" "$experiment"
  /usr/bin/time -v -o "$timing" "${run_command[@]}" -P"$work/" -N"$name" >"$log"
  states=$(awk '$1 == "Generated:" { print $2 }' "$log")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
           n = split($2, part, ":"); s = 0
           for (i = 1; i <= n; i++) s = s * 60 + part[i]
           print s }' "$timing")
  rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$timing")
  transitions=$(count_transitions "$work/$name.arm" "$states")
  output_bytes=$(stat -c %s "$work/$name".{arm,var,pvtype} $(ls "$work/$name".{det,imp} 2>/dev/null) |
                 awk '{ sum += $1 } END { print sum }')
  awk -v m="$model" -v e="$experiment" -v s="$states" -v t="$transitions" -v w="$wall" \
      -v r="$rss_kb" -v o="$output_bytes" 'BEGIN {
    if (w <= 0) w = 0.01
    printf "| %s | %s | %d | %d | %.2f | %.0f | %.0f | %.1f | %.1f | %.1f | %.1f |\n",
      m, e, s, t, w, s / w, t / w, r / 1024, r * 1024 / s, o / 1048576, o / 1048576 / w
  }'
  rm -f "$work/$name".{arm,var,pvtype,det,imp}
done
