#!/usr/bin/env bash
# The distributed generator on kanban: for each size and number of
# processes, the run's wall time, each process's peak memory, processor
# time and bytes sent (as gen-mpi prints them), and the sequential run's
# beside them; checks that the files are the same. One markdown row per run.
#
# Usage: bench/mpi_bench.sh [build dir] [work dir] [experiments] [process counts] [options]
#   defaults: build, bench/out/mpi, "5" (kanban t = 6), "1 2 4", none
#   (options go to both runs, e.g. "-F2 -z" for the binary compressed form).
set -euo pipefail

build=${1:-build}
work=${2:-bench/out/mpi}
experiments=${3:-5}
counts=${4:-1 2 4}
read -r -a options <<<"${5:-}"
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
mkdir -p "$work"

echo "| run | states | wall s | per process: peak MiB, CPU s, MB sent | same files |"
echo "|---|---:|---:|---|---|"
for experiment in $experiments; do
  t=$((experiment + 1))
  /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" \
    "$build/bench/kanban" -P"$work/" -Nseq -B"$experiment" "${options[@]}" >"$work/seq.out"
  read -r wall kib user system <"$work/time.txt"
  states=$(sed -n 's/^Generated: \([0-9]*\) states/\1/p' "$work/seq.out")
  echo "| kanban t = $t ${options[*]}, sequential | $states | $wall | $((kib / 1024)), $(echo "$user + $system" | bc), 0 | |"
  for np in $counts; do
    start=$(date +%s.%N)
    mpirun --oversubscribe -np "$np" "$build/bench/kanban-mpi" -P"$work/" -Nmpi -B"$experiment" "${options[@]}" >"$work/mpi.out"
    end=$(date +%s.%N)
    processes=$(sed -n 's/^Process [0-9]*: peak memory \([0-9]*\) KiB, processor time \([0-9.e+-]*\) seconds, \([0-9]*\) bytes sent/\1 \2 \3/p' "$work/mpi.out" |
      awk '{ printf "%s%d, %.1f, %.0f", (NR > 1 ? "; " : ""), $1 / 1024, $2, $3 / 1e6 }')
    same=yes
    for suffix in arm var pvtype; do
      cmp -s "$work/seq.$suffix" "$work/mpi.$suffix" || same=no
    done
    echo "| kanban t = $t ${options[*]}, $np processes | $states | $(echo "$end - $start" | bc) | $processes | $same |"
    rm -f "$work"/mpi.*
  done
  rm -f "$work"/seq.*
done
