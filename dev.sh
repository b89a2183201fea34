#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./dev.sh start   install what is missing, build, start the table
#   ./dev.sh test    install what is missing, build, run the whole test suite
#   ./dev.sh package install what is missing, build, check the desktop files, make the .deb
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  # --- packaging: CPack's Depends (dpkg-shlibdeps) and the desktop-file checks
  dpkg-dev desktop-file-utils appstream shared-mime-info libxml2-utils groff-base
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
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
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
}
# --- end packaging

case "${1:-}" in
  start) install_missing; build; shift; exec "$BUILD_DIR/bin/kvt" "$@" ;;
  test) install_missing; build; run_tests ;;
  package) install_missing; make_package ;;
  *)
    echo "Usage: $0 start [CARDSET.cds] | test | package" >&2
    exit 2
    ;;
esac
