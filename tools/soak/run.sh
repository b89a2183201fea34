#!/usr/bin/env bash
# The soak: kvt-sim --check over many seeded games, first with the shipped
# card set, then with each card set of extreme shape (kvt-soak-sets). Prints
# one row per run for the Soak table of docs/reliability.md; exits 1 when any
# run broke a check, stalled or failed.
#
#   tools/soak/run.sh BUILD_DIR [GAMES] [EXTREME_GAMES]
#
# GAMES (default 100000) with the shipped set, EXTREME_GAMES (default 10000)
# with each extreme set. KVT_SOAK_SEED (default 1) seeds every run;
# KVT_SOAK_TIMEOUT (default 3600 s) is the most one run may take before it
# counts as stalled. kvt-sim itself stops a round of 200,000 turns or a game
# of 100,000 rounds as never ending (exit 3), which counts as a stall too.
set -u

build=${1:?usage: tools/soak/run.sh BUILD_DIR [GAMES] [EXTREME_GAMES]}
games=${2:-100000}
extreme_games=${3:-10000}
seed=${KVT_SOAK_SEED:-1}
limit=${KVT_SOAK_TIMEOUT:-3600}
sim=$build/bin/kvt-sim
players=$build/share/kvt/players
opponents=(Amara Ingrid Mateo)

for f in "$sim" "$build/bin/kvt-soak-sets"; do
    [ -x "$f" ] || { echo "run.sh: $f is missing; build the kvt-sim and kvt-soak-sets targets first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kvt-soak-XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
"$build/bin/kvt-soak-sets" "$work/sets" >"$work/sets.txt" || exit 2

player_args=()
for p in "${opponents[@]}"; do player_args+=("$players/$p.dpf"); done

field() { sed -n "s/.*\"$1\":\([0-9.]*\).*/\1/p" "$work/out.json"; }
thousands() { echo "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta'; }

failed=0
echo "| date | what ran | duration | rounds / games | peak RSS | open files at end | failures |"
echo "|---|---|---|---|---|---|---|"

# soak NAME DESCRIPTION GAMES [kvt-sim arguments...]
soak() {
    local name=$1 what=$2 n=$3
    shift 3
    local timer=()
    [ -x /usr/bin/time ] && timer=(/usr/bin/time -v -o "$work/time.txt")
    local start=$EPOCHREALTIME
    "${timer[@]}" timeout "$limit" "$sim" --check --json --games "$n" --seed "$seed" "$@" \
        --players "${player_args[@]}" >"$work/out.json" 2>"$work/err.txt"
    local rc=$?
    local seconds
    seconds=$(echo "$start $EPOCHREALTIME" | awk '{printf "%.1f", $2 - $1}')

    local violations=0 stalls=0 note=""
    case $rc in
    0) ;;
    3) if grep -q "never ends" "$work/err.txt"; then stalls=1; else violations=1; fi
       note=" ($(sed 's/^kvt-sim: //' "$work/err.txt" | head -1))" ;;
    124) stalls=1; note=" (no end after ${limit} s)" ;;
    *) note=" (exit $rc: $(head -1 "$work/err.txt"))" ;;
    esac
    [ "$rc" -eq 0 ] || failed=1

    local rss
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt" 2>/dev/null)
    [ -n "$rss" ] || rss=$(field peakRssKb)
    local mb=?
    [ -n "$rss" ] && mb=$(awk -v kb="$rss" 'BEGIN {printf "%.1f MB", kb / 1024}')
    local played="$(thousands "$(field rounds)") / $(thousands "$(field games)")"
    [ "$rc" -eq 0 ] || played="stopped"
    local details="$(thousands "$(field turns)") turns, $(field stuckRounds) rounds ended stuck, no hand smaller for at most $(field longestTurnsWithoutProgress) turns, $(field refusedMoves) moves refused at a full stack"
    [ "$rc" -eq 0 ] || details="stopped early"
    echo "| $(date +%F) | \`$name\` ($what), $(IFS=/; echo "${opponents[*]}"), seed $seed: $details | ${seconds} s | $played | $mb | $(field openFiles) | $violations violations, $stalls stalls$note |"
}

soak default "the shipped card set" "$games"
while IFS=$'\t' read -r name what; do
    soak "$name" "$what" "$extreme_games" --cards "$work/sets/$name.cds"
done <"$work/sets.txt"
exit $failed
