#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a fresh
# folder and checks its control data, its contents and the programs in it.
#   deb_test.sh CPACK BUILD_DIR VERSION VALIDATE_SH
set -euo pipefail
cpack=$1 build=$2 version=$3 validate=$4
source "$(dirname "$0")/common.sh"
# Scratch space in the test's own build folder, away from what others do in /tmp.
scratch=$(mktemp -d "$PWD/scratch.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# A folder of its own, so a package being made by ./dev.sh at the same time
# is not disturbed.
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
shopt -s nullglob
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb, found ${#debs[@]}"
deb=${debs[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kvt ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "Depends: $depends"
# Every package that provides a library the programs load must be in Depends.
# The owner is asked for under the library's own name and its real one (/lib
# against /usr/lib), a few times, since an apt run elsewhere on the machine
# may be rewriting dpkg's file lists just then.
package_of() {
  local owner try
  for try in 1 2 3; do
    owner=$(dpkg-query -S "$1" 2>/dev/null || dpkg-query -S "$(readlink -f "$1")" 2>/dev/null) &&
      break
    sleep 2
  done
  head -n 1 <<<"$owner" | cut -d: -f1
}
depends_names=$(sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends")
depends_on() { grep -qxF -- "$1" <<<"$depends_names"; }
depends_on libc6 || fail "Depends lacks libc6"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$scratch/contents"
grep -qE -- '^\./usr/lib/([a-z0-9_-]+/)?kvt/kvt-sound\.so$' "$scratch/contents" || fail "the package lacks the sound module"
for f in ./usr/bin/kvt ./usr/bin/kvx ./usr/bin/kvt-sim ./usr/share/kvt/default.cds \
         ./usr/share/applications/kvt.desktop ./usr/share/metainfo/kvt.metainfo.xml \
         ./usr/share/mime/packages/kvt.xml ./usr/share/icons/hicolor/scalable/apps/kvt.svg \
         ./usr/share/icons/hicolor/48x48/apps/kvt.png ./usr/share/doc/kvt/changelog.gz \
         ./usr/share/doc/kvt/copyright ./usr/share/kvt/translations/kvt_de.qm; do
  grep -qxF -- "$f" "$scratch/contents" || fail "the package lacks $f"
done
for page in kvt kvx kvt-sim; do
  grep -qxE -- "\./usr/share/man/man6/$page\.6(\.gz)?" "$scratch/contents" ||
    fail "the package lacks the manual page $page.6"
done
# Nothing from the build or test machinery.
if grep -Ev '^\./usr/(bin/(kvt|kvx|kvt-sim)|share/(kvt|applications|metainfo|mime|icons|man|doc/kvt|lintian/overrides/kvt)(/.*)?)$|^\./(usr/(bin|share|share/doc|share/lintian|share/lintian/overrides)?/?)?$|^\./usr/lib/([a-z0-9_-]+/)?(kvt/(kvt-sound\.so)?)?$' \
    "$scratch/contents" >"$scratch/extra"; then
  cat "$scratch/extra"
  fail "the package holds files it should not"
fi

# Debian's own checks: an error fails, warnings and notes are shown.
if command -v lintian >/dev/null; then
  if lintian --fail-on error --display-level '>=info' "$deb" >"$scratch/lintian.log" 2>&1; then
    echo "lintian: no errors"
  else
    cat "$scratch/lintian.log"
    fail "lintian found errors"
  fi
  grep -E '^[WI]: ' "$scratch/lintian.log" | sed 's/^/  lintian /' || true
else
  echo "lintian is not installed; skipping its checks"
fi

dpkg-deb -x "$deb" "$scratch/root"
if command -v readelf >/dev/null; then
  # Read whole files, not pipes that close early (pipefail would trip).
  "$(command -v ldconfig || echo /sbin/ldconfig)" -p >"$scratch/ldcache"
  multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || true)
  for p in kvt kvx kvt-sim; do
    readelf -S "$scratch/root/usr/bin/$p" >"$scratch/sections"
    if grep -q '\.debug_info' "$scratch/sections"; then
      fail "usr/bin/$p still carries debug information"
    fi
    for lib in $(readelf -d "$scratch/root/usr/bin/$p" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      # This machine's own copy of the library, the one the programs were linked with.
      path=$(awk -v l="$lib" -v m="/$multiarch/" '$1 == l { if (index($NF, m)) { best = $NF; exit } if (!any) any = $NF }
                                                   END { print (best ? best : any) }' "$scratch/ldcache")
      [ -n "$path" ] || fail "$p needs $lib, which this machine does not have"
      owner=$(package_of "$path")
      [ -n "$owner" ] || fail "no package owns $path ($lib, needed by $p)"
      depends_on "$owner" || fail "$p needs $lib from $owner, which Depends lacks"
    done
  done
fi
check_programs "$scratch/root/usr" "$scratch"
bash "$validate" "$scratch/root/usr"
echo "package ok"
