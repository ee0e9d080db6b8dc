#!/bin/bash
# Two local users, a victim and an attacker, and root, sharing the machine's
# sticky temporary folder: what kamorin-cli writes for one stays theirs.
#   two_users.sh KAMORIN_CLI STORE_SAVER
set -u
cli=$1
saver=$2
if [ "$(id -u)" != 0 ]; then
    echo "skipped: only root can act as two other users"
    exit 77
fi
for user in kamorin-victim kamorin-attacker; do
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin "$user" || {
        echo "skipped: cannot make the user $user"
        exit 77
    }
done
as() {
    local user=$1
    shift
    setpriv --reuid="$user" --regid="$user" --clear-groups -- "$@"
}
shared=$(mktemp -d)
trap 'rm -rf "$shared"' EXIT
chmod 1777 "$shared"
home="$shared/victim"
mkdir -m 0755 "$home"
chown kamorin-victim: "$home"
store="$home/results.sqlite"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

as kamorin-victim "$saver" "$store" 100 nightly >/dev/null || fail "the victim cannot save"
export KAMORIN_STORE=$store LC_ALL=C.UTF-8
unset LANGUAGE

# The attacker's FIFO in the shared folder takes nothing and holds nobody.
as kamorin-attacker mkfifo -m 666 "$shared/report.json"
as kamorin-attacker timeout 10 cat "$shared/report.json" >"$shared/stolen" 2>/dev/null &
reader=$!
as kamorin-victim timeout 20 "$cli" --export "$shared/report.json" 2>/dev/null
status=$?
[ "$status" = 74 ] || fail "another user's FIFO: status $status, not 74"
kill "$reader" 2>/dev/null
wait "$reader" 2>/dev/null
[ -s "$shared/stolen" ] && fail "another user's FIFO received the export"

# A private export replaced in a folder anyone may read: no copy of it is
# readable by the attacker at any moment, however often they try.
private="$home/private.json"
as kamorin-victim sh -c "umask 022 && '$cli' --export '$private' 2>/dev/null && chmod 600 '$private'"
(
    while :; do
        for copy in "$home"/private.json*; do
            as kamorin-attacker cat "$copy" 2>/dev/null | grep -q '"results"' && echo read
        done
    done
) >"$shared/peeks" 2>/dev/null &
peeker=$!
for _ in 1 2 3 4 5; do
    as kamorin-victim "$cli" --export "$private" 2>/dev/null || fail "the victim's export failed"
done
kill "$peeker" 2>/dev/null
wait "$peeker" 2>/dev/null
[ -s "$shared/peeks" ] && fail "the attacker read $(wc -l <"$shared/peeks") copies of a private export"
[ "$(stat -c %a "$private")" = 600 ] || fail "the export is no longer private"

# Root replacing the victim's file gives it back to them.
"$cli" --export "$private" 2>/dev/null || fail "root's export failed"
[ "$(stat -c %U:%G:%a "$private")" = kamorin-victim:kamorin-victim:600 ] ||
    fail "root's export made it $(stat -c %U:%G:%a "$private")"
as kamorin-victim cat "$private" >/dev/null 2>&1 || fail "the victim cannot read root's export"

[ "$failures" = 0 ] && echo "all held"
exit "$failures"
