#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in <build-dir>, configuring it on
# first use, and runs each on a copy of its seed corpus in fuzz/corpus/<what>/:
#   run-all.sh <build-dir> [seconds]         each for a while (20 s by default);
#   run-all.sh <build-dir> --runs N [--merge] each to N executions, then a table
#       of executions per second, coverage and new paths per target; --merge
#       then minimises what the run found together with the seeds back into
#       fuzz/corpus/<what>/ (keeping the named hand seeds), so later runs start
#       where this one ended.
# The seed corpus stays untouched otherwise. A crash, a sanitizer report, a
# broken property or a hang fails the run; the input that found it is kept in
# <build-dir>/fuzz-crashes/.
set -euo pipefail

usage() {
    echo "usage: fuzz/run-all.sh <build-dir> [seconds]" >&2
    echo "       fuzz/run-all.sh <build-dir> --runs N [--merge]" >&2
    exit 64
}
[ $# -ge 1 ] || usage
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
shift
seconds=20
runs=
merge=false
case "${1:-}" in
--runs)
    [ $# -ge 2 ] && [[ $2 =~ ^[0-9]+$ ]] || usage
    runs=$2
    shift 2
    if [ "${1:-}" = --merge ]; then
        merge=true
        shift
    fi
    ;;
"") ;;
*)
    [[ $1 =~ ^[0-9]+$ ]] || usage
    seconds=$1
    shift
    ;;
esac
[ $# -eq 0 ] || usage

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
if [ -n "$runs" ]; then
    limit=(-runs="$runs")
    printf '%-16s %10s %8s %9s %6s %7s %9s\n' target executions seconds "execs/s" cov ft "new paths"
else
    limit=(-max_total_time="$seconds")
fi

# The last "cov: N ft: M" that libFuzzer printed.
coverage() {
    grep -oE 'cov: [0-9]+ ft: [0-9]+' "$1" | tail -n 1 | awk '{ print $2, $4 }'
}

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
    start=$SECONDS
    # An input slower than this is a hang: no input needs more than a moment.
    if ! "$build/fuzz/${what}_fuzz" "${limit[@]}" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$crashes/${what}-" "$work/corpus" >"$work/log" 2>&1; then
        echo "${what}_fuzz: FAIL (log: $work/log)"
        grep -A 30 -m 1 -E 'property broken|ERROR|runtime error|terminate' "$work/log" || tail -n 40 "$work/log"
        failed+=("$what")
        continue
    fi
    done_runs=$(grep -o 'Done [0-9]* runs' "$work/log" | tail -n 1 | cut -d' ' -f2)
    if [ -z "$runs" ]; then
        echo "${what}_fuzz: ok, $done_runs inputs in ${seconds} s"
        continue
    fi
    elapsed=$((SECONDS - start))
    read -r cov ft < <(coverage "$work/log")
    stat() { grep -o "stat::$1: *[0-9]*" "$work/log" | grep -o '[0-9]*$' || echo '?'; }
    printf '%-16s %10s %8s %9s %6s %7s %9s\n' "$what" "$done_runs" "$elapsed" \
        "$(stat average_exec_per_sec)" "$cov" "$ft" "$(stat new_units_added)"
    if $merge; then
        # Minimised into a fresh directory: what the seeds and the run found,
        # each feature kept by its smallest input.
        rm -rf "$work/merged"
        mkdir -p "$work/merged"
        "$build/fuzz/${what}_fuzz" -merge=1 "$work/merged" "$seeds" "$work/corpus" \
            >"$work/merge.log" 2>&1
        # Hand seeds carry names and stay; what libFuzzer found is named by
        # its SHA-1 and is replaced by the minimised set.
        find "$seeds" -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
        cp "$work/merged"/* "$seeds/"
        echo "  merged into fuzz/corpus/$what: $(find "$seeds" -type f | wc -l) inputs," \
            "$(du -sk "$seeds" | cut -f1) KiB"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}; inputs in $crashes" >&2
    exit 1
fi
