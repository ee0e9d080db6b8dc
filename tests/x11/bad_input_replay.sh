#!/usr/bin/env bash
# On a real X server: the bad inputs of tests/data/bad-input.tsv typed into the
# window, each followed by its button. Where docs/bad-input.md promises a
# message box, exactly that message reaches stderr once, a box titled Kamorin
# opens and closes with Return, and the result fields on the screen stay as
# they were; where it promises no error, none is reported. The program must
# live through every row.
#
# usage: bad_input_replay.sh path/to/kamorin path/to/bad-input.tsv [path/to/bad-input.md]
#
# Left out, as xdotool cannot type them reliably (see window_smoke.sh): every
# row whose typed text is not ASCII (２０００, 万回␣, PenⅢ(Kat)450).
# The table starts 実行 rows from 1 百回, which cannot be typed either; they
# start from 1 万回 here, and the page's 計算値 still holds, as each row's
# typed count or unit stands in for the one that differs. The display speed
# is read only after a run of a second or more, so its rows run 9000 万回 and
# wait for that count's value. SCORE rows start from a 9000 万回 run rather
# than the page's 30.50-second one: the messages are the same, the score is not.
set -uo pipefail

kamorin=${1:?usage: bad_input_replay.sh path/to/kamorin path/to/bad-input.tsv [path/to/bad-input.md]}
table=${2:?usage: bad_input_replay.sh path/to/kamorin path/to/bad-input.tsv [path/to/bad-input.md]}
table_dir=.
[[ $table != */* ]] || table_dir=${table%/*}
page=${3:-$table_dir/../../docs/bad-input.md}
name=bad_input_replay
# shellcheck source-path=SCRIPTDIR source=session.sh
. "${0%/*}/session.sh"

[ -r "$table" ] || fail "cannot read $table"
[ -r "$page" ] || fail "cannot read $page"

# The table's rows, and the page's outcome for each: the page lists them in
# the table's order, so the two are read side by side and must agree.
fields=() typed=() buttons=() outcomes=()
while IFS= read -r line; do
    [[ $line == '#'* || $line != *$'\t'*$'\t'* ]] && continue
    fields+=("${line%%$'\t'*}")
    rest=${line#*$'\t'}
    typed+=("${rest%%$'\t'*}")
    buttons+=("${rest#*$'\t'}")
done <"$table"
[ "${#fields[@]}" -gt 0 ] || fail "no rows in $table"

while IFS= read -r line; do
    [[ $line == '| '* && $line != '| Field |'* && $line != '|---'* ]] || continue
    cells=${line#| }
    cells=${cells% |}
    i=${#outcomes[@]}
    field_cell=${cells%% | *}
    cells=${cells#* | }
    typed_cell=${cells%% | *}
    cells=${cells#* | }
    button_cell=${cells%% | *}
    outcome=${cells#* | }
    if [ "$typed_cell" = '(empty)' ]; then
        typed_cell=
    else
        typed_cell=${typed_cell#\`}
        typed_cell=${typed_cell%\`}
        typed_cell=${typed_cell//␣/ }
    fi
    if ! { [ "$i" -lt "${#fields[@]}" ] && [[ $field_cell == *"(${fields[i]})" ]] \
        && [ "$typed_cell" = "${typed[i]}" ] && [ "$button_cell" = "${buttons[i]}" ]; }; then
        fail "row $((i + 1)) of $page ('$line') is not row $((i + 1)) of $table"
    fi
    outcomes+=("$outcome")
done <"$page"
[ "${#outcomes[@]}" -eq "${#fields[@]}" ] || fail "$page has ${#outcomes[@]} rows, $table ${#fields[@]}"

start_session "$kamorin"

# What each combo box holds; only this script types into them.
declare -A holding=([Combo4]=2000 [Combo5]=万回 [Combo2]=1 [Combo3]=MMX-Pentium166)

set_field() { # control text
    [ "${holding[$1]-}" = "$2" ] && return 0
    if [ "$1:$2" = Combo5:万回 ]; then
        # Picked from the list instead: the first entry, then three down.
        click Combo5
        xdo key Up Up Up Up Up Down Down Down
    else
        enter "$1" "$2"
    fi
    holding[$1]=$2
}

dialogs() { xdo search --onlyvisible --name '^Kamorin$' 2>/dev/null | grep -vx "$window"; }
dialog_open() { [ -n "$(dialogs)" ]; }
dialog_closed() { [ -z "$(dialogs)" ]; }
errors() { reported | wc -l; }

filled() { field "$1" && [ -n "$value" ]; }

# Text2 holding a value, or a box open: either way the handler has finished.
settled_run() { dialog_open || holds_now Text2 "$1"; }
settled_score() {
    dialog_open && return
    field Text7
    [[ $value =~ ^[0-9]+\.[0-9]{3}$ ]] && shoot "$work/score.png" && ! blank "$work/score.png" Text7
}

# The result fields and their labels, as one picture with the fields that may
# change painted over: Text2 to Text8, 1365..4620 × 585..2700 twips.
results() { # shot skipped-control...
    local shot=$1 draw=() control
    shift
    for control in "$@"; do
        local ref="${control}[@]"
        local -a c=("${!ref}")
        draw+=(-draw "rectangle $(px "${c[0]}"),$(($(px "${c[1]}") + menu)) $(px $((c[0] + c[2]))),$(($(px $((c[1] + c[3]))) + menu))")
    done
    convert "$shot" -fill black "${draw[@]}" \
        -crop "$(px 3255)x$(px 2115)+$(px 1365)+$(($(px 585) + menu))" +repage \
        -alpha off -depth 8 rgb:- | md5sum
}
unchanged_now() { # skipped-control...
    shoot "$work/after.png"
    [ "$(results "$work/after.png" "$@")" = "$shown_before" ]
}
changed_fields() { # skipped-control...: names the result fields that differ
    local control list=()
    for control in Text2 Text4 Text6 Text5 Text3 Text8; do
        [[ " $* " == *" $control "* ]] && continue
        [ "$(region "$work/before.png" "$control" | md5sum)" = "$(region "$work/after.png" "$control" | md5sum)" ] \
            || list+=("$control")
    done
    echo "${list[*]:-the labels between them}"
}

# Runs count (万回) with the display speed 0 and waits for the value.
run() { # count value
    set_field Combo5 万回
    set_field Combo2 0
    set_field Combo4 "$1"
    click Command1
    holds Text2 "$2" 60 || fail "Text2 reads '$value' after $1 万回"
}

scoring_ready=
ready_to_score() {
    [ -n "$scoring_ready" ] && return
    run 9000 3.14159264247847
    elapsed
    [ "${value:-0}" -ge 1 ] || fail "9000 万回 took '$value' whole seconds, too few to try SCORE"
    # The first SCORE also lets the reference machine be chosen.
    click Command6
    poll 30 settled_score || fail "SCORE left '$value' in Text7"
    dialog_closed || fail "SCORE failed on the run's own results: $(reported | tail -n 1)"
    scoring_ready=1
}

replayed=0 skipped=0 ran_once=
for i in "${!fields[@]}"; do
    target=${fields[i]} text=${typed[i]} button=${buttons[i]} outcome=${outcomes[i]}
    row="row $((i + 1)) ($target '$text', $button)"
    if [ -n "$(printf '%s' "$text" | LC_ALL=C tr -d '\000-\177')" ]; then
        skipped=$((skipped + 1))
        continue
    fi

    case $outcome in
    'message box: '*)
        message=${outcome#message box: }
        message=${message%%。*}。
        ;;
    'no error'*) message= ;;
    *) fail "$row: the page's outcome '$outcome' is neither a message box nor no error" ;;
    esac

    # Bring the window to the row's starting point; remember what the typed
    # field held where it is one of the run's results.
    skip=()
    case $button in
    実行)
        scoring_ready=
        if [ "$target" = Combo2 ]; then
            set_field Combo4 9000
        else
            [ -n "$ran_once" ] || run 1 3.14149265359003
            ran_once=1
            set_field Combo4 1
        fi
        set_field Combo5 万回
        set_field Combo2 0
        ;;
    SCORE)
        ready_to_score
        set_field Combo3 MMX-Pentium166
        set_field Combo2 0
        if [[ $target == Text* ]]; then
            poll 5 filled "$target" || fail "$row: could not read $target"
            previous=$value
            skip=("$target")
        fi
        ;;
    *) fail "$row: unknown button" ;;
    esac

    enter "$target" "$text"
    [[ $target != Combo* ]] || holding[$target]=$text
    shoot "$work/before.png"
    shown_before=$(results "$work/before.png" "${skip[@]}")
    before=$(errors)

    case $button in
    実行)
        click Command1
        if [ "$target" = Combo2 ]; then
            expected=3.14159264247847
        else
            expected=$(sed -n 's/.*計算値 \([^ ]*\).*/\1/p' <<<"$outcome")
            [ -n "$expected" ] || [ -n "$message" ] || fail "$row: the page gives no 計算値 to wait for"
        fi
        ;;
    SCORE) click Command6 ;;
    esac

    if [ -n "$message" ]; then
        poll 60 dialog_open || fail "$row: no message box"
        [ "$(dialogs | wc -l)" -eq 1 ] || fail "$row: $(dialogs | wc -l) message boxes"
        [ "$(errors)" -eq $((before + 1)) ] \
            || fail "$row: $(($(errors) - before)) new error lines on stderr, not one: $(reported | tail -n +$((before + 1)))"
        got=$(reported | tail -n 1)
        [ "$got" = "kamorin: $message" ] || fail "$row: stderr has '$got', not 'kamorin: $message'"
        dialog=$(dialogs)
        xdo windowfocus --sync "$dialog" || fail "$row: could not focus the message box"
        xdo key Return
        poll 10 dialog_closed || fail "$row: Return did not close the message box"
        alive || fail "$row: kamorin ended"
        [ "$(errors)" -eq $((before + 1)) ] || fail "$row: more errors after the box: $(reported | tail -n +$((before + 2)))"
        xdo windowfocus --sync "$window" || fail "$row: could not focus the window again"

        if [ "$button:$target" = 実行:Combo2 ]; then
            # The run finished before the display speed was read.
            holds Text2 "$expected" || fail "$row: Text2 reads '$value', not the run's $expected"
            if [[ $outcome == *'with SCORE enabled'* ]]; then
                shoot "$work/after.png"
                [ "$(inked "$work/after.png" Command6)" -gt 0 ] || fail "$row: SCORE is still greyed out"
            fi
        else
            poll 5 unchanged_now "${skip[@]}" || fail "$row: $(changed_fields "${skip[@]}") changed on the screen"
        fi
        if [ "$button" = SCORE ]; then
            blank "$work/after.png" Text7 || fail "$row: the score was not emptied"
        fi
    else
        case $button in
        実行) poll 60 settled_run "$expected" || fail "$row: Text2 reads '$value', not $expected" ;;
        SCORE) poll 30 settled_score || fail "$row: no score; Text7 reads '$value'" ;;
        esac
        dialog_closed || fail "$row: a message box opened: $(reported | tail -n 1)"
        [ "$(errors)" -eq "$before" ] || fail "$row: stderr has '$(reported | tail -n 1)'"
        alive || fail "$row: kamorin ended"
    fi

    [ "${#skip[@]}" -eq 0 ] || [ "$text" = "$previous" ] || enter "$target" "$previous"
    replayed=$((replayed + 1))
done

[ "$replayed" -gt 0 ] || fail "no row could be replayed"
echo "$name: PASS ($replayed rows replayed, $skipped not typeable)"
