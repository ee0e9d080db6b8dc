#!/usr/bin/env bash
# A screen reader's view of the window, read through AT-SPI on a private
# session bus: every object's role and name against one table, the version
# dialog included; no Increase or Decrease where nothing can be changed by
# steps; the running button's progress as value and words, and the form
# refusing assistive technology during the run; the run's progress in the task bar's launcher-entry signal; and where
# each control is, in the display's pixels, at scale factor 1 and 2.
#
# usage: accessibility.sh path/to/kamorin
set -uo pipefail

kamorin=${1:?usage: accessibility.sh path/to/kamorin}
name=accessibility
here=${0%/*}

for tool in dbus-run-session dbus-monitor /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "$name: SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "$name: SKIP: pyatspi is not installed"; exit 77; }
# Everything below runs on a session bus of its own, which ends with it.
# The bus daemons' own chatter goes to a file nobody reads.
if [ -z "${KAMORIN_PRIVATE_BUS:-}" ]; then
    KAMORIN_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2>/dev/null
fi

# shellcheck source-path=SCRIPTDIR source=session.sh
. "$here/session.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
atspi() { timeout 30 /usr/bin/python3 "$here/atspi_dump.py" "$@"; }

dbus-monitor --session "type='signal',interface='com.canonical.Unity.LauncherEntry'" \
    >"$work/launcher" 2>/dev/null &
monitor_pid=$!
trap 'kill "$monitor_pid" 2>/dev/null; cleanup' EXIT
start_session "$kamorin"

atspi --press バージョン情報 || fail "could not open the version dialog through AT-SPI"
atspi >"$work/tree" || fail "no accessible tree"
# The caption of a field still empty, 計算値, is nameless: the field, named
# by it, says it, and a review of the screen would read it twice.
diff -u - "$work/tree" <<'TABLE' || fail "the accessible tree differs from the table"
frame "Kamorin"
  filler ""
    notification ""
    label "ループ回数"
    label ""
    label "秒"
    label "計算時間"
    label "真値"
    label "真値 3.14159265358979"
    label "小数点以下"
    label "桁まで一致しました。"
    label "分"
    label "時間"
    label ""
    label "基準機"
    label "You"
    image "基準機のバー"
    image "You のバー"
    label ""
    label "基準機の時間"
    label "表示速度"
    label ""
    label "You の時間"
    combo box "表示速度" focusable
      text "表示速度" focusable
      list "" focusable
    combo box "基準機" focusable
      text "基準機" focusable
      list "" focusable
    text "計算値" focusable
    push button "実行" focusable
    text "計算時間 秒" focusable
    push button "CLEAR" focusable
    text "小数点以下の一致桁数" focusable
    push button "COPY" focusable
    text "計算時間 分" focusable
    text "計算時間 時間" focusable
    text "SCORE の値" focusable
    push button "SCORE" focusable
    combo box "ループ回数" focusable
      text "ループ回数" focusable
      list "" focusable
    combo box "ループ回数の単位" focusable
      text "ループ回数の単位" focusable
      list "" focusable
    text "計算時間 100分の1秒" focusable
  menu bar ""
    menu item "ファイル"
      popup menu ""
        menu item "終了"
    menu item "ヘルプ"
      popup menu ""
        menu item "バージョン情報"
dialog "Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報"
  push button "OK" focusable
  label "Kamorin(ＫＴ版)"
  label "ﾊﾞｰｼﾞｮﾝ 1.2.7"
  image "Kamorin のアイコン"
TABLE
atspi --press OK || fail "could not press OK through AT-SPI"
# What cannot be changed by steps offers no Increase or Decrease.
for control in 実行 SCORE "You のバー"; do
    atspi --actions "$control" | grep -qiw "increase\|decrease" && fail "$control offers to be increased"
done

# A run long enough to watch, then stopped.
xdo windowfocus --sync "$window"
enter Combo4 900000
click Command1
sleep 2
read -r percent words < <(atspi --value 計算の進み具合) || fail "no progress of the running button"
[[ "$words" == 計算中\ * ]] || fail "the running button's progress says '$words'"
[[ "$percent" =~ ^[0-9.]+$ ]] || fail "the running button's progress is '$percent'"
# Assistive technology can no more change the form than the keyboard can.
for control in SCORE CLEAR COPY; do
    atspi --states "$control" | grep -qw "sensitive\|enabled" && fail "$control says it can be pressed during the run"
done
atspi --states ループ回数 text | grep -qw editable && fail "ループ回数 says it can be edited during the run"
atspi --set ループ回数 77
[ "$(atspi --text ループ回数)" = 900000 ] || fail "ループ回数 was changed during the run"
xdo key --clearmodifiers Escape
poll 10 eval 'reported | grep -q "計算を中止しました。"' || fail "Escape did not stop the run"
poll 5 grep -q 'boolean false' "$work/launcher" || fail "the task bar's progress was not cleared"
grep -q 'string "application://io.github.kamorin.Kamorin.desktop"' "$work/launcher" \
    || fail "no launcher-entry signal for the desktop file: $(cat "$work/launcher")"
grep -A3 '"progress"' "$work/launcher" | grep -q 'double' || fail "no progress in the launcher entry"

# The same window at scale factor 2, moved away from the screen's corner: the
# frame is where the X server has the window, and each control twice as far
# into it and twice as large as at scale factor 1.
atspi --extents >"$work/extents1" || fail "no accessible tree"
kill "$app_pid"
wait "$app_pid" 2>/dev/null
QT_SCALE_FACTOR=2 "$kamorin" >>"$work/stdout" 2>>"$work/stderr" &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kamorin$' | head -n 1)
[ -n "$window" ] || fail "the Kamorin window did not appear at scale factor 2"
xdo windowmove --sync "$window" 40 30
read -r x y width height < <(xwininfo -id "$window" | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }')
poll 10 eval 'atspi --extents >"$work/extents2" && grep -q "^frame .* at $x,$y ${width}x$height\$" "$work/extents2"' \
    || fail "the frame is not where X has it ($x,$y ${width}x$height): $(grep '^frame' "$work/extents2")"
# "x y w h name" of the frame and of what takes the focus and is shown.
placed() {
    sed -nE 's/^ *((frame|.*focusable) .*) at (-?[0-9]+),(-?[0-9]+) ([0-9]+x[0-9]+)$/\3 \4 \5 \1/p' "$1" \
        | grep -v ' 0x0 ' | tr x ' '
}
paste -d'\n' <(placed "$work/extents1") <(placed "$work/extents2") | awk '
    NR == 1 { fx1 = $1; fy1 = $2; next }
    NR == 2 { fx2 = $1; fy2 = $2; next }
    NR % 2 == 1 { x = $1 - fx1; y = $2 - fy1; w = $3; h = $4; at1 = $0; next }
    2 * x != $1 - fx2 || 2 * y != $2 - fy2 || 2 * w != $3 || 2 * h != $4 {
        print "misplaced at scale factor 2: " at1 " -> " $0; bad = 1 }
    END { exit bad }' || fail "the accessible geometry does not follow the scale factor"

echo "$name: PASS"
