#!/usr/bin/env bash
# Runs the libFuzzer programs built in build-fuzz (./dev.sh fuzz builds them).
#
#   fuzz/run.sh TARGET SECONDS [LIBFUZZER-FLAGS...]
#       Fuzzes TARGET for SECONDS from its committed corpus (fuzz/corpus/TARGET)
#       plus what earlier local runs found (build-fuzz/corpus/TARGET, which
#       grows). A crash input lands in build-fuzz/crashes/TARGET/; the log in
#       build-fuzz/logs/TARGET.log. Exits 1 when the run found a crash.
#   fuzz/run.sh --merge TARGET
#       Minimises the committed and the local corpus into a fresh
#       fuzz/corpus/TARGET (keeps every input that adds coverage; at most
#       about KVT_FUZZ_MAX_CORPUS inputs, default 300).
#   fuzz/run.sh --replay TARGET
#       Runs every input of fuzz/regressions/TARGET and fuzz/corpus/TARGET once.
#   fuzz/run.sh --list
#
# Environment: KVT_FUZZ_BUILD_DIR (default build-fuzz), KVT_FUZZ_JOBS
# (parallel jobs, default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${KVT_FUZZ_BUILD_DIR:-build-fuzz}
TARGETS=(cds_decode cdf_decode cds_load profile_read dpf_load game_record_read table_save_read manifest_parse)

usage() {
  sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

# Per-target flags: input size limits and dictionaries.
flags_for() {
  case "$1" in
    cds_decode | cds_load) echo "-max_len=8192 -dict=fuzz/cds.dict" ;;
    dpf_load) echo "-max_len=4096 -dict=fuzz/dpf.dict" ;;
    cdf_decode) echo "-max_len=4096 -dict=fuzz/cds.dict" ;;
    profile_read) echo "-max_len=2048 -dict=fuzz/profile.dict" ;;
    game_record_read) echo "-max_len=4096" ;;
    table_save_read) echo "-max_len=16384" ;;
    manifest_parse) echo "-max_len=16384 -dict=fuzz/manifest.dict" ;;
    *) echo "unknown fuzz target: $1 (one of: ${TARGETS[*]})" >&2; exit 2 ;;
  esac
}

program_for() {
  local program="$BUILD/fuzz/fuzz_$1"
  [ -x "$program" ] || { echo "$program is not built: run ./dev.sh fuzz first" >&2; exit 2; }
  echo "$program"
}

# Memory errors, undefined behaviour and leaks all end the run as a crash.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:abort_on_error=1}"

case "${1:-}" in
  --list) printf '%s\n' "${TARGETS[@]}"; exit 0 ;;
  --merge)
    target=${2:?target}
    flags=$(flags_for "$target")
    program=$(program_for "$target")
    fresh=$(mktemp -d)
    trap 'rm -rf "$fresh"' EXIT
    mkdir -p "$BUILD/corpus/$target" "$BUILD/logs" fuzz/corpus/"$target"
    # Keep every input that adds a feature (edges and their hit counts); when
    # that is more than the committed corpus should hold, edges alone.
    # shellcheck disable=SC2086
    "$program" $flags -merge=1 "$fresh" fuzz/corpus/"$target" "$BUILD/corpus/$target" \
      >"$BUILD/logs/$target.merge.log" 2>&1 || { tail -20 "$BUILD/logs/$target.merge.log" >&2; exit 1; }
    if [ "$(ls "$fresh" | wc -l)" -gt "${KVT_FUZZ_MAX_CORPUS:-300}" ]; then
      rm -rf "${fresh:?}"/*
      # shellcheck disable=SC2086
      "$program" $flags -merge=1 -use_counters=0 "$fresh" fuzz/corpus/"$target" "$BUILD/corpus/$target" \
        >>"$BUILD/logs/$target.merge.log" 2>&1 || { tail -20 "$BUILD/logs/$target.merge.log" >&2; exit 1; }
    fi
    rm -rf fuzz/corpus/"$target"
    mkdir -p fuzz/corpus/"$target"
    cp "$fresh"/* fuzz/corpus/"$target"/
    echo "$target: $(ls fuzz/corpus/"$target" | wc -l) inputs, $(du -sh fuzz/corpus/"$target" | cut -f1)"
    exit 0
    ;;
  --replay)
    target=${2:?target}
    flags=$(flags_for "$target")
    program=$(program_for "$target")
    mkdir -p "$BUILD/crashes/$target"
    inputs=()
    for f in fuzz/regressions/"$target"/* fuzz/corpus/"$target"/*; do [ -f "$f" ] && inputs+=("$f"); done
    # shellcheck disable=SC2086
    exec "$program" $flags -runs=1 -artifact_prefix="$BUILD/crashes/$target/" "${inputs[@]}"
    ;;
  -* | "") usage ;;
esac

target=$1
seconds=${2:-60}
flags=$(flags_for "$target")
program=$(program_for "$target")
jobs=${KVT_FUZZ_JOBS:-1}
parallel=()
# With jobs, libFuzzer runs workers that log to fuzz-N.log in the current folder.
[ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
mkdir -p "$BUILD/corpus/$target" "$BUILD/crashes/$target" "$BUILD/logs"
log="$BUILD/logs/$target.log"

echo "fuzzing $target for ${seconds}s (log: $log)"
status=0
# New inputs go to the local corpus (first folder); the committed one is only read.
# shellcheck disable=SC2086
"$program" $flags -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
  -print_final_stats=1 "${parallel[@]}" \
  -artifact_prefix="$BUILD/crashes/$target/" \
  "$BUILD/corpus/$target" fuzz/corpus/"$target" >"$log" 2>&1 || status=$?
if [ "$jobs" -gt 1 ]; then cat fuzz-*.log >>"$log" 2>/dev/null; rm -f fuzz-*.log; fi

# The figures for docs/reliability.md.
last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{s+=$2} END {print s+0}')
rate=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{s+=$2} END {print s+0}')
cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
crashes=$(find "$BUILD/crashes/$target" -type f -newer "$program" | wc -l)
echo "$target: ${seconds}s, $execs execs, $rate execs/s, cov $cov, ft $ft, corpus $(ls "$BUILD/corpus/$target" | wc -l) local + $(ls fuzz/corpus/"$target" | wc -l) committed, crashes $crashes"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
  echo "$target: FOUND A PROBLEM (exit $status); the end of the log:" >&2
  grep -E -A25 'ERROR:|kvt fuzz check failed|runtime error' "$log" | head -60 >&2 || tail -40 "$log" >&2
  ls -1 "$BUILD/crashes/$target" >&2 || true
  exit 1
fi
