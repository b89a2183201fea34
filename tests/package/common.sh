# Shared by the package tests: run installed programs the way a user would,
# with their own settings and working folders and no display.

fail() { echo "FAIL: $*" >&2; exit 1; }

# run_installed PREFIX HOME_DIR PROGRAM ARGS...: the shipped data must be found
# beside the installed programs, so nothing points elsewhere.
run_installed() {
  local prefix=$1 home=$2 program=$3
  shift 3
  mkdir -p "$home"
  mkdir -p -m 700 "$home/runtime"
  env -u KVT_DATA_DIR HOME="$home" XDG_CONFIG_HOME="$home/config" \
      XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
      QT_QPA_PLATFORM=offscreen \
      timeout 60 "$prefix/bin/$program" "$@"
}

# A dealt table names the card set and shows four hands.
looks_dealt() {
  grep -q 'Four Winds' <<<"$1" && [ "$(grep -c '^Player [1-4] ' <<<"$1")" -eq 4 ]
}

# check_programs PREFIX SCRATCH: --help of kvt-sim and kvx, and a deal by kvt.
check_programs() {
  local prefix=$1 scratch=$2 out
  out=$(run_installed "$prefix" "$scratch/home-sim" kvt-sim --help) || fail "kvt-sim --help failed"
  grep -q '^Usage: kvt-sim' <<<"$out" || fail "kvt-sim --help printed: $out"
  out=$(run_installed "$prefix" "$scratch/home-sim" kvt-sim --seed 3 --check) || fail "kvt-sim failed: $out"
  grep -q '^wins per seat' <<<"$out" || fail "kvt-sim did not play the shipped game: $out"
  out=$(run_installed "$prefix" "$scratch/home-kvx" kvx --help) || fail "kvx --help failed"
  grep -q 'pack-cards' <<<"$out" || fail "kvx --help printed: $out"
  run_installed "$prefix" "$scratch/home-kvx" kvx check "$prefix/share/kvt/default.cds" >/dev/null ||
    fail "kvx check rejects the installed default.cds"

  # kvt --print-deal prints the table without a window; a kvt from before
  # that option printed the same table when run plainly.
  out=$(run_installed "$prefix" "$scratch/home-kvt" kvt --print-deal 2>"$scratch/kvt.err") || true
  if ! looks_dealt "$out"; then
    echo "kvt --print-deal did not print a deal; trying plain kvt" >&2
    cat "$scratch/kvt.err" >&2
    out=$(run_installed "$prefix" "$scratch/home-kvt2" kvt 2>&1) || true
    looks_dealt "$out" || fail "the installed kvt printed no deal: $out"
  fi
  echo "$out"
  # The card set in force is unpacked into the working folder under XDG_DATA_HOME.
  [ -n "$(ls -A "$scratch"/home-kvt*/data/kvt 2>/dev/null)" ] ||
    fail "kvt wrote no working files under XDG_DATA_HOME"
}
