#!/usr/bin/env bash
# Checks the desktop-integration files of an installed KVT with the tools the
# desktops themselves use:  packaging/validate.sh PREFIX   (e.g. /usr)
# A check whose tool is not installed is reported and skipped; ./dev.sh
# installs all of them (desktop-file-utils, appstream, shared-mime-info,
# libxml2-utils, groff-base).
set -uo pipefail

prefix=${1:?usage: validate.sh PREFIX}
share=$prefix/share
failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

have() { command -v "$1" >/dev/null 2>&1; }
pass() { echo "ok:   $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
skip() { echo "skip: $* (tool not installed)"; }

for f in applications/kvt.desktop metainfo/kvt.metainfo.xml mime/packages/kvt.xml \
         icons/hicolor/scalable/apps/kvt.svg; do
  [ -s "$share/$f" ] || fail "missing $share/$f"
done
# The PNG renders of the icon: one per size, each as large as its folder says.
for size in 16 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/kvt.png
  if [ ! -s "$png" ]; then
    fail "missing $png"
    continue
  fi
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  w=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4)) h=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
  [ "$w" -eq "$size" ] && [ "$h" -eq "$size" ] || fail "$png is ${w}x$h, not ${size}x$size"
done

# A manual page, gzipped or not, as plain text on standard output.
man_source() {
  local base=$share/man/man6/$1.6
  if [ -s "$base.gz" ]; then gzip -dc "$base.gz"
  elif [ -s "$base" ]; then cat "$base"
  else return 1
  fi
}

# Launcher
desktop=$share/applications/kvt.desktop
if have desktop-file-validate; then
  if out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ]; then
    pass "desktop-file-validate kvt.desktop"
  else
    fail "desktop-file-validate kvt.desktop"; echo "$out"
  fi
else
  skip "desktop-file-validate"
fi

# AppStream. Errors fail; warnings are shown. A screenshot must be a web
# address: software centres ignore or refuse anything else.
metainfo=$share/metainfo/kvt.metainfo.xml
if have appstreamcli; then
  if grep '<image>' "$metainfo" | grep -vq '<image>https://'; then
    fail "the AppStream screenshot is not an https address: $(grep -o '<image>[^<]*</image>' "$metainfo")"
  fi
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
  if grep -q '^E:' <<<"$out"; then
    fail "appstreamcli validate kvt.metainfo.xml"; echo "$out"
  else
    pass "appstreamcli validate kvt.metainfo.xml (no errors)"
    grep '^W:' <<<"$out" | sed 's/^/      /'
  fi
  if grep -q '<launchable type="desktop-id">kvt.desktop</launchable>' "$metainfo"; then
    pass "metainfo launches kvt.desktop"
  else
    fail "metainfo does not name kvt.desktop as its launchable"
  fi
else
  skip "appstreamcli"
fi

# File types: the XML must parse, and a MIME database built from it alone must
# hold every type with its globs and magic.
mime=$share/mime/packages/kvt.xml
if have update-mime-database; then
  mkdir -p "$scratch/mime/packages"
  cp "$mime" "$scratch/mime/packages/kvt.xml"
  if update-mime-database "$scratch/mime" >"$scratch/umd.log" 2>&1 &&
     ! grep -qi 'warning\|error' "$scratch/umd.log" &&
     grep -qx '50:application/x-kvt-cardset:\*\.cds' "$scratch/mime/globs2" &&
     grep -qx '50:application/x-kvt-player:\*\.dpf' "$scratch/mime/globs2" &&
     grep -qx '50:application/x-kvt-deal:\*\.kvtdeal' "$scratch/mime/globs2" &&
     grep -qx '50:application/x-kvt-game-record:\*\.kvtgame' "$scratch/mime/globs2" &&
     grep -aq 'application/x-kvt-game-record' "$scratch/mime/magic" &&
     grep -aq 'application/x-kvt-deal' "$scratch/mime/magic" &&
     grep -aq 'application/x-kvt-cardset' "$scratch/mime/magic" &&
     grep -aq 'application/x-kvt-player' "$scratch/mime/magic"; then
    pass "update-mime-database kvt.xml"
  else
    fail "update-mime-database kvt.xml"; cat "$scratch/umd.log"
  fi
else
  skip "update-mime-database"
fi
if grep -q 'application/x-kvt-cardset;application/x-kvt-player;application/x-kvt-deal;application/x-kvt-game-record;' "$desktop"; then
  pass "kvt.desktop offers every file type"
else
  fail "kvt.desktop does not list every file type"
fi

if have xmllint; then
  for f in "$mime" "$metainfo" "$share/icons/hicolor/scalable/apps/kvt.svg"; do
    if xmllint --noout "$f" 2>"$scratch/xml.log"; then pass "xmllint $(basename "$f")"
    else fail "xmllint $(basename "$f")"; cat "$scratch/xml.log"; fi
  done
else
  skip "xmllint"
fi

# Manual pages: no groff warnings, and the NAME line that apropos reads.
if have groff; then
  for page in kvt kvx kvt-sim; do
    if ! man_source "$page" >"$scratch/$page.6"; then
      fail "missing manual page $page.6"
      continue
    fi
    f=$scratch/$page.6
    if out=$(groff -man -ww -z "$f" 2>&1) && [ -z "$out" ] && grep -q '^\.SH NAME' "$f" &&
       ! grep -q '@[A-Z_]*@' "$f"; then
      pass "groff $page.6"
    else
      fail "groff $page.6"; echo "$out"
    fi
  done
else
  skip "groff"
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all desktop-integration checks passed"
