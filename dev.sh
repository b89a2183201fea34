#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./dev.sh start   install what is missing, build, start the table
#   ./dev.sh test    install what is missing, build, run the whole test suite
#   ./dev.sh test-sanitized   the same suite built with ASan + UBSan (build-asan); any finding fails
#   ./dev.sh fuzz [SECONDS]   build the fuzzers with clang (build-fuzz), run each SECONDS (default 60)
#   ./dev.sh package install what is missing, build, check the desktop files, make the .deb
#   ./dev.sh screenshot [OUTDIR]   build, show the table on a virtual screen, write PNGs (default build/screenshots)
#   ./dev.sh bench [RUNS]    build, time the table's start-up, CPU and memory on a virtual screen (bench/table_bench.sh)
#   ./dev.sh bench-load [PAIRS [MB]]   build, time Load Card Set of a 35 MB card set against cp of the file
#   ./dev.sh mutate [ARGS]   one-line mutants of the rule and format files against the fast suites (docs/testing.md)
#   ./dev.sh test-ratio      non-blank lines of tests against the product code
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  # --- packaging: CPack's Depends (dpkg-shlibdeps), the desktop-file checks, lintian,
  # and Qt's translation tools (lupdate/lrelease and their CMake package), which the build needs
  dpkg-dev desktop-file-utils appstream shared-mime-info libxml2-utils groff-base lintian
  qt6-tools-dev qt6-l10n-tools
  # --- end packaging
)
BUILD_DIR=${KVT_BUILD_DIR:-build}

install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${KVT_BUILD_TYPE:-RelWithDebInfo}"
  cmake --build "$BUILD_DIR"
}

run_tests() {
  # Tests never see the real home folder, and windows draw offscreen.
  local scratch
  scratch=$(mktemp -d)
  trap "rm -rf '$scratch'" EXIT
  XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 -j "$(nproc)"
}

# --- packaging
make_package() {
  # The package installs to /usr, and the programs get that data folder compiled in.
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${KVT_BUILD_TYPE:-RelWithDebInfo}" \
    -DCMAKE_INSTALL_PREFIX=/usr
  cmake --build "$BUILD_DIR"
  local stage
  stage=$(mktemp -d)
  trap "rm -rf '$stage'" EXIT
  cmake --install "$BUILD_DIR" --prefix "$stage/usr" >/dev/null
  bash packaging/validate.sh "$stage/usr"
  (cd "$BUILD_DIR" && cpack -G DEB)
  local deb
  deb=$(ls -t "$BUILD_DIR"/kvt_*.deb | head -n 1)
  echo "Built $deb"
  dpkg-deb -f "$deb" Package Version Section Depends
  # Debian's checks: errors fail, the rest is shown (packaging/lintian-overrides
  # lists what is reported on purpose).
  lintian --fail-on error --display-level '>=info' "$deb"
}
# --- end packaging

# --- hardening: sanitizer suite and fuzzers (docs/reliability.md)
FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)

# Every finding is fatal: a memory error, undefined behaviour or a leak fails
# the program, and so the test or the build step that ran it. Leaks inside
# third-party libraries only are listed in fuzz/lsan.supp.
sanitizer_env() {
  export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
}

test_sanitized() {
  sanitizer_env
  BUILD_DIR=${KVT_ASAN_BUILD_DIR:-build-asan}
  CC=gcc CXX=g++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKVT_SANITIZE=ON -DKVT_BUILD_BENCH=OFF
  cmake --build "$BUILD_DIR"
  run_tests
}

