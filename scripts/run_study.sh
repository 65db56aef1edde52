#!/usr/bin/env bash
# Runs the study of this build: generates each experiment with gen, solves
# it with solve, and prints one row per experiment: its number, the values
# of its global variables, its states and, per reward variable and time
# point, the value and its error bound. The same rows go to results.csv;
# results.svg draws the first value over the first global variable, one
# line per value of the second.
#
# Experiments are numbered from 1 everywhere: experiment n is gen -B(n-1),
# its files are exp<n>.* and gen's console calls it "Experiment n".
#
# Usage: scripts/run_study.sh [build dir] [output folder] [experiments] [unit] [gen options]
#   unit: what the first reward variable's values are (default
#   "expected value"), for the chart's axis; gen options: more options of
#   every gen run, such as the files' form ("-F2 -z"), which solve reads alike.
set -euo pipefail

build=${1:-build}
out=${2:-out}
experiments=${3:-25}
unit=${4:-expected value}
gen_options=${5:-}

mkdir -p "$out"
rows="$out/results.tsv"
: >"$rows"

# The columns of one experiment, tab-separated, from gen's console (log)
# and solve's table; with header=1 their names instead.
columns() {
  local header=$1 number=$2 log=$3 solution=$4
  {
    awk -F'\t' -v h="$header" -v n="$number" '
      BEGIN { printf "%s", h ? "experiment" : n }
      /^The Global Variable values/ { listed = 1; next }
      listed && NF == 3 { printf "\t%s", h ? $1 : $3; next }
      { listed = 0 }
      /^Generated: / { split($0, word, " "); states = word[2] }
      END { printf "\t%s", h ? "states" : states }' "$log"
    awk -v h="$header" '
      table && NF == 4 {
        if (h) printf "\t%s@%s\t%s@%s error", $1, $2, $1, $2
        else printf "\t%s\t%s", $3, $4
      }
      $1 == "variable" && $2 == "time" { table = 1 }' "$solution"
    printf '\n'
  }
}

for ((e = 0; e < experiments; e++)); do
  n=$((e + 1))
  name="exp$n"
  log="$out/$name.log"
  # shellcheck disable=SC2086
  if ! "$build/gen" -P"$out/" -N"$name" -B"$e" -D -M $gen_options >"$log" 2>&1; then
    echo "experiment $n (gen -B$e) failed; see $log" >&2
    exit 1
  fi
  if ! "$build/solve" "$out/$name" >"$out/$name.solution" 2>>"$log"; then
    echo "experiment $n could not be solved; see $log and $out/$name.solution" >&2
    exit 1
  fi
  if ((e == 0)); then
    columns 1 "$n" "$log" "$out/$name.solution" >>"$rows"
  fi
  columns 0 "$n" "$log" "$out/$name.solution" >>"$rows"
done

# The table, aligned; the CSV.
awk -F'\t' '
  { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) }
    if (NF > columns) columns = NF }
  END { for (r = 1; r <= NR; r++) {
          for (i = 1; i <= columns; i++) printf "%*s%s", width[i], cell[r, i], i < columns ? "  " : "\n"
        } }' "$rows"
tr '\t' ',' <"$rows" >"$out/results.csv"

# The chart: the first value (after the states) over the first global
# variable, one line per value of the second, if there is one.
IFS=$'\t' read -r -a header <"$rows"
states=1
while [[ ${header[states]} != states ]]; do states=$((states + 1)); done
if ((states > 1)); then
  x=${header[1]}
  series=""
  ((states > 2)) && series=${header[2]}
  value=${header[states + 1]}
  awk -F'\t' -v column=$((states + 2)) -v series="$series" \
    'NR > 1 { print (series != "" ? series "=" $3 : "all"), $2, $column }' "$rows" |
    "$build/linechart" -l -t "${value%@*} at t = ${value##*@}${series:+, one line per $series}" \
      -x "$x (log scale)" -y "${value%@*} at t = ${value##*@} ($unit)" >"$out/results.svg"
fi
rm -f "$rows"
echo
echo "Wrote $out/results.csv and $out/results.svg; each experiment's files, gen's console"
echo "(.log) and the solution (.solution) are in $out/"
