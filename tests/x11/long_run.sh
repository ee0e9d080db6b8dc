#!/usr/bin/env bash
# On a real X server: a long run keeps the window alive. The run button's face
# fills as the run goes on, Escape stops it with 計算を中止しました。, and the
# button then looks as it does after a finished run, with the process alive.
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

# A finished run first, for how the button looks after one.
enter Combo4 1
click Command1
holds Text2 3.14149265359003 || fail "the short run did not finish"
shoot "$work/finished.png"

# 900000 万回 takes hours: long enough to watch, and it must be stopped.
enter Combo4 900000
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

xdo key --clearmodifiers Escape
poll 5 eval 'reported | grep -q "計算を中止しました。"' || fail "Escape did not stop the run: $(cat "$work/stderr")"
[ $((SECONDS - started)) -lt 60 ] || fail "the run took a minute to stop"
sleep 1.5
shoot "$work/stopped.png"
alive || fail "kamorin ended when the run was stopped"
[ "$(button "$work/stopped.png")" = "$(button "$work/finished.png")" ] \
    || fail "after Escape the run button does not look as after a finished run"

# The notice is a message box like any error's, closed with Return.
xdo key --clearmodifiers Return
sleep 0.5
alive || fail "kamorin ended when the notice was closed"
[ "$(reported | grep -c "計算を中止しました。")" -eq 1 ] || fail "the notice was reported $(reported | grep -c 中止) times"

[ -z "$keep" ] || cp "$work"/*.png "$keep"/
echo "$name: PASS"
