#!/usr/bin/env bash
# The table window's start-up, drawing, CPU and memory, measured from X events
# on a virtual screen, against a minimal Qt Widgets window in the same run.
#
#   bench/table_bench.sh [BUILD_DIR] [RUNS]      (defaults: build, 7)
#
# Each run starts, in turn: the minimal window; the table with three remembered
# opponents and its player's name given (KVT_PLAYER_NAME), so that its first
# window is the dealt table; the table with empty settings (to its name
# window); the table with three remembered opponents, which is given a name,
# shows a dealt table, idles five seconds and has the human play one card
# while the computers' card flights pause. KVT_SEED fixes the deal
# (default 20240607). Medians are printed, with ratios against the baseline.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
RUNS=${2:-7}
SEED=${KVT_SEED:-20240607}

# What the measuring needs beyond the build; ./dev.sh bench installs it.
PACKAGES=(xvfb libx11-dev libxdamage-dev libxfixes-dev libxtst-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "table_bench.sh: missing Debian packages: ${missing[*]} (./dev.sh bench installs them)" >&2
  exit 2
fi

# A fresh configure also picks up the X libraries just installed.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${KVT_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$BUILD_DIR" --target kvt kvt_bench_xdrive kvt_bench_minimal_window default_cardset sample_players

BIN=$(cd "$BUILD_DIR/bin" && pwd)
# KVT_BENCH_KVT measures another build of the table (say, the one before a change) against the same baseline.
KVT=${KVT_BENCH_KVT:-$BIN/kvt}
PLAYERS=$(cd "$BUILD_DIR/share/kvt/players" && pwd)
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

# One measured program on fresh settings and working folders; the second
# argument says whether three opponents are remembered.
measure() {
  local mode=$1 players=$2 home
  shift 2
  home=$(mktemp -d "$scratch/home.XXXX")
  mkdir -p "$home/config/kvt" "$home/data"
  local name=()
  if [ "$players" != no ]; then
    printf '[PlayersFile]\nPlayer2=%s\nPlayer3=%s\nPlayer4=%s\n' \
      "$PLAYERS/Amara.dpf" "$PLAYERS/Kenji.dpf" "$PLAYERS/Oona.dpf" >"$home/config/kvt/kvt.ini"
  fi
  # "named": the player's name is given, so the first window is the dealt table.
  [ "$players" = named ] && name=(KVT_PLAYER_NAME=Robin)
  # Exactly one line per program, an empty one when it failed, so runs stay paired.
  local figures
  figures=$(env "${name[@]}" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" KVT_SEED=$SEED \
    timeout 120 "$BIN/kvt_bench_xdrive" "$mode" "$@" 2>>"$scratch/programs.log") ||
    echo "$mode $* failed: $(tail -n 1 "$scratch/programs.log")" >&2
  printf '%s\n' "$(head -n 1 <<<"$figures")"
  rm -rf "$home"
}

: >"$scratch/base" ; : >"$scratch/kvt" ; : >"$scratch/dealt" ; : >"$scratch/table"
for run in $(seq "$RUNS"); do
  # The order within a run changes from run to run, so a slow spell hits both sides.
  if ((run % 2)); then
    measure start no "$BIN/kvt_bench_minimal_window" >>"$scratch/base"
    measure start named "$KVT" >>"$scratch/dealt"
    measure start no "$KVT" >>"$scratch/kvt"
  else
    measure start no "$KVT" >>"$scratch/kvt"
    measure start named "$KVT" >>"$scratch/dealt"
    measure start no "$BIN/kvt_bench_minimal_window" >>"$scratch/base"
  fi
  # KVT_BENCH_STARTUP_ONLY=1 leaves out the long run through the name window and play.
  [ -n "${KVT_BENCH_STARTUP_ONLY:-}" ] || measure table yes "$KVT" >>"$scratch/table"
  echo "run $run of $RUNS done" >&2
done

# One key=value field of every line of a file, an empty line where it is missing.
field() { awk -v key="$2" '{ v = ""; for (i = 1; i <= NF; i++) if (index($i, key "=") == 1) v = substr($i, length(key) + 2); print v }' "$1"; }
middle() {
  grep -v '^$' | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else printf "%.2f\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
median() { field "$1" "$2" | middle; }
# The smallest and largest value of a field, "min-max".
spread() { field "$1" "$2" | grep -v '^$' | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.1f-%.1f", lo, hi }'; }
# The median of the run-by-run ratios of a field, the table's over the baseline's.
paired_ratio() { paste -d ' ' <(field "$1" "$2") <(field "$3" "$4") | awk 'NF == 2 && $2 > 0 { print $1 / $2 }' | middle; }
row() { printf '%-48s %14s %9s %6s  %s\n' "$@"; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

echo
echo "$(date -u +%F), $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1), $RUNS runs, medians"
row "measure" "table" "baseline" "ratio" "goal"
row "exec -> first window mapped (ms)" "$(median "$scratch/kvt" map_ms)" "$(median "$scratch/base" map_ms)" \
  "$(paired_ratio "$scratch/kvt" map_ms "$scratch/base" map_ms)" "ratio <= 1.5"
row "  CPU used until then (ms)" "$(median "$scratch/kvt" map_cpu_ms)" "$(median "$scratch/base" map_cpu_ms)" \
  "$(paired_ratio "$scratch/kvt" map_cpu_ms "$scratch/base" map_cpu_ms)" ""
row "exec -> first window painted (ms)" "$(median "$scratch/kvt" paint_ms)" "$(median "$scratch/base" paint_ms)" \
  "$(paired_ratio "$scratch/kvt" paint_ms "$scratch/base" paint_ms)" ""
row "exec -> dealt table painted (ms), named" "$(median "$scratch/dealt" paint_ms)" "$(median "$scratch/base" paint_ms)" \
  "$(paired_ratio "$scratch/dealt" paint_ms "$scratch/base" paint_ms)" "ratio <= 1.5"
row "  spread, min-max (ms)" "$(spread "$scratch/dealt" paint_ms)" "$(spread "$scratch/base" paint_ms)" "" ""
row "  last drawing before 500 ms quiet (ms)" "$(median "$scratch/dealt" settle_ms)" "$(median "$scratch/base" settle_ms)" \
  "$(paired_ratio "$scratch/dealt" settle_ms "$scratch/base" settle_ms)" ""
row "  CPU until the table was mapped (ms)" "$(median "$scratch/dealt" map_cpu_ms)" "$(median "$scratch/base" map_cpu_ms)" \
  "$(paired_ratio "$scratch/dealt" map_cpu_ms "$scratch/base" map_cpu_ms)" ""
row "name OK -> table mapped (ms)" "$(median "$scratch/table" ok_map_ms)" "" "" ""
row "name OK -> dealt table painted (ms)" "$(median "$scratch/table" ok_paint_ms)" "" "" "< 100"
row "name OK -> last drawing before 500 ms quiet (ms)" "$(median "$scratch/table" ok_settle_ms)" "" "" ""
row "idle 5 s: CPU ticks / ms / drawings" \
  "$(median "$scratch/table" idle_ticks)/$(median "$scratch/table" idle_cpu_ms)/$(median "$scratch/table" idle_drawings)" "" "" "0 ticks"
row "CPU inside flight pauses (% of a core)" "$(median "$scratch/table" pause_cpu_pct)" "" "" "< 5"
row "  pauses timed per run / their total (ms)" "$(median "$scratch/table" pauses)/$(median "$scratch/table" pause_ms)" "" "" ""
row "CPU from the move to the last flight (%)" "$(median "$scratch/table" turns_cpu_pct)" "" "" ""
row "RSS, dealt table (MB) vs first window" "$(mb "$(median "$scratch/table" rss_dealt_kb)")" \
  "$(mb "$(median "$scratch/base" rss_kb)")" \
  "$(paired_ratio "$scratch/table" rss_dealt_kb "$scratch/base" rss_kb)" "< 60 MB"
row "RSS, after the computers' turns (MB)" "$(mb "$(median "$scratch/table" rss_played_kb)")" "" "" "< 60 MB"
row "RSS, name window only (MB)" "$(mb "$(median "$scratch/kvt" rss_kb)")" "" "" ""
if [ -n "${KVT_BENCH_KEEP:-}" ]; then
  mkdir -p "$KVT_BENCH_KEEP"
  cp "$scratch/base" "$scratch/kvt" "$scratch/dealt" "$scratch/table" "$KVT_BENCH_KEEP/"
fi
