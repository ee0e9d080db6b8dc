#!/usr/bin/env bash
# On a real X server: the version dialog opens once however often it is
# chosen, closing the main window leaves the program running with the dialog,
# and closing the dialog then ends the program.
# Usage: about_exit_order.sh path/to/kamorin
set -uo pipefail

kamorin=${1:?usage: about_exit_order.sh path/to/kamorin}
dialog_title='^Kamorin\(KT版\)のﾊﾞｰｼﾞｮﾝ情報$'
xvfb_pid=
kamorin_pid=
display_file=$(mktemp)

cleanup() {
    [ -n "$kamorin_pid" ] && kill "$kamorin_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: about_exit_order: $*"
    exit 1
}

# Polls for about five seconds.
wait_for() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

count() {
    xdotool search --onlyvisible "$@" 2>/dev/null | wc -l
}

# count_is -eq 1 --name TITLE: compares the number of visible windows that match.
count_is() {
    local op=$1 n=$2
    shift 2
    [ "$(count "$@")" "$op" "$n" ]
}

# The parent shell has not reaped it yet, so an ended kamorin lingers as a zombie.
running() {
    local state
    state=$(ps -o stat= -p "$kamorin_pid" 2>/dev/null)
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

ended() { ! running; }

for tool in Xvfb xdotool xprop; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/dev.sh installs it)"
done

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
wait_for test -s "$display_file" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$display_file")"
export QT_QPA_PLATFORM=xcb

"$kamorin" 2>/dev/null &
kamorin_pid=$!
wait_for count_is -eq 1 --name '^Kamorin$' || fail "the main window did not appear"
main=$(xdotool search --onlyvisible --name '^Kamorin$')

# Every window on this display is kamorin's, and only its menus have no title.
menu_open() { [ "$(count --classname kamorin)" -gt "$(count --name .)" ]; }
menu_closed() { ! menu_open; }

# The menu bar has no mnemonics and no window manager hands out the focus: a
# click opens ファイル, the first menu, whose popup then grabs the keyboard;
# Right moves on to ヘルプ.
choose() {
    xdotool mousemove --window "$main" 12 8 click 1
    wait_for menu_open || fail "the menu did not open"
    xdotool key "$@"
    wait_for menu_closed || fail "the menu did not close"
}

choose Right Down Return
wait_for count_is -eq 1 --name "$dialog_title" || fail "the version dialog did not open"
choose Right Down Return
dialogs=$(count --name "$dialog_title")
[ "$dialogs" -eq 1 ] || fail "$dialogs version dialogs after choosing the menu item twice"
dialog=$(xdotool search --onlyvisible --name "$dialog_title")

# A dialog window that is transient for the program stays out of the task bar.
xprop -id "$dialog" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG \
    || fail "the version dialog is not a dialog window"
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q 'window id' \
    || fail "the version dialog would show in the task bar"

choose Down Return
wait_for count_is -eq 0 --name '^Kamorin$' || fail "終了 did not close the main window"
sleep 0.5
running || fail "the program ended while the version dialog was open"
count_is -eq 1 --name "$dialog_title" || fail "the version dialog went with the main window"

# cmdOK: left 1080, top 1200, 1310 × 345 twips, 15 twips to the pixel.
xdotool mousemove --window "$dialog" 115 91 click 1
wait_for ended || fail "the program went on after its last window closed"
wait "$kamorin_pid"
status=$?
kamorin_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

echo "PASS: about_exit_order"
