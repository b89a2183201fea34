#!/usr/bin/env bash
# Interrupted and concurrent card-set loads, as docs/reliability.md reports
# them. Two big card sets (kvt-soak-sets --big) are loaded by `kvt
# --print-deal` on scratch folders:
#   - KILLS times a load is killed (SIGKILL) at a random moment, and the next
#     start (kvt --print-deal without a set) repairs what it left;
#   - ROUNDS times two processes load the two sets at the same moment.
# After each, the working files must be exactly one whole card set, with no
# temporary file or folder left. Prints the figures; exits 1 on any miss.
#
#   tools/soak/switch_soak.sh BUILD_DIR [KILLS] [ROUNDS] [MEGABYTES]
set -u

build=${1:?usage: tools/soak/switch_soak.sh BUILD_DIR [KILLS] [ROUNDS] [MEGABYTES]}
kills=${2:-200}
rounds=${3:-100}
megabytes=${4:-50}
kvt=$build/bin/kvt
for f in "$kvt" "$build/bin/kvt-soak-sets"; do
    [ -x "$f" ] || { echo "switch_soak.sh: $f is missing; build kvt and kvt-soak-sets first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/kvt-switch-XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
"$build/bin/kvt-soak-sets" --big "$megabytes" "$work/sets" || exit 2
export KVT_DATA_DIR=$build/share/kvt XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data KVT_SEED=1
app=$work/data/kvt
set_a=$work/sets/big-a.cds
set_b=$work/sets/big-b.cds

load() { "$kvt" --print-deal "$1" >/dev/null 2>&1; }
start() { "$kvt" --print-deal >/dev/null 2>&1; }
# The working files and their checksums, one line each.
fingerprint() { (cd "$app" && for f in CurCards.cdf CurCards.cdm OpenWav.wav BackGrnd.cdm; do
    [ -e "$f" ] && md5sum "$f"; done); }
leftovers() { find "$app" -maxdepth 2 \( -name '*.tmp' -o -name 'CardSet.*' -o -name '.unpack-*' \) | wc -l; }

# Whole sets: A after anything, and B after A (B has no sound of its own and
# keeps A's; it has no background, so A's goes).
load "$set_a" && load "$set_b" || { echo "switch_soak.sh: the sets do not load" >&2; exit 2; }
whole_b=$(fingerprint)
t0=$(date +%s%N); load "$set_a"; t1=$(date +%s%N)
whole_a=$(fingerprint)
load_ms=$(( (t1 - t0) / 1000000 ))
verdict() {
    local now; now=$(fingerprint)
    if [ "$now" = "$whole_a" ]; then echo a; elif [ "$now" = "$whole_b" ]; then echo b; else echo mixed; fi
}

# 1. Kills at random moments within 1.2 times a whole load.
whole=0 mixed=0 left=0 interrupted=0
for ((i = 1; i <= kills; i++)); do
    if [ "$(verdict)" = a ]; then target=$set_b; else target=$set_a; fi
    "$kvt" --print-deal "$target" >/dev/null 2>&1 &
    pid=$!
    delay_ms=$(( RANDOM % (load_ms * 12 / 10 + 1) ))
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -KILL "$pid" 2>/dev/null && interrupted=$((interrupted + 1))
    wait "$pid" 2>/dev/null
    start
    case $(verdict) in a|b) whole=$((whole + 1)) ;; *) mixed=$((mixed + 1)) ;; esac
    [ "$(leftovers)" -eq 0 ] || left=$((left + 1))
done
echo "kills: $kills at random moments of a ${load_ms} ms load of $megabytes MB ($interrupted killed while running):" \
     "$whole whole, $mixed mixed, $left with temporary files left"
failed=$((mixed + left))

# 2. Two processes loading the two sets at once.
whole=0 mixed=0 left=0 refused=0
for ((i = 1; i <= rounds; i++)); do
    "$kvt" --print-deal "$set_a" >/dev/null 2>&1 & pa=$!
    "$kvt" --print-deal "$set_b" >/dev/null 2>&1 & pb=$!
    wait "$pa" || refused=$((refused + 1))
    wait "$pb" || refused=$((refused + 1))
    case $(verdict) in a|b) whole=$((whole + 1)) ;; *) mixed=$((mixed + 1)) ;; esac
    [ "$(leftovers)" -eq 0 ] || left=$((left + 1))
done
echo "rounds: $rounds of two processes loading at once: $whole whole, $mixed mixed," \
     "$left with temporary files left, $refused loads failed"
failed=$((failed + mixed + left + refused))
[ "$failed" -eq 0 ]
