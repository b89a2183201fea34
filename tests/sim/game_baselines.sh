#!/usr/bin/env bash
# Pins the games kvt-sim plays: fixed seeds on the shipped card set and on the
# card sets of extreme shape that kvt-soak-sets writes (every action code with
# counts, 29 cards, 401 cards, all wild, one group). For each run it prints the
# signature and the statistics, text and JSON, without the timing.
#
#   game_baselines.sh BUILD_DIR            print the figures (to write the expected file)
#   game_baselines.sh BUILD_DIR EXPECTED   exit 1 when anything differs from EXPECTED
#
# A change to the rules that alters a game on purpose regenerates EXPECTED
# with the first form; every other change leaves it byte for byte the same.
set -euo pipefail

build=${1:?usage: game_baselines.sh BUILD_DIR [EXPECTED]}
expected=${2:-}
sim=$build/bin/kvt-sim
players=$build/share/kvt/players
work=$(mktemp -d "${TMPDIR:-/tmp}/kvt-baselines-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bin/kvt-soak-sets" "$work/sets" >/dev/null

three=("$players/Amara.dpf" "$players/Ingrid.dpf" "$players/Mateo.dpf")
four=("${three[@]}" "$players/Ravi.dpf")

run() {  # title, then kvt-sim's arguments
    local title=$1
    shift
    echo "## $title"
    "$sim" --signature "$@"
    KVT_SIM_NO_TIME=1 "$sim" "$@"
    KVT_SIM_NO_TIME=1 "$sim" --json "$@"
}

play_all() {
    for seed in 1 7 2026; do
        run "shipped set, shipped players, seed $seed" --games 300 --seed "$seed"
        run "shipped set, seat 1 from a file, seed $seed" --games 300 --seed "$seed" --players "${four[@]}"
    done
    for set in actions-only deck-29 deck-401 all-wild one-group; do
        for seed in 1 7 2026; do
            run "$set, seed $seed" --games 200 --seed "$seed" --cards "$work/sets/$set.cds" --players "${three[@]}"
        done
    done
}

if [ -z "$expected" ]; then
    play_all
    exit 0
fi
play_all >"$work/actual.txt"
if ! diff -u "$expected" "$work/actual.txt"; then
    echo "game_baselines.sh: the simulated games differ from $expected" >&2
    exit 1
fi
echo "every simulated game as pinned"
