# shellcheck shell=bash
# Sourced by the X server tests that drive the window control by control: a
# private Xvfb, kamorin on it with its stderr kept, and helpers to click,
# type, read fields back through the clipboard and look at screen regions.
#
# The sourcing script sets `name` (for its PASS/FAIL/SKIP lines) and calls
# start_session with the kamorin binary; every process started here is
# ended on any exit.

name=${name:-x11}
fail() {
    echo "$name: FAIL: $*"
    exit 1
}

for tool in Xvfb xdotool xwininfo xclip import convert; do
    command -v "$tool" >/dev/null || { echo "$name: SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
owner_pid=
cleanup() {
    [ -n "$owner_pid" ] && kill "$owner_pid" 2>/dev/null
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# No xdotool call may hang the test, whatever the window does.
xdo() { timeout 10 xdotool "$@"; }

# shellcheck source=../support/poll.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/poll.sh"

# The parent shell has not reaped it yet, so an ended kamorin lingers as a zombie.
alive() {
    local state
    state=$(ps -o stat= -p "$app_pid" 2>/dev/null)
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

# Controls as left top width height in twips, read by name through namerefs.
# shellcheck disable=SC2034
{
    Combo4=(1365 105 1695 345)
    Combo5=(3000 105 855 345)
    Text2=(1365 585 2295 375)
    Text4=(1365 1665 495 420)
    Text6=(1365 2205 495 495)
    Text5=(2565 2205 495 495)
    Text3=(3405 2205 495 495)
    Text8=(4215 2310 405 360)
    Command1=(120 2850 2220 375)
    Command2=(2520 2850 900 375)
    Command4=(3600 2850 900 375)
    Command6=(390 3435 1185 375)
    Text7=(2010 3390 1815 450)
    Combo2=(4200 4440 495 345)
    Combo3=(960 5040 3045 315)
}

# start_session KAMORIN: the server, then the window, focused; sets window and menu.
start_session() {
    start_server
    start_window "$1"
}

# start_server: the X server alone, for a test that starts more on it first.
start_server() {
    # Xvfb picks a free display itself and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    poll 10 test -s "$work/display" || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
    # Qt warns on stderr without one, and stderr is read here.
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime"
}

# start_window KAMORIN: the window on that server, focused; sets window and menu.
start_window() {
    "$1" >"$work/stdout" 2>"$work/stderr" &
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kamorin$' | head -n 1)
    [ -n "$window" ] || fail "the Kamorin window did not appear"
    local height
    height=$(xwininfo -id "$window" | awk '/^ *Height:/ { print $2 }')
    menu=$((height - 385))
    { [ "$menu" -ge 15 ] && [ "$menu" -le 40 ]; } || fail "window height $height: no menu bar above the client area"
    # Qt takes keys only in its active window; there is no window manager to make it so.
    xdo windowfocus --sync "$window" || fail "could not focus the window"
}

# Window pixels of a length in twips.
px() { echo $((($1 * 2 + 15) / 30)); }

click() { # control: clicks its middle, or a combo box's text, clear of its arrow
    local -n c=$1
    local x
    asked=
    x=$(px $((c[0] + c[2] / 2)))
    [[ $1 != Combo* ]] || x=$(($(px "${c[0]}") + 6))
    xdo mousemove --window "$window" "$x" "$(($(px $((c[1] + c[3] / 2))) + menu))" click 1
}

enter() { # control text: replaces what the combo box or text box holds
    click "$1"
    xdo key --clearmodifiers ctrl+a BackSpace
    [ -z "$2" ] || xdo type --delay 20 -- "$2"
}

# claim_clipboard: this script owns the clipboard, so a read that is not the
# marker can only be what kamorin put there afterwards.
marker="clipboard not yet taken by kamorin"
clipboard_is_marker() { [ "$(timeout 2 xclip -o -selection clipboard 2>/dev/null)" = "$marker" ]; }
release_clipboard() {
    [ -n "$owner_pid" ] || return 0
    kill "$owner_pid" 2>/dev/null
    wait "$owner_pid" 2>/dev/null
    owner_pid=
}
owner_gone() { ! kill -0 "$owner_pid" 2>/dev/null; }
claimed() { clipboard_is_marker || owner_gone; }
claim_clipboard() {
    local deadline=$((SECONDS + 10))
    release_clipboard
    while [ "$SECONDS" -lt "$deadline" ]; do
        # -quiet keeps xclip in the foreground, so its pid is ours to end; it
        # ends by itself once kamorin takes the clipboard, which a copy asked
        # for earlier may still do: then it is tried again.
        printf '%s' "$marker" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
        owner_pid=$!
        poll 2 claimed && clipboard_is_marker && return 0
        release_clipboard
    done
    fail "could not take the clipboard"
}

# clipboard_taken FILE: saves the clipboard's bytes in FILE once kamorin has put something there.
clipboard_taken() {
    timeout 2 xclip -o -selection clipboard >"$1" 2>/dev/null \
        && [ -s "$1" ] && [ "$(cat "$1")" != "$marker" ]
}

# field control [SECONDS]: sets value to what the field holds, copied from
# the field itself. Qt may answer a clipboard request before it has handled
# the keys sent just before, so only a read that is no longer the marker
# counts. During a run the window takes no input, so keys sent then are lost:
# a copy that went unanswered is asked for again on the next read.
# An empty field copies nothing and reads as empty once SECONDS (2) pass.
value=
asked=
field() {
    if [ "$asked" != "$1" ]; then
        claim_clipboard
        click "$1"
        xdo key --clearmodifiers ctrl+a ctrl+c End
        asked=$1
    fi
    value=
    if ! poll "${2:-2}" clipboard_taken "$work/copied"; then
        asked=
        return 0
    fi
    value=$(cat "$work/copied")
    asked=
}

# holds control text [SECONDS]: polls until the field holds exactly that text.
holds_now() { field "$1" && [ "$value" = "$2" ]; }
holds() { poll "${3:-20}" holds_now "$1" "$2"; }

# elapsed: sets value to the whole seconds the time fields show, or empty.
elapsed() {
    local hours minutes
    field Text6 && hours=$value
    field Text5 && minutes=$value
    field Text3
    if [[ "$hours:$minutes:$value" =~ ^[0-9]+:[0-9]+:[0-9]+$ ]]; then
        value=$((10#$hours * 3600 + 10#$minutes * 60 + 10#$value))
    else
        value=
    fi
}

# copy_report FILE: presses COPY and saves the clipboard's bytes in FILE.
copy_report() {
    claim_clipboard
    click Command4
    poll 20 clipboard_taken "$1" || fail "COPY put nothing on the clipboard"
    release_clipboard
}

# shoot FILE: saves the window.
shoot() { import -window "$window" "$1" 2>/dev/null || fail "no screenshot"; }

# crop FILE control CONVERT-OUTPUT...: the part of the window inside the control's border.
crop() {
    local -n c=$2
    local x y w h
    x=$(($(px "${c[0]}") + 3))
    y=$(($(px "${c[1]}") + menu + 3))
    w=$(($(px "${c[2]}") - 6))
    h=$(($(px "${c[3]}") - 6))
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "${@:3}"
}

# region FILE control: that part as raw RGB.
region() { crop "$@" -depth 8 rgb:-; }

# blank FILE control: the control shows its background alone.
blank() { [ "$(crop "$@" -format %k info:)" = 1 ]; }

# inked FILE control: counts the dark or blue (text) pixels inside the control.
inked() {
    region "$1" "$2" | od -An -v -tu1 -w3 \
        | awk '($1 < 90 && $2 < 90 && $3 < 90) || ($3 > 200 && $1 < 90 && $2 < 90) { n++ } END { print n + 0 }'
}

# reported: prints the errors kamorin has reported on stderr, one a line.
reported() { grep '^kamorin: ' "$work/stderr"; }
