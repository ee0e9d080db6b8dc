#!/usr/bin/env bash
# On a real X server: a long run keeps the window alive. The run button's face
# fills as the run goes on, and Escape stops it: no box appears, the window is
# exactly as before the press (the COPY report is the same), and SCORE works.
#
# usage: long_run.sh path/to/kamorin [directory for the pictures]
set -uo pipefail

kamorin=${1:?usage: long_run.sh path/to/kamorin [directory]}
keep=${2:-}
name=long_run
# shellcheck source-path=SCRIPTDIR source=session.sh
. "${0%/*}/session.sh"

start_session "$kamorin"

button() { region "$1" Command1 | md5sum; }

# A finished and scored run first, for how the button looks after one and
# for the report that a stopped run must leave as it was.
enter Combo4 20000
click Command1
holds Text2 3.14159264858941 90 || fail "the 20000 万回 run did not finish"
shoot "$work/finished.png"
# SCORE is switched on once the curtain has been drawn back; a click before
# that is lost, so it is tried again.
scored() { click Command6 && field Text7 5 && [ -n "$value" ]; }
poll 60 scored || fail "SCORE showed no score"

# 900000 万回 takes hours: long enough to watch, and it must be stopped.
enter Combo4 900000
copy_report "$work/before.txt"
click Command1
started=$SECONDS
sleep 2
shoot "$work/at-2s.png"
sleep 1.5
shoot "$work/at-3.5s.png"
alive || fail "kamorin ended during the run"
# The whole window: a slow build fills less than a pixel in that time, and
# only the button can change while the run goes on.
pixels() { convert "$1" -alpha off -depth 8 rgb:- | md5sum; }
[ "$(pixels "$work/at-2s.png")" != "$(pixels "$work/at-3.5s.png")" ] \
    || fail "the window looks the same 2 s and 3.5 s into the run"
[ "$(button "$work/at-2s.png")" != "$(button "$work/finished.png")" ] \
    || fail "the run button does not show that a run is going on"

# The pointer comes to rest on the running button: its tooltip opens.
xdo mousemove --window "$window" "$(px 1000)" "$(($(px 3000) + menu))"
poll 5 eval '[ "$(xdo search --onlyvisible --pid "$app_pid" --name . | wc -l)" -ge 1 ] && [ "$(xdo search --onlyvisible --pid "$app_pid" --class . | wc -l)" -ge 2 ]' \
    || fail "no tooltip over the running button"
shoot "$work/tooltip.png"
import -window root "$work/tooltip-screen.png" 2>/dev/null

xdo key --clearmodifiers Escape
poll 5 eval 'reported | grep -q "計算を中止しました。"' || fail "Escape did not stop the run: $(cat "$work/stderr")"
[ $((SECONDS - started)) -lt 60 ] || fail "the run took a minute to stop"
# The pointer leaves the button, which it lights while it rests there.
xdo mousemove --window "$window" 5 5
sleep 1.5
shoot "$work/stopped.png"
alive || fail "kamorin ended when the run was stopped"
# A stop the user asked for is no error: the window is its only window.
windows=$(xdo search --onlyvisible --pid "$app_pid" --name . | wc -l)
[ "$windows" -eq 1 ] || fail "$windows windows after the stop: a box announced it"
[ "$(button "$work/stopped.png")" = "$(button "$work/finished.png")" ] \
    || fail "after Escape the run button does not look as after a finished run"
copy_report "$work/after.txt"
cmp -s "$work/before.txt" "$work/after.txt" \
    || fail "the stop changed the report: $(diff "$work/before.txt" "$work/after.txt")"

# SCORE still works from what the window shows.
click Command6
sleep 1
copy_report "$work/rescored.txt"
cmp -s "$work/before.txt" "$work/rescored.txt" || fail "SCORE after the stop changed the report"
[ -z "$(reported | grep -v "計算を中止しました。")" ] || fail "errors reported: $(reported)"

[ -z "$keep" ] || cp "$work"/*.png "$keep"/
echo "$name: PASS"
