#!/usr/bin/env bash
# Builds Kamorin and its tests with AddressSanitizer and UBSan in a build
# directory of their own (build-sanitize unless one is given) and runs the
# tests there. Needs the packages that scripts/dev.sh installs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-sanitize}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAMORIN_SANITIZE=ON -DKAMORIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
# The install tests package and install the build tree: they check what a user
# gets from a release build, which an instrumented one is not.
exec ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -E '^install-'
