#!/usr/bin/env bash
# Rounds per second of two kvt-sim runs, timed in alternation (A B A B ...)
# so that both see the same machine: each pair, then the medians, the
# spreads (min-max) and the ratio B/A of the medians.
#
#   sim_alternate.sh A_KVT_SIM B_KVT_SIM [PAIRS] [-- ARGS...]
#
# ARGS go to both runs (default: --games 3000 --seed 1); KVT_ALT_B_EXTRA adds
# arguments to the B runs only, e.g. KVT_ALT_B_EXTRA="--jobs 2" with the same
# binary twice and "--jobs 1" in ARGS compares one core with two.
# KVT_ALT_CPU=1 counts per second of processor time (perf stat) instead of
# wall time: for a loaded machine, and only for single-threaded runs.
set -euo pipefail

a=${1:?usage: sim_alternate.sh A B [PAIRS] [-- ARGS...]}
b=${2:?usage: sim_alternate.sh A B [PAIRS] [-- ARGS...]}
pairs=${3:-7}
shift $(($# < 3 ? $# : 3))
[ "${1:-}" = "--" ] && shift
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(--games 3000 --seed 1)
read -r -a extra_b <<<"${KVT_ALT_B_EXTRA:-}"

rate() {  # kvt-sim and its arguments: rounds per second of the run's wall time
  if [ -n "${KVT_ALT_CPU:-}" ]; then
    # Per second of the process's processor time (setup included): fairer
    # than the wall time on a machine that others load.
    local out
    out=$(mktemp)
    perf stat -x, -e task-clock -o "$out" "$@" --json |
      sed -E 's/.*"rounds":([0-9]+).*/\1/' >"$out.rounds"
    awk -F, -v r="$(cat "$out.rounds")" '/task-clock/ { printf "%.0f\n", r / ($1 / 1000) }' "$out"
    rm -f "$out" "$out.rounds"
    return
  fi
  "$@" --json | sed -E 's/.*"rounds":([0-9]+).*"seconds":([0-9.]+).*/\1 \2/' | awk '{ printf "%.0f\n", $1 / $2 }'
}

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for ((i = 1; i <= pairs; i++)); do
  x=$(rate "$a" "${args[@]}")
  y=$(rate "$b" "${args[@]}" "${extra_b[@]}")
  echo "pair $i: A $x  B $y rounds/s"
  echo "$x $y" >>"$results"
done
stats() {  # column: median (min-max)
  cut -d' ' -f"$1" "$results" | sort -n | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.0f %.0f %.0f\n", m, v[1], v[NR] }'
}
read -r ma mina maxa <<<"$(stats 1)"
read -r mb minb maxb <<<"$(stats 2)"
echo "A median $ma ($mina-$maxa) rounds/s"
echo "B median $mb ($minb-$maxb) rounds/s"
awk -v a="$ma" -v b="$mb" 'BEGIN { printf "B/A %.2f\n", b / a }'
