#!/usr/bin/env bash
# Drives the real window on a private X server (Xvfb, 96 dpi): checks its
# fixed size, types a count, runs it twice, reads the results back through the
# clipboard and the screen, and closes it with ファイル > 終了.
#
# usage: window_smoke.sh path/to/kamorin
# KAMORIN_SCREENSHOT=file.png  instead runs 9000 万回, long enough for the
#                              curtain to be drawn back, and saves the window.
#
# The unit keeps its default 万回: xdotool types a character missing from the
# keymap by binding it to a spare key for a moment, and Qt, which reloads the
# keymap only when told of the change, sometimes reads it after it was undone,
# so a typed 回 got lost now and then.
set -uo pipefail

kamorin=${1:?usage: window_smoke.sh path/to/kamorin}
screenshot=${KAMORIN_SCREENSHOT:-}

fail() {
    echo "window_smoke: FAIL: $*"
    exit 1
}

for tool in Xvfb xdotool xwininfo xprop xclip import convert; do
    command -v "$tool" >/dev/null || { echo "window_smoke: SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# No xdotool call may hang the test, whatever the window does.
xdo() { timeout 10 xdotool "$@"; }

# poll SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds.
poll() {
    local tries=$(($1 * 10))
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# A display that another test may take at the same moment: if Xvfb dies, try the next.
for ((n = 90; n < 190; n++)); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if poll 10 eval "[ -S /tmp/.X11-unix/X$n ] || ! kill -0 $xvfb_pid 2>/dev/null" \
        && kill -0 "$xvfb_pid" 2>/dev/null && DISPLAY=":$n" xprop -root >/dev/null 2>&1; then
        break
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
[ -n "$xvfb_pid" ] || fail "no X server could be started"
export DISPLAY=":$n"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI

"$kamorin" >"$work/kamorin.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kamorin$' | head -n 1)
[ -n "$window" ] || fail "the Kamorin window did not appear"

read -r width height < <(xwininfo -id "$window" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')
[ "$width" = 316 ] || fail "window width $width, not 316"
menu=$((height - 385))
{ [ "$menu" -ge 15 ] && [ "$menu" -le 40 ]; } || fail "window height $height: not the client area 385 and a menu bar"
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
min=$(sed -n 's/.*minimum size: *\([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
max=$(sed -n 's/.*maximum size: *\([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
{ [ -n "$min" ] && [ "$min" = "$max" ]; } || fail "the window can be resized (minimum '$min', maximum '$max')"

# Window pixels of a point given in twips of the client area, below the menu bar.
px() { echo $((($1 * 2 + 15) / 30)); }
click() { # left top width height, in twips: clicks the middle of that control
    xdo mousemove --window "$window" "$(px $(($1 + $3 / 2)))" \
        "$(($(px $(($2 + $4 / 2))) + menu))" click 1
}
# Controls as left top width height in twips; enter and inked read them by name.
# shellcheck disable=SC2034
{
    Combo4=(1365 105 1695 345)
    Text2=(1365 585 2295 375)
    Text4=(1365 1665 495 420)
    Command1=(120 2850 2220 375)
}

# Qt takes keys only in its active window; there is no window manager to make it so.
xdo windowfocus --sync "$window" || fail "could not focus the window"

enter() { # control text: replaces what the combo box or text box shows
    local -n control=$1
    click "${control[@]}"
    xdo key --clearmodifiers ctrl+a BackSpace
    xdo type --delay 20 "$2"
}

# shoot: saves the window to $work/shot.png
shoot() { import -window "$window" "$work/shot.png" 2>/dev/null; }
# inked control red|blue|dark: counts pixels of that ink inside the control on the last shot
inked() {
    local -n control=$1
    local x y w h
    x=$(($(px "${control[0]}") + 3))
    y=$(($(px "${control[1]}") + menu + 3))
    w=$(($(px "${control[2]}") - 6))
    h=$(($(px "${control[3]}") - 6))
    convert "$work/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -alpha off -depth 8 txt:- \
        | awk -v ink="$2" 'NR > 1 {
              split($2, c, /[(),]/)
              r = c[2]; g = c[3]; b = c[4]
              if (ink == "dark" && r < 90 && g < 90 && b < 90) n++
              if (ink == "blue" && b > 200 && r < 90 && g < 90) n++
              if (ink == "red" && r > 200 && g < 90 && b < 90) n++
          } END { print n + 0 }'
}

# Text2's value, copied from the field itself: proves the window takes input again.
value=
copied() {
    click "${Text2[@]}"
    xdo key --clearmodifiers ctrl+a ctrl+c End
    value=$(timeout 2 xclip -o -selection clipboard 2>/dev/null)
    [ "$value" = "$1" ] || [[ "$1" == *'*' && "$value" == ${1%'*'}* ]]
}

if [ -n "$screenshot" ]; then
    count=9000 expected='3.14159264*'
else
    count=1 expected=3.14149265359003
fi

enter Combo4 "$count"
shoot
[ "$(inked Text2 dark)" -eq 0 ] || fail "Text2 shows text before the run"
click "${Command1[@]}"
poll 60 copied "$expected" || fail "Text2 reads '$value' after $count 万回, not $expected"
shoot || fail "no screenshot"
[ "$(inked Text2 dark)" -gt 0 ] || fail "Text2 shows no value"
[ "$(inked Text4 blue)" -gt 0 ] || fail "Text4 shows no blue digits"

if [ -n "$screenshot" ]; then
    # Focus back on 実行, where the user's click left it, and no selection in Text2.
    xdo key Tab
    sleep 0.5
    { shoot && cp "$work/shot.png" "$screenshot"; } || fail "could not save $screenshot"
else
    xdo search --name '^Kamorin$' >/dev/null || fail "the window is gone after the run"
    enter Combo4 2
    click "${Command1[@]}"
    poll 20 copied 3.14154265358982 || fail "the second run left '$value' in Text2"
fi

# ファイル is the first entry of the menu bar; its menu opens as a window of its own.
xdo mousemove --window "$window" 15 $((menu / 2)) click 1
menus() { [ "$(xdo search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -gt 1 ]; }
poll 5 menus || fail "the ファイル menu did not open"
xdo key Down Return
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
poll 10 ended || fail "終了 did not end the program"
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "kamorin exited with status $status"

echo "window_smoke: PASS"
