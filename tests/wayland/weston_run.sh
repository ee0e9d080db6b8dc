#!/usr/bin/env bash
# The window on Wayland, through Qt's own Wayland platform: under weston it
# starts, runs, is stopped with Escape and puts everything back, COPY
# reaches the Wayland clipboard, and its own title bar closes it. Weston's
# headless back end has no seat, and without a seat there is no clipboard, so
# weston runs nested in a private Xvfb, which gives it a keyboard; the window
# itself sees only Wayland. The window is driven through AT-SPI, as a screen
# reader would, on a private session bus.
#
# usage: weston_run.sh path/to/kamorin [directory for the picture]
set -uo pipefail

kamorin=${1:?usage: weston_run.sh path/to/kamorin [directory]}
keep=${2:-}
name=wayland
here=${0%/*}
fail() {
    echo "$name: FAIL: $*"
    exit 1
}

for tool in Xvfb xdotool import weston wl-paste dbus-run-session /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "$name: SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "$name: SKIP: pyatspi is not installed"; exit 77; }
qt_plugins=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
[ -e "$qt_plugins/platforms/libqwayland-generic.so" ] || { echo "$name: SKIP: qt6-wayland is not installed"; exit 77; }
if [ -z "${KAMORIN_PRIVATE_BUS:-}" ]; then
    KAMORIN_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2>/dev/null
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
# shellcheck source=../support/poll.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/poll.sh"
atspi() { timeout 30 /usr/bin/python3 "$here/../x11/atspi_dump.py" "$@"; }
text_is() { [ "$(atspi --text "$1")" = "$2" ]; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
poll 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
weston --backend=x11-backend.so --socket=kamorin --idle-time=0 --width=640 --height=480 \
    --no-config >"$work/weston.log" 2>&1 &
pids+=($!)
poll 10 test -S "$XDG_RUNTIME_DIR/kamorin" || fail "weston did not start: $(cat "$work/weston.log")"

export WAYLAND_DISPLAY=kamorin QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
env -u DISPLAY "$kamorin" >"$work/stdout" 2>"$work/stderr" &
app_pid=$!
pids+=("$app_pid")

# A finished run, then COPY.
atspi --set ループ回数 1 || fail "the window did not start: $(cat "$work/stderr")"
atspi --press 実行 || fail "could not press 実行"
poll 20 text_is 計算値 3.14149265359003 || fail "the run did not finish"
atspi --press COPY || fail "could not press COPY"
copied() { env -u DISPLAY timeout 5 wl-paste --no-newline >"$work/copied" 2>/dev/null && [ -s "$work/copied" ]; }
poll 10 copied || fail "COPY put nothing on the Wayland clipboard"
printf '★Kamorin(Ver1.2.7) 結果★\r\nループ回数 1万回  計算値 3.14149265359003\r\n' >"$work/head"
cmp -s -n "$(stat -c %s "$work/head")" "$work/head" "$work/copied" \
    || fail "the clipboard holds: $(cat "$work/copied")"
seconds=$(atspi --text "計算時間 秒")

# A run of hours, stopped with Escape: everything comes back.
atspi --set ループ回数 900000
atspi --press 実行
sleep 2
text_is "計算時間 秒" "" || fail "the long run did not start"
import -window root "$work/running.png" 2>/dev/null
xdotool key --clearmodifiers Escape
poll 10 grep -q 計算を中止しました。 "$work/stderr" || fail "Escape did not stop the run"
poll 5 text_is "計算時間 秒" "$seconds" || fail "the stop did not put the seconds back"
kill -0 "$app_pid" 2>/dev/null || fail "kamorin ended when the run was stopped"

# Qt's own decorations would offer to maximise the fixed-size window, and
# weston ends a client that takes the offer; the window's own title bar
# offers minimise and close, and closing it ends the program.
atspi >"$work/tree" || fail "no accessible tree"
grep -q 'push button "最小化"' "$work/tree" || fail "the title bar has no minimise button"
! grep -q '最大化' "$work/tree" || fail "the title bar offers to maximise"
atspi --press 閉じる || fail "the title bar has no close button"
# Seen once in CI and never here: say whether the window stayed open or the
# program hung on its way out, and where, so that a second time explains it.
still_running() {
    local where="the window is still there"
    atspi >/dev/null 2>&1 || where="the window is gone, the program has not ended"
    if command -v gdb >/dev/null; then
        timeout 20 gdb -p "$app_pid" -batch -ex 'thread apply all bt 12' 2>/dev/null \
            | grep -E '^(Thread|#)' >"$work/stacks"
    fi
    fail "closing the window did not end the program ($where): $(cat "$work/stderr" "$work/stacks" 2>/dev/null)"
}
poll 10 eval '! kill -0 "$app_pid" 2>/dev/null' || still_running
wait "$app_pid"
status=$?
[ "$status" -eq 0 ] || fail "kamorin exited with $status: $(cat "$work/stderr")"
[ -z "$keep" ] || cp "$work/running.png" "$keep/"
echo "$name: PASS"
