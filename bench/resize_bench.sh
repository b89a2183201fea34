#!/usr/bin/env bash
# A resize of the dealt table against a bare Qt window's, at 1920 x 1080 on a
# virtual screen (see bench/resize_bench.cpp).
#
#   bench/resize_bench.sh [BUILD_DIR] [PAIRS]      (defaults: build, 31)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
PAIRS=${2:-31}
command -v Xvfb >/dev/null || { echo "resize_bench.sh: Xvfb is missing (apt-get install xvfb)" >&2; exit 2; }
cmake --build "$BUILD_DIR" --target kvt_bench_resize default_cardset sample_players >/dev/null

scratch=$(mktemp -d)
xvfb=""
trap 'if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
mkdir -m 700 "$scratch/runtime" "$scratch/config" "$scratch/data"
DISPLAY=":$(cat "$scratch/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
  XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
  "$BUILD_DIR/bin/kvt_bench_resize" "$PAIRS"
