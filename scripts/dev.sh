#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kamorin, builds it, and then either opens
# the window (run) or runs every test through CTest (test).
set -euo pipefail

usage() {
    echo "usage: scripts/dev.sh run|test" >&2
    exit 64
}
[ $# -eq 1 ] || usage
mode=$1
case "$mode" in run | test) ;; *) usage ;; esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libbenchmark-dev
    # kamorin-cli's translations: lupdate and lrelease, and CMake's Qt6LinguistTools;
    # their test and the script that fills them from the glossary are Python.
    qt6-l10n-tools qt6-tools-dev python3
    # The check of every JSON output against its published schema.
    python3-jsonschema
    # The results store: Qt's SQLite driver.
    libqt6sql6-sqlite
    # The HTML report's test renders it in a real browser.
    chromium
    # The window's fonts, standing in for ＭＳ Ｐゴシック: IPAPGothic, then Noto Sans CJK JP.
    fonts-ipafont-gothic fonts-noto-cjk
    # A real X server for the tests that drive the window.
    xvfb xauth xdotool xclip x11-utils imagemagick
    # A screen reader's view (AT-SPI on a private session bus), and the window
    # on Wayland under weston with its clipboard.
    dbus-bin dbus-daemon at-spi2-core python3-pyatspi qt6-wayland weston wl-clipboard
    # What a blind user hears: Orca, the screen reader, driven by a test that
    # reads its speech from its debug log (bsdutils' script gives it a terminal).
    orca bsdutils
    # The Debian package and the checks of what it installs; hardening-check
    # comes with devscripts, and the package is rebuilt in a Japanese locale.
    dpkg-dev file desktop-file-utils appstream lintian devscripts locales
    # The fuzz targets (libFuzzer comes with clang's runtime) and readable sanitizer stacks.
    clang libclang-rt-14-dev llvm
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ "$mode" = test ]; then
    exec ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running kamorin-cli --count auto instead of opening the window."
    exec "$build/src/kamorin-cli" --count auto
fi
exec "$build/src/kamorin"
