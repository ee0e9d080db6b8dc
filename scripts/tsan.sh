#!/usr/bin/env bash
# Builds Kamorin and its tests with ThreadSanitizer (clang) in a build
# directory of their own (build-tsan unless one is given) and runs the test
# programs there. A data race, a lock-order inversion or an unsafe call in a
# signal handler fails the stage; only reports whose stacks lie wholly inside
# Qt, D-Bus, xcb or GLib are suppressed (tests/sanitizer/tsan.supp).
#
# Which tests run: every QtTest program (tst_*). Tests driven by a shell
# script (the real window on Xvfb, Wayland, a browser, the packages) run
# uninstrumented display servers and outside programs, take minutes, and
# check what the user sees rather than the threads; they stay in the other
# stages. tst_kamorincli, tst_kamorincli_store and tst_kamorincli_hostilestore cannot run
# instrumented (clang 14's ThreadSanitizer dies in the child that QProcess forks), so the
# uninstrumented tests, from
# <plain-build-dir> (build by default, as scripts/dev.sh leaves it), runs
# against the instrumented kamorin-cli: its signal thread, parallel copies and
# progress line are still checked. Any other QtTest program that cannot run
# instrumented carries the CTest label no-tsan, with its reason beside it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(mkdir -p "${1:-$root/build-tsan}" && cd "${1:-$root/build-tsan}" && pwd)
plain=$(mkdir -p "${2:-$root/build}" && cd "${2:-$root/build}" && pwd)

# Line tables are all a report needs, and -O1 is the optimisation
# ThreadSanitizer is made for; both keep the build within the stage's minutes.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
    -DCMAKE_CXX_COMPILER=clang++ -DKAMORIN_SANITIZE_THREAD=ON -DKAMORIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
if [ ! -f "$plain/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$plain" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$plain" --target tst_kamorincli tst_kamorincli_store tst_kamorincli_hostilestore \
    -j "$(nproc)"

# A report ends the program at once with its own status, so no test can pass
# over it.
export TSAN_OPTIONS="suppressions=$root/tests/sanitizer/tsan.supp:halt_on_error=1:exitcode=66:second_deadlock_stack=1:print_suppressions=0"
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -R '^tst_' -E '^tst_kamorincli$' \
    -LE no-tsan || status=1
KAMORIN_CLI="$build/src/kamorin-cli" ctest --test-dir "$plain" --output-on-failure \
    -R '^tst_kamorincli(_store|_hostilestore)?$' || status=1
exit $status
