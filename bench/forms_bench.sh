#!/usr/bin/env bash
# Runs one benchmark model experiment once per output form and prints one
# markdown row per run: wall, user and system time, peak resident memory and
# the size of all output files. The forms: text (the default), binary
# (-F2), and each of them compressed with zstd at the levels given.
#
# Usage: bench/forms_bench.sh model experiment [build dir] [work dir] [levels] [extra options]
#   levels: space-separated zstd levels (default "1"); extra options go to
#   every run (for example -h0.75).
# Each run's files are removed once measured.
set -euo pipefail

model=$1
experiment=$2
build=${3:-build}
work=${4:-bench/out}
levels=${5:-1}
extra=${6:-}

mkdir -p "$work"
forms=("text:" "binary:-F2")
for level in $levels; do
  forms+=("text+zstd$level:-z$level" "binary+zstd$level:-F2 -z$level")
done

printf '| model | experiment | form | states | wall s | user s | sys s | peak RSS MB | output MB |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
for form in "${forms[@]}"; do
  label=${form%%:*}
  options=${form#*:}
  name="$model-$experiment-forms"
  timing="$work/$name.time"
  # shellcheck disable=SC2086
  /usr/bin/time -v -o "$timing" "$build/bench/$model" -B"$experiment" -P"$work/" -N"$name" \
    $options $extra >"$work/$name.log"
  states=$(awk '$1 == "Generated:" { print $2 }' "$work/$name.log")
  bytes=$(cat "$work/$name".* 2>/dev/null | wc -c)
  bytes=$((bytes - $(stat -c %s "$work/$name.log" "$timing" | awk '{ s += $1 } END { print s }')))
  awk -F': ' -v m="$model" -v e="$experiment" -v f="$label" -v s="$states" -v b="$bytes" '
    /Elapsed \(wall clock\)/ { n = split($2, part, ":"); w = 0
                               for (i = 1; i <= n; i++) w = w * 60 + part[i] }
    /User time/ { u = $2 }
    /System time/ { y = $2 }
    /Maximum resident set size/ { r = $2 }
    END { printf "| %s | %s | %s | %d | %.2f | %.2f | %.2f | %.1f | %.1f |\n",
            m, e, f, s, w, u, y, r / 1024, b / 1048576 }' "$timing"
  rm -f "$work/$name".*
done
