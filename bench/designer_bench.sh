#!/usr/bin/env bash
# The designer against the table and the simulator, in alternating runs:
#   1. exec -> first window painted: kvx opening the shipped card set, against
#      kvt starting on it (a name given and three opponents remembered, so its
#      first window is the dealt table), on a virtual screen;
#   2. games per second: the balance report's run of kvt-sim (as the designer
#      starts it: the card set written out, three opponents named, --json),
#      against kvt-sim on the shipped set with its defaults.
#
#   bench/designer_bench.sh [BUILD_DIR] [RUNS] [GAMES]   (defaults: build, 7, 20000)
#
# Medians with the spread (lowest-highest) of every figure are printed.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
RUNS=${2:-7}
GAMES=${3:-20000}
for p in xvfb libx11-dev libxdamage-dev libxfixes-dev libxtst-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    { echo "designer_bench.sh: missing Debian package $p (./dev.sh bench installs it)" >&2; exit 2; }
done
cmake --build "$BUILD_DIR" --target kvx kvt kvt-sim kvt_bench_xdrive default_cardset sample_players >/dev/null

BIN=$(cd "$BUILD_DIR/bin" && pwd)
SHARE=$(cd "$BUILD_DIR/share/kvt" && pwd)
scratch=$(mktemp -d)
xvfb=""
trap 'if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$scratch/display")" QT_QPA_PLATFORM=xcb
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
cp "$SHARE/default.cds" "$scratch/set.cds"
opponents=("$SHARE/players/Amara.dpf" "$SHARE/players/Ingrid.dpf" "$SHARE/players/Kenji.dpf")

# One program's start on fresh settings; one line of key=value figures, empty when it failed.
start() {
  local home figures
  home=$(mktemp -d "$scratch/home.XXXX")
  mkdir -p "$home/config/kvt" "$home/data"
  printf '[PlayersFile]\nPlayer2=%s\nPlayer3=%s\nPlayer4=%s\n' "${opponents[@]}" >"$home/config/kvt/kvt.ini"
  figures=$(XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" KVT_PLAYER_NAME=Robin KVT_SEED=7 \
    timeout 120 "$BIN/kvt_bench_xdrive" start "$@" 2>>"$scratch/programs.log") || true
  printf '%s\n' "$(head -n 1 <<<"$figures")"
  rm -rf "$home"
}
# Games per second of one kvt-sim run, taken from its own clock.
rate() { "$BIN/kvt-sim" --games "$GAMES" --seed 11 --json "$@" | sed -n 's/.*"gamesPerSecond":\([0-9.]*\).*/\1/p'; }

: >"$scratch/designer"; : >"$scratch/table"; : >"$scratch/report"; : >"$scratch/sim"
for run in $(seq "$RUNS"); do
  # Each run swaps the order, so a slow spell on the shared machine hits both sides.
  if ((run % 2)); then
    start "$BIN/kvx" "$scratch/set.cds" >>"$scratch/designer"; start "$BIN/kvt" "$scratch/set.cds" >>"$scratch/table"
    rate --cards "$scratch/set.cds" --players "${opponents[@]}" >>"$scratch/report"; rate >>"$scratch/sim"
  else
    start "$BIN/kvt" "$scratch/set.cds" >>"$scratch/table"; start "$BIN/kvx" "$scratch/set.cds" >>"$scratch/designer"
    rate >>"$scratch/sim"; rate --cards "$scratch/set.cds" --players "${opponents[@]}" >>"$scratch/report"
  fi
  echo "run $run of $RUNS done" >&2
done

field() { awk -v key="$2" '{ v = ""; for (i = 1; i <= NF; i++) if (index($i, key "=") == 1) v = substr($i, length(key) + 2); print v }' "$1"; }
# "median (lowest-highest)" of the numbers on standard input.
summary() {
  grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "nan"; exit }
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f (%.1f-%.1f)\n", m, v[1], v[NR] }'
}
row() { printf '%-40s %24s %24s\n' "$@"; }
echo
echo "$(date -u +%F), $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1), $RUNS runs, medians (spread)"
row "measure" "designer / report" "table / kvt-sim"
row "exec -> first window mapped (ms)" "$(field "$scratch/designer" map_ms | summary)" "$(field "$scratch/table" map_ms | summary)"
row "exec -> first window painted (ms)" "$(field "$scratch/designer" paint_ms | summary)" "$(field "$scratch/table" paint_ms | summary)"
row "resident memory, quiet (MB)" "$(field "$scratch/designer" rss_kb | awk '{ print $1 / 1024 }' | summary)" \
  "$(field "$scratch/table" rss_kb | awk '{ print $1 / 1024 }' | summary)"
row "games per second ($GAMES games)" "$(summary <"$scratch/report")" "$(summary <"$scratch/sim")"
