# shellcheck shell=bash
# Sourced by the tests that drive a real window.

# poll SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds, for
# SECONDS at most however long each try takes.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
