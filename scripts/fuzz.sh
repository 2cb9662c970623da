#!/usr/bin/env bash
# Fuzzes the engine with libFuzzer: builds the targets of fuzz/ with clang++ and sanitizers in
# build/fuzz, runs every target for the given number of seconds (default 10), and keeps what a
# target trips over as regression inputs in tests/fuzz_regressions/<target>/, which the ordinary
# test suite replays from then on. Exits non-zero when a target found something.
#   scripts/fuzz.sh          a short run, as the test suite does (fuzz_briefly)
#   scripts/fuzz.sh 600      ten minutes a target, by hand
# The coverage each run reaches stays in build/fuzz/corpus/ and seeds the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-10}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds-per-target]" >&2
    exit 2
fi

clangxx=${BELTRIX_CLANGXX:-}
if [ -z "$clangxx" ]; then
    clangxx=$(command -v clang++-14 || command -v clang++ || true)
fi
if [ -z "$clangxx" ]; then
    echo "fuzz.sh: clang++ not found (Debian: apt-get install clang libclang-rt-dev)" >&2
    exit 2
fi

build=$root/build/fuzz
mkdir -p "$build"
# The test suite and a run by hand would otherwise build and fuzz in the same folder at once.
exec 9>"$build/.lock"
flock 9

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$clangxx" -DBELTRIX_FUZZ=ON \
    -DBELTRIX_WERROR=ON -DBUILD_TESTING=OFF >"$build/configure.log" ||
    { cat "$build/configure.log"; exit 2; }
cmake --build "$build"

targets=(conversions operations)
pids=()
for target in "${targets[@]}"; do
    work=$build/corpus/$target
    artifacts=$build/artifacts/$target
    mkdir -p "$work" "$artifacts"
    rm -f "$artifacts"/*
    seeds=("$root/fuzz/corpus/$target")
    if [ -d "$root/tests/fuzz_regressions/$target" ]; then
        seeds+=("$root/tests/fuzz_regressions/$target")
    fi
    # New inputs go into the first folder only, so the seed corpus in the source tree stays as
    # it is. The targets run side by side; each is one process.
    "$build/fuzz_$target" "$work" "${seeds[@]}" \
        -max_total_time="$seconds" -max_len=4096 -timeout=30 -print_final_stats=1 \
        -dict="$root/fuzz/numbers.dict" -artifact_prefix="$artifacts/" \
        >"$build/$target.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    status=0
    wait "${pids[$i]}" || status=$?
    log=$build/$target.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ -z "$runs" ]; then
        # A crash can end the run before the final statistics; the last progress line has it.
        runs=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)
    fi
    kept=()
    for artifact in "$build/artifacts/$target"/crash-* "$build/artifacts/$target"/timeout-* \
        "$build/artifacts/$target"/oom-* "$build/artifacts/$target"/leak-*; do
        [ -e "$artifact" ] || continue
        mkdir -p "tests/fuzz_regressions/$target"
        cp "$artifact" "tests/fuzz_regressions/$target/"
        kept+=("tests/fuzz_regressions/$target/$(basename "$artifact")")
    done
    if [ "$status" -eq 0 ] && [ "${#kept[@]}" -eq 0 ]; then
        echo "$target: ${runs:-?} executions in ${seconds} s, nothing found"
        continue
    fi
    failed=1
    echo "$target: ${runs:-?} executions, FOUND A FAULT (libFuzzer exit status $status)"
    # The broken property (it may take several lines, up to libFuzzer's report), or else the
    # sanitizer's report.
    if grep -q 'BELTRIX fuzz property violated' "$log"; then
        awk '/BELTRIX fuzz property violated/ { p = 1 } /^==[0-9]+==/ { p = 0 } p' "$log"
    else
        grep -m 1 -A 6 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' \
            "$log" || tail -n 20 "$log"
    fi
    for file in "${kept[@]}"; do
        echo "  kept $file; replay: $build/fuzz_$target $file"
    done
    echo "  full log: $log"
done
exit "$failed"
