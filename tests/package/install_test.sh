#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: programs, data and desktop files land
# where they belong, and the installed programs find their data.
#   install_test.sh CMAKE BUILD_DIR VALIDATE_SH
set -euo pipefail
cmake=$1 build=$2 validate=$3
source "$(dirname "$0")/common.sh"
# Scratch space in the test's own build folder, away from what others do in /tmp.
scratch=$(mktemp -d "$PWD/scratch.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
  { cat "$scratch/install.log"; fail "cmake --install failed"; }

for f in bin/kvt bin/kvx bin/kvt-sim; do
  [ -x "$prefix/$f" ] || fail "$f is not installed"
done
for f in share/kvt/default.cds share/applications/kvt.desktop share/metainfo/kvt.metainfo.xml \
         share/mime/packages/kvt.xml share/icons/hicolor/scalable/apps/kvt.svg \
         share/kvt/translations/kvt_de.qm; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for page in kvt kvx kvt-sim; do
  [ -s "$prefix/share/man/man6/$page.6.gz" ] || [ -s "$prefix/share/man/man6/$page.6" ] ||
    fail "the manual page $page.6 is not installed"
done

check_programs "$prefix" "$scratch"
bash "$validate" "$prefix"
echo "installed tree ok"
