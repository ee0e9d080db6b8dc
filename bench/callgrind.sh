#!/usr/bin/env bash
# Instructions and calls per pass of the workload, counted by callgrind: exact
# and repeatable, where wall-clock times on a busy machine are not. Runs the
# three loops of workload_bench (the real one, the one without progress and
# stop, the native one) and counts inside each loop only. A pass makes one
# call of pow in every loop, which gives the number of passes.
#
# usage: bench/callgrind.sh [build-dir]   (build-perf by default)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-perf}
bench="$build/bench/workload_bench"
if [ ! -x "$bench" ]; then
    echo "bench/callgrind.sh: no $bench; build the bench target first" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# label, benchmark, the loop's function (a callgrind pattern)
measure() {
    local label=$1 benchmark=$2 loop=$3
    valgrind --tool=callgrind --callgrind-out-file="$out/$benchmark.out" \
        --toggle-collect="$loop" "$bench" --benchmark_filter="^$benchmark/" \
        >/dev/null 2>"$out/$benchmark.log"
    local instructions
    instructions=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/$benchmark.log")
    callgrind_annotate --tree=calling --threshold=100 "$out/$benchmark.out" 2>/dev/null |
        awk -v label="$label" -v instructions="$instructions" -v loop="${loop//\*/}" '
            function times(line) {
                if (!match(line, /\(([0-9,]+)x\)/))
                    return 0
                s = substr(line, RSTART + 1, RLENGTH - 3)
                gsub(",", "", s)
                return s + 0
            }
            / \*  / { inLoop = index($0, loop) > 0; next }
            / >   / {
                n = times($0)
                if ($0 ~ /:pow[@(]/ || $0 ~ /:pow \[/)
                    passes += n
                if (inLoop && match($0, /kamorin::[A-Za-z_:]*(operator.|[A-Za-z]+)\(/)) {
                    name = substr($0, RSTART, RLENGTH - 1)
                    calls[name] += n
                }
            }
            END {
                if (passes == 0) {
                    printf "%s: no passes counted\n", label
                    exit 1
                }
                printf "%-34s %7.1f instructions per pass", label, instructions / passes
                # Calls made once per loop, not per pass, are left out.
                total = 0
                for (name in calls) {
                    if (calls[name] < passes / 2)
                        delete calls[name]
                    else
                        total += calls[name]
                }
                if (total > 0) {
                    printf ", %.2f runtime calls per pass:", total / passes
                    for (name in calls) {
                        short = name
                        sub(/^kamorin::/, "", short)
                        printf " %s %.2f", short, calls[name] / passes
                    }
                }
                printf "\n"
            }'
}

measure "tagged pass" taggedPass 'kamorin::sumLeibnizSeries*'
measure "tagged, without progress and stop" bareTaggedPass '*bareTaggedSeries*'
measure "native pass" nativePass '*nativeSeries*'
