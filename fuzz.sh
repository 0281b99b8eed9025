#!/usr/bin/env bash
# Fuzzes every reader with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   ./fuzz.sh [SECONDS [TARGET...]]
#                         fuzz each target (or those named: sweep, maa, ...) for SECONDS
#                         (default 60), new inputs kept in
#                         build-fuzz/corpus/, crashes written to build-fuzz/artifacts/
#   ./fuzz.sh --replay    run every seed (tests/data with its real-world corpus,
#                         fuzz/seeds, fuzz/regressions)
#                         through every target once; fails on the first finding
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
build="$root/build-fuzz"

mode=fuzz
seconds=60
if [ "${1:-}" = "--replay" ]; then
    mode=replay
elif [ -n "${1:-}" ]; then
    seconds="$1"
fi
# Further arguments name the targets to run (sweep, maa, ...); none runs them all.
shift || true
only=("$@")

if ! command -v clang++ >/dev/null; then
    "$root/scripts/setup.sh"
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so that every clone shares the cache.
    export CCACHE_BASEDIR="$root"
fi
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
        >/dev/null
fi
cmake --build "$build" -j2

seeds=("$root/tests/data")
for folder in "$root/fuzz/seeds"/*/ "$root/fuzz/regressions"/*/; do
    [ -d "$folder" ] && seeds+=("$folder")
done

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$build/logs"
for program in "$build"/fuzz_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    name="$(basename "$program")"
    if [ "${#only[@]}" -gt 0 ] && [[ ! " ${only[*]} " == *" ${name#fuzz_} "* ]]; then
        continue
    fi
    log="$build/logs/$name.log"
    if [ "$mode" = replay ]; then
        echo "Replaying the seeds through $name"
        "$program" -runs=0 "${seeds[@]}" 2>"$log" || {
            cat "$log"
            exit 1
        }
    else
        echo "Fuzzing $name for $seconds s"
        mkdir -p "$build/corpus/$name" "$build/artifacts"
        "$program" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
            -dict="$root/fuzz/lobex.dict" -artifact_prefix="$build/artifacts/$name-" \
            -print_final_stats=1 "$build/corpus/$name" "${seeds[@]}" 2>"$log" || {
            tail -n 60 "$log"
            exit 1
        }
        grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" || true
    fi
done
