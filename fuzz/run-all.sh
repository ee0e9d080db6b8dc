#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in <build-dir>, configuring it on
# first use, and runs each for [seconds] (20 by default) on a copy of its seed
# corpus in fuzz/corpus/<what>/, which stays untouched. A crash, a sanitizer
# report, a broken property or a hang fails the run; the input that found it
# is kept in <build-dir>/fuzz-crashes/.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: fuzz/run-all.sh <build-dir> [seconds]" >&2
    exit 64
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
seconds=${2:-20}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DKAMORIN_FUZZ=ON \
        -DKAMORIN_BUILD_TESTS=OFF -DKAMORIN_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target fuzz -j "$(nproc)"

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
crashes="$build/fuzz-crashes"
mkdir -p "$crashes"
failed=()
for source in "$root"/fuzz/*_fuzz.cpp; do
    what=$(basename "$source" _fuzz.cpp)
    seeds="$root/fuzz/corpus/$what"
    work="$build/fuzz-run/$what"
    rm -rf "$work"
    mkdir -p "$work/corpus"
    if ! compgen -G "$seeds/*" >/dev/null; then
        echo "${what}_fuzz: FAIL: no seed corpus in fuzz/corpus/$what"
        failed+=("$what")
        continue
    fi
    cp "$seeds"/* "$work/corpus/"
    # An input slower than this is a hang: no input needs more than a moment.
    if "$build/fuzz/${what}_fuzz" -max_total_time="$seconds" -timeout=30 \
        -artifact_prefix="$crashes/${what}-" "$work/corpus" >"$work/log" 2>&1; then
        echo "${what}_fuzz: ok, $(grep -o 'Done [0-9]* runs' "$work/log" | tail -n 1 | cut -d' ' -f2) inputs in ${seconds} s"
    else
        echo "${what}_fuzz: FAIL (log: $work/log)"
        grep -A 30 -m 1 -E 'property broken|ERROR|runtime error|terminate' "$work/log" || tail -n 40 "$work/log"
        failed+=("$what")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}; inputs in $crashes" >&2
    exit 1
fi
