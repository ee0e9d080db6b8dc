#!/usr/bin/env bash
# What a blind user hears: Orca itself, on a private session bus and X
# server, with no synthesizer; what it would say is read from its debug log.
# A whole session by keyboard: every Tab stop of a fresh window says its
# name, F10 and the arrows say the menu, the version dialog is read as it
# opens. A run is heard from its start to its stop, Orca's own keys work
# during it, and a finished run, SCORE, COPY and CLEAR are each said once,
# with no field's selection read out; values are read whole.
#
# usage: screen_reader.sh path/to/kamorin
set -uo pipefail

kamorin=${1:?usage: screen_reader.sh path/to/kamorin}
name=screen_reader
here=${0%/*}

for tool in orca script dbus-run-session /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "$name: SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "$name: SKIP: pyatspi is not installed"; exit 77; }
if [ -z "${KAMORIN_PRIVATE_BUS:-}" ]; then
    KAMORIN_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2>/dev/null
fi

# shellcheck source-path=SCRIPTDIR source=session.sh
. "$here/session.sh"
atspi() { timeout 30 /usr/bin/python3 "$here/atspi_dump.py" "$@"; }
start_server

# Orca with settings of its own, braille off (it would only log that no
# display is there), and no speech server: the speech-dispatcher client is
# given a command that does not exist, so Orca logs what it would say and
# sends it nowhere.
export HOME="$work/home" GSETTINGS_BACKEND=memory SPEECHD_CMD="$work/no-speech-server"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$XDG_DATA_HOME/orca"
cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<'JSON'
{"general": {"enableBraille": false, "profile": ["Default", "default"],
             "activeProfile": ["Default", "default"], "startingProfile": ["Default", "default"]},
 "profiles": {"default": {"profile": ["Default", "default"]}}, "keybindings": {}, "pronunciations": {}}
JSON
# Orca writes its log through a buffer that is flushed line by line only on
# a terminal: it is given one, and `script` keeps what it writes there.
log="$work/orca.log"
orca_pid=
trap 'kill "$orca_pid" 2>/dev/null; [ -z "${KAMORIN_ORCA_LOG:-}" ] || cp "$log" "$work/stderr" "$KAMORIN_ORCA_LOG"; cleanup' EXIT
# heard PATTERN [SECONDS]: Orca has said something that starts with PATTERN
# (a basic regular expression) since the last mark.
spoken=0
mark() { spoken=$(wc -l <"$log"); }
heard_now() { tail -n "+$((spoken + 1))" "$log" | tr -d '\r' | grep -aq "SPEECH OUTPUT: '$1"; }
heard() { poll "${2:-60}" heard_now "$1"; }
said() { tail -n "+$((spoken + 1))" "$log" | tr -d '\r' | grep -a "SPEECH OUTPUT: " | sed "s/.*SPEECH OUTPUT: //"; }

# Orca will not start beside another Orca of the same user, as another run
# of a test on a shared machine may have, though each has a bus and a display
# of its own. Run through python3, this one is not seen by such a check; one
# that is seen is waited for.
orca_alone() { ! pgrep -u "$(id -u)" -x orca >/dev/null; }
start_orca() {
    [ -z "$orca_pid" ] || { kill "$orca_pid"; wait "$orca_pid"; } 2>/dev/null
    poll 120 orca_alone || fail "another Orca kept running"
    spoken=0
    script -qfec "/usr/bin/python3 $(command -v orca) --debug-file=/dev/tty" "$log" </dev/null >/dev/null 2>&1 &
    orca_pid=$!
    heard "Screen reader on" 30
}
start_orca || start_orca || fail "Orca did not start: $(tail -n 5 "$log")"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Now and then, on a loaded machine, Qt's bridge never joins the
# accessibility bus, and Orca never hears of the window; it is started once
# more then.
opened() {
    mark
    start_window "$kamorin"
    heard "計算値 text" 30 && return 0
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    echo "$name: the window was started again: Orca never heard of it"
    return 1
}
opened || opened || fail "Orca did not say where the focus is: $(said)"

# Orca's review of the screen reads the lists by what they show and a
# value's caption once: from 計算値 up to the top line, then down past it.
mark
xdo key KP_Home
heard "ループ回数 2000 万回'" 10 || fail "the review did not read the lists' values: $(said)"
mark
xdo key KP_Page_Up KP_Page_Up
heard "真値 3\.14159265358979" 10 || fail "the review did not read 真値 once with its value: $(said)"
! said | grep -q "計算値 計算値" || fail "the review read the empty 計算値 by its caption twice: $(said)"

# Each stop is heard the first time the Tab key reaches it, a field with
# nothing in it too, and a list with its value.
for stop in 実行 "計算時間 秒" CLEAR 小数点以下の一致桁数 COPY "計算時間 分" "計算時間 時間" \
    "SCORE の値" 表示速度:1 ループ回数:2000 ループ回数の単位:万回 "計算時間 100分の1秒" 計算値; do
    mark
    xdo key Tab
    heard "${stop%%:*} \(push button\|text\|editable combo box\)\." 10 \
        || fail "Tab to ${stop%%:*} was not heard: $(said)"
    [[ $stop != *:* ]] || heard "${stop#*:}\.'" 10 || fail "${stop%%:*} did not say ${stop#*:}: $(said)"
done

# F10 and Right reach the version's item and say it, and nothing moves the
# focus back to the window while the menu is open.
mark
xdo key F10
heard "ファイル\.'" 10 || fail "F10 did not say the first menu: $(said)"
mark
xdo key Right
heard "バージョン情報\.'" 10 || fail "Right did not say the version's item: $(said)"
xdo key Return
heard "Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報 dialog Kamorin(ＫＴ版) ﾊﾞｰｼﾞｮﾝ [0-9.]*\.'" 10 \
    || fail "the version dialog was not read as it opened: $(said)"
! said | sed '/dialog/,$d' | grep -q "text\.'\|push button\.'" \
    || fail "a control of the window was heard while the menu was open: $(said)"
mark
xdo key Escape
# There is no window manager to give the window the keys back.
xdo windowfocus --sync "$window" || fail "could not focus the window"
heard "計算値 text\." 10 || fail "the focus was not heard back on 計算値: $(said)"

# A run of hours, heard as it starts and goes, asked about, then stopped.
atspi --set ループ回数 900000 || fail "could not set the count"
mark
xdo key Tab
heard "実行 push button" || fail "Tab to 実行 was not heard: $(said)"
mark
xdo key Return
heard "notification 計算中" || fail "the start of the run was not heard: $(said)"
heard "[0-9]* percent" || fail "the run's progress was not heard: $(said)"
! said | sed '/notification 計算中/,$d' | grep -q "percent" || fail "the progress was heard before the start: $(said)"
mark
xdo key KP_Enter
heard "計算中 [0-9]*%.*push button" || fail "where-am-I during the run said nothing of it: $(said)"
[ "$(said | grep -o "[0-9]*%" | wc -l)" -eq 1 ] || fail "where-am-I said the progress more than once: $(said)"
mark
xdo key Escape
heard "notification 計算を中止しました" || fail "the stop was not heard: $(said)"

# A run of a few seconds: its value and time are heard as the window shows them.
atspi --set ループ回数 9000 || fail "could not set the count"
mark
click Command1
heard "notification 計算値 " 120 || fail "the end of the run was not heard: $(said)"
value=$(atspi --text 計算値)
seconds=$(atspi --text "計算時間 秒")
said | grep -q "^'notification 計算値 $value　計算時間 .*分$seconds\.[0-9][0-9]秒" \
    || fail "the end of the run did not say $value and $seconds s: $(said)"

# Moving onto a field reads all of it, a one-digit field too.
mark
click Text3
heard "計算時間 秒 text" || fail "clicking the seconds was not heard: $(said)"
heard "$seconds\.'" 30 || fail "the seconds $seconds were not read whole: $(said)"

# SCORE says the score as the field shows it, and no percent; COPY is
# confirmed. SCORE is pressed once only: the end of the run is said once its
# handler has ended, when SCORE has been switched on, and a second press
# would clear the score while it is read.
mark
click Command6
heard "notification SCORE " 60 || fail "SCORE was not heard: $(said)"
score=$(atspi --text "SCORE の値")
[ -n "$score" ] || fail "SCORE showed no score"
said | grep -q "^'notification SCORE $score\.'" || fail "SCORE did not say $score: $(said)"
! said | grep -q "percent" || fail "SCORE was heard as a percent: $(said)"
mark
click Text7
heard "$score\.'" 30 || fail "the score $score was not read whole: $(said)"

# Alt+Down on the machines' list says the list and the machine it shows.
mark
click Combo3
heard "基準機 editable combo box" 30 || fail "clicking 基準機 was not heard: $(said)"
machine=$(atspi --text 基準機)
mark
xdo key --delay 100 alt+Down
heard "基準機\.'" 10 || fail "the open list did not say its name: $(said)"
heard "$machine\.'" 10 || fail "the open list did not say $machine: $(said)"
mark
xdo key Escape
heard "基準機 editable combo box" 10 || fail "closing the list was not heard: $(said)"

mark
click Command4
heard "notification 結果をクリップボードにコピーしました" || fail "COPY was not confirmed: $(said)"
! said | grep -q "selected" || fail "COPY read out the fields it selected: $(said)"

# CLEAR says that it cleared, and nothing of the fields it empties.
mark
click Command2
heard "notification 結果を消去しました" || fail "CLEAR was not heard: $(said)"
! said | grep -q "selected" || fail "CLEAR read out the fields' selections: $(said)"

echo "$name: PASS"
