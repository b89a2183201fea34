#!/usr/bin/env bash
# Renders kvt.svg into the PNG sizes installed beside it in the hicolor theme
# (for programs and menus that do not load SVG). Run after changing kvt.svg:
#   packaging/render-icons.sh        (needs rsvg-convert: apt-get install librsvg2-bin)
set -euo pipefail
cd "$(dirname "$0")"
mkdir -p icons
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kvt.svg -o "icons/kvt-$size.png"
done
ls -l icons
