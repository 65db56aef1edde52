#!/usr/bin/env bash
# Generates every experiment of the study, one gen run per experiment, into
# an output folder (exp1 ... expN), and prints a summary line per experiment.
# Usage: scripts/run_study.sh [gen executable] [output folder] [experiments]
set -euo pipefail

gen=${1:-build/gen}
out=${2:-out}
experiments=${3:-25}

mkdir -p "$out"
printf '%-10s %10s %10s %8s %14s\n' experiment flash_size ram_size states seconds
for ((e = 0; e < experiments; e++)); do
  name="exp$((e + 1))"
  log="$out/$name.log"
  if ! "$gen" -P"$out/" -N"$name" -B"$e" >"$log" 2>&1; then
    echo "experiment $e failed; see $log" >&2
    exit 1
  fi
  awk -v e="$e" '
    $1 == "flash_size" { flash = $3 }
    $1 == "ram_size" { ram = $3 }
    $1 == "Generated:" { states = $2 }
    /^Computation Time/ { seconds = $(NF - 1) }
    END { printf "%-10s %10s %10s %8s %14s\n", e, flash, ram, states, seconds }
  ' "$log"
done
