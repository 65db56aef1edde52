#!/usr/bin/env bash
# Prints the md5 checksum of every output file of a fixed set of runs: the
# 25 experiments of this build's model and small to medium sizes of each
# benchmark model. An optimisation must leave this listing unchanged:
#   bench/check_outputs.sh > now.txt && diff bench/expected_outputs.txt now.txt
# Usage: bench/check_outputs.sh [build dir] [work dir]
set -euo pipefail

build=${1:-build}
work=${2:-bench/out/check}
mkdir -p "$work"

runs="gen:0 gen:1 gen:2 gen:3 gen:4 gen:5 gen:6 gen:7 gen:8 gen:9 gen:10 gen:11 gen:12
      gen:13 gen:14 gen:15 gen:16 gen:17 gen:18 gen:19 gen:20 gen:21 gen:22 gen:23 gen:24
      kanban:0 kanban:1 kanban:2 kanban:3
      memory_array:0 memory_array:1 memory_array:2 memory_array:3 memory_array:4 memory_array:5
      memory_array:6 job_shop:0 job_shop:1 job_shop:2 job_shop:3 job_shop:4"

for run in $runs; do
  model=${run%%:*}
  experiment=${run##*:}
  exe="$build/bench/$model"
  [ "$model" = gen ] && exe="$build/gen"
  name="$model-$experiment"
  "$exe" -P"$work/" -N"$name" -B"$experiment" >/dev/null
  (cd "$work" && md5sum "$name".*)
  rm -f "$work/$name".*
done
