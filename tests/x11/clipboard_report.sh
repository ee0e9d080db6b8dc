#!/usr/bin/env bash
# On a real X server: what COPY puts on the clipboard, byte for byte, after a
# short run, after a scored run, and after CLEAR, and that CLEAR empties the
# result fields on the screen.
#
# usage: clipboard_report.sh path/to/kamorin
set -uo pipefail

kamorin=${1:?usage: clipboard_report.sh path/to/kamorin}
name=clipboard_report
# shellcheck source-path=SCRIPTDIR source=session.sh
. "${0%/*}/session.sh"

start_session "$kamorin"

# expect FILE WHAT REGEX...: FILE holds lines joined by CR LF, with no line
# break after the last, that match the regexes one for one.
expect() {
    local file=$1 what=$2 content ok=1 i
    shift 2
    local -a want=("$@") lines
    content=$(cat "$file"; printf x)
    content=${content%x}
    local joined=${content//$'\r\n'/}
    [[ $joined != *[$'\r\n']* ]] || ok=0
    mapfile -t lines <<<"${content//$'\r\n'/$'\n'}"
    [ "${#lines[@]}" -eq "${#want[@]}" ] || ok=0
    for ((i = 0; ok && i < ${#want[@]}; i++)); do
        [[ ${lines[i]} =~ ${want[i]} ]] || ok=0
    done
    if [ "$ok" -eq 0 ]; then
        echo "$name: the report $what:"
        cat "$file"
        echo
        echo "$name: as bytes:"
        od -c "$file"
        fail "the report $what is not as expected"
    fi
}

# exact FILE WHAT TEXT: FILE holds exactly TEXT's bytes.
exact() {
    if ! cmp -s "$1" <(printf '%s' "$3"); then
        echo "$name: the report $2:"
        cat "$1"
        echo
        echo "$name: as bytes:"
        od -c "$1"
        echo "$name: expected:"
        printf '%s' "$3" | od -c
        fail "the report $2 is not as expected"
    fi
}

title='^★Kamorin\(Ver1\.2\.7\) 結果★$'
reference='（基準機：MMX-Pentium166）$'

# Short animations, in case a run takes a second somewhere slow.
enter Combo2 0

# 2000 万回, as the window opens.
click Command1
holds Text2 3.14159260358982 60 || fail "Text2 reads '$value' after 2000 万回"
copy_report "$work/short"
expect "$work/short" "after 2000 万回" "$title" \
    '^ループ回数 2000万回  計算値 3\.14159260358982$' \
    '^小数点以下7桁まで一致しました。$' \
    "^計算時間 0時間0分[0-9]+秒[0-9]{2} SCORE $reference"

# 9000 万回 takes a second or more, so SCORE becomes available.
enter Combo4 9000
click Command1
holds Text2 3.14159264247847 60 || fail "Text2 reads '$value' after 9000 万回"
elapsed
[ "${value:-0}" -ge 1 ] || fail "9000 万回 took '$value' whole seconds, too few for SCORE here"
click Command6
holds_score() { field Text7 && [[ $value =~ ^[0-9]+\.[0-9]{3}$ ]]; }
poll 20 holds_score || fail "SCORE left '$value' in Text7"
# Before COPY, which leaves the values selected, drawn in the highlight's colours.
shoot "$work/before-clear.png"
for control in Text2 Text4; do
    [ "$(inked "$work/before-clear.png" "$control")" -gt 0 ] || fail "$control shows nothing before CLEAR"
done
copy_report "$work/scored"
expect "$work/scored" "after SCORE" "$title" \
    '^ループ回数 9000万回  計算値 3\.14159264247847$' \
    '^小数点以下7桁まで一致しました。$' \
    "^計算時間 0時間0分[0-9]+秒[0-9]{2} SCORE [0-9]+\.[0-9]{3}$reference"

click Command2
copy_report "$work/cleared"
exact "$work/cleared" "after CLEAR" $'★Kamorin(Ver1.2.7) 結果★\r\nループ回数 9000万回  計算値 \r\n小数点以下桁まで一致しました。\r\n計算時間 時間分秒 SCORE （基準機：MMX-Pentium166）'

shoot "$work/cleared.png"
for control in Text2 Text4; do
    ink=$(inked "$work/cleared.png" "$control")
    [ "$ink" -eq 0 ] || fail "$control still shows $ink dark or blue pixels after CLEAR"
done

alive || fail "kamorin ended"
! reported >/dev/null || fail "kamorin reported: $(reported)"
echo "$name: PASS"