fuzz_all() {
  local seconds=${1:-60} dir=${KVT_FUZZ_BUILD_DIR:-build-fuzz} target passed=0 failed=()
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKVT_SANITIZE=ON -DKVT_FUZZ=ON -DKVT_BUILD_TESTS=OFF -DKVT_BUILD_BENCH=OFF
  cmake --build "$dir" --target kvt_fuzzers
  for target in $(fuzz/run.sh --list); do
    if KVT_FUZZ_BUILD_DIR=$dir fuzz/run.sh "$target" "$seconds"; then
      passed=$((passed + 1))
    else
      failed+=("$target")
    fi
  done
  echo "fuzz: $passed passed, ${#failed[@]} failed"
  ((${#failed[@]} == 0)) || { echo "Fuzz targets with findings: ${failed[*]} (inputs in $dir/crashes/)" >&2; return 1; }
}
# --- end hardening

# --- test quality
# Non-blank lines of C++ under tests/ against the C++ outside tests/, fuzz/ and bench/.
test_ratio() {
  local tests product
  tests=$(find tests -name '*.cpp' -o -name '*.h' | xargs cat | grep -cv '^[[:space:]]*$')
  product=$(find . \( -path ./tests -o -path ./fuzz -o -path ./bench -o -path './build*' -o -path ./.git \) -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print | xargs cat | grep -cv '^[[:space:]]*$')
  local tenths=$(((2000 * tests / product + 1) / 2))  # per mille, rounded
  echo "tests: $tests lines, product: $product lines, ratio $((tenths / 10)).$((tenths % 10)) %"
}
# --- end test quality

# --- load benchmark
# The table's Load Card Set on a big card set against cp, offscreen, on scratch folders.
load_bench() {
  local scratch
  scratch=$(mktemp -d)
  trap "rm -rf '$scratch'" EXIT
  XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch" QT_QPA_PLATFORM=offscreen \
    "$BUILD_DIR/bin/kvt_bench_load" "$1" "$2"
}
# --- end load benchmark

# --- screenshot
SHOT_PACKAGES=(xvfb imagemagick x11-utils)
shot_scratch="" shot_xvfb="" shot_kvt=""

# The table on a virtual screen with a fixed deal, once it has been painted.
screenshot() {
  local out=$1 i win="" before="" now=""
  mkdir -p "$out"
  shot_scratch=$(mktemp -d)
  trap 'kill ${shot_kvt:-} ${shot_xvfb:-} 2>/dev/null || true; rm -rf "${shot_scratch:-/nonexistent}"' EXIT
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$shot_scratch/display" 2>"$shot_scratch/xvfb.log" &
  shot_xvfb=$!
  for i in $(seq 100); do [ -s "$shot_scratch/display" ] && break; sleep 0.1; done
  [ -s "$shot_scratch/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$shot_scratch/display")"
  XDG_CONFIG_HOME="$shot_scratch/config" XDG_DATA_HOME="$shot_scratch/data" QT_QPA_PLATFORM=xcb \
    KVT_SEED=${KVT_SEED:-20240607} KVT_PLAYER_NAME=${KVT_PLAYER_NAME:-Robin} \
    "$BUILD_DIR/bin/kvt" >"$shot_scratch/kvt.log" 2>&1 &
  shot_kvt=$!
  for i in $(seq 150); do
    win=$(xwininfo -root -tree 2>/dev/null | awk '$2 ~ /^"KVT/ { print $1; exit }')
    [ -n "$win" ] && break
    sleep 0.2
  done
  [ -n "$win" ] || { echo "The table did not come up:" >&2; cat "$shot_scratch/kvt.log" >&2; return 1; }
  # Painted: two captures in a row show the same pixels.
  for i in $(seq 40); do
    sleep 0.5
    now=$(import -window root rgb:- | md5sum)
    [ "$now" = "$before" ] && break
    before=$now
  done
  import -window root "$out/screen.png"
  import -window "$win" "$out/table.png"
  kill "$shot_kvt" 2>/dev/null || true
  # The states play brings (a choice in the hold grid, a card in flight), drawn by the GUI tests.
  if [ -x "$BUILD_DIR/bin/gui_tests" ]; then
    QT_QPA_PLATFORM=xcb KVT_SCENE_DIR="$out" "$BUILD_DIR/bin/gui_tests" --gtest_filter='Look.*' >"$shot_scratch/scenes.log" 2>&1 ||
      { echo "Drawing the scenes failed:" >&2; cat "$shot_scratch/scenes.log" >&2; return 1; }
  fi
  echo "Wrote $out/table.png (the window), $out/screen.png (the whole screen) and $out/scene-*.png"
}
# --- end screenshot

case "${1:-}" in
  start) install_missing; build; shift; exec "$BUILD_DIR/bin/kvt" "$@" ;;
  test) install_missing; build; run_tests ;;
  test-sanitized) install_missing; test_sanitized ;;
  fuzz) PACKAGES+=("${FUZZ_PACKAGES[@]}"); install_missing; fuzz_all "${2:-60}" ;;
  package) install_missing; make_package ;;
  screenshot) PACKAGES+=("${SHOT_PACKAGES[@]}"); install_missing; build; screenshot "${2:-$BUILD_DIR/screenshots}" ;;
  bench-load) install_missing; build; load_bench "${2:-9}" "${3:-35}" ;;
  mutate) PACKAGES+=(python3); install_missing; shift; exec python3 tools/mutate/mutate.py "$@" ;;
  test-ratio) test_ratio ;;
  bench) PACKAGES+=(xvfb libx11-dev libxdamage-dev libxfixes-dev libxtst-dev); install_missing; build
    exec bench/table_bench.sh "$BUILD_DIR" "${2:-7}" ;;
  *)
    echo "Usage: $0 start [CARDSET.cds | PLAYER.dpf] | test | test-sanitized | fuzz [SECONDS] | package | screenshot [OUTDIR] | bench [RUNS] | bench-load [PAIRS [MB]] | mutate [ARGS] | test-ratio" >&2
    exit 2
    ;;
esac
