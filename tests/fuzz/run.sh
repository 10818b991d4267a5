#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a set time each, one after another at low priority.
#   tests/fuzz/run.sh BUILD_DIR SECONDS [fresh]
# Each target starts from its seed corpus (tests/fuzz/corpus/<target>) and the inputs it found before
# (BUILD_DIR/fuzz-corpus/<target>); "fresh" starts from the seeds alone in a temporary folder (make test).
# A crash, leak or hang leaves its input in BUILD_DIR/fuzz-findings/<target>/ and fails the run.
# FUZZ_TARGETS="a b" limits the run to those targets.
# Every target runs with one seed, printed first: FUZZ_SEED=S gives the same inputs in the same order, and
# with FUZZ_RUNS=N (each target's line says how many it ran) a run is repeated exactly, whatever the
# machine's speed. The short round of "fresh" uses seed 1 unless told otherwise, so that make test tries
# the same inputs every time; a long round draws a new seed.
set -uo pipefail
build=${1:?build dir}
seconds=${2:-60}
mode=${3:-keep}
if [ "$mode" = fresh ]; then seed=${FUZZ_SEED:-1}; else seed=${FUZZ_SEED:-$((RANDOM * 32768 + RANDOM + 1))}; fi
limit=(-max_total_time="$seconds")
[ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
echo "fuzz: seed $seed (FUZZ_SEED=$seed${FUZZ_RUNS:+ FUZZ_RUNS=$FUZZ_RUNS} repeats it)"
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
targets=()
if [ -n "${FUZZ_TARGETS:-}" ]; then
    for t in $FUZZ_TARGETS; do targets+=("$build/fuzz_$t"); done
else
    targets=("$build"/fuzz_*)
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build" >&2; exit 1; }
work=$(mktemp -d /tmp/pebblecraft-fuzzrun-XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=()
summary=()
for exe in "${targets[@]}"; do
    name=${exe##*/fuzz_}
    seeds="$here/corpus/$name"
    mkdir -p "$seeds"
    if [ "$mode" = fresh ]; then corpus="$work/corpus-$name"; else corpus="$build/fuzz-corpus/$name"; fi
    findings="$build/fuzz-findings/$name"
    mkdir -p "$corpus" "$findings"
    log="$build/fuzz-logs/$name.log"
    mkdir -p "$build/fuzz-logs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        nice -n 10 "$exe" -seed="$seed" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" > "$log" 2>&1
    rc=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    units=$(ls "$corpus" | wc -l)
    if [ $rc -ne 0 ]; then
        failed+=("$name")
        summary+=("$name: FAILED after ${runs:-?} runs (log $log, inputs in $findings)")
    else
        summary+=("$name: ${runs:-?} runs, corpus $units")
    fi
    echo "${summary[-1]}"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]}" >&2
    exit 1
fi
