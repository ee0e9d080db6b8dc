#!/usr/bin/env bash
# apt-get installs the package, its kamorin-cli runs, and apt-get removes and
# purges it, leaving none of its files and every folder it used as it found
# it. This changes the machine, so it runs only as root, where no kamorin is
# installed and apt would bring in nothing but the package itself; anywhere
# else it says which of these it lacks and passes without trying. However it
# ends, a kamorin it installed is purged again.
# usage: apt-install.sh DEB VERSION
set -uo pipefail

deb=$(realpath "$1")
version=$2
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
skip() {
    echo "SKIP: apt-get install and purge: $*"
    exit 0
}
# Installed or partly installed, in dpkg's database: anything but not-installed.
on_machine() {
    local status
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' kamorin 2>/dev/null) || return 1
    case "$status" in "" | un* | pn*) return 1 ;; esac
}

[ "$(id -u)" -eq 0 ] || skip "it installs into the system, which needs root"
command -v apt-get >/dev/null || skip "no apt-get on this machine"
on_machine && skip "kamorin is installed here already ($(dpkg-query -W -f='${Version}' kamorin)), and the test would remove it"

apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
export DEBIAN_FRONTEND=noninteractive
# Only what is installed already may satisfy the dependencies: packages apt
# brought in would stay behind after the purge.
if ! plan=$("${apt[@]}" --simulate --no-install-recommends install "$deb" 2>&1); then
    echo "$plan"
    echo "FAIL: apt-get cannot install $(basename "$deb")"
    exit 1
fi
others=$(echo "$plan" | awk '$1 == "Inst" && $2 != "kamorin" { print $2 }' | tr '\n' ' ')
[ -z "$others" ] || skip "apt-get would also install ${others% }, which would stay after the purge"

# What the package holds, and which of those paths were here before it.
paths=()
while read -r path; do
    path=${path#.}
    path=${path%/}
    [ -n "$path" ] && paths+=("$path")
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t)
before=()
for path in "${paths[@]}"; do
    if [ -e "$path" ] || [ -L "$path" ]; then before+=(yes); else before+=(no); fi
done

ours=no
purge_ours() {
    if [ $ours = yes ] && on_machine; then
        echo "Purging the kamorin this test installed"
        "${apt[@]}" purge kamorin >/dev/null 2>&1 || dpkg --purge kamorin >/dev/null 2>&1
    fi
}
trap purge_ours EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ours=yes
if ! "${apt[@]}" --no-install-recommends install "$deb"; then
    echo "FAIL: apt-get install $(basename "$deb")"
    exit 1
fi
listed=$(dpkg -L kamorin)
said=$(/usr/bin/kamorin-cli --version 2>&1)
status=$?
[ $status -eq 0 ] || fail "the installed kamorin-cli --version exited with $status: $said"
grep -qF "$version" <<<"$said" || fail "the installed kamorin-cli --version says '$said', not $version"

"${apt[@]}" remove kamorin || fail "apt-get remove kamorin"
# A package without configuration files leaves dpkg's database at its
# removal, and apt then knows nothing to purge.
if dpkg-query -W kamorin >/dev/null 2>&1; then
    "${apt[@]}" purge kamorin || fail "apt-get purge kamorin"
fi
! on_machine || fail "kamorin is still in dpkg's database: $(dpkg-query -W -f='${db:Status-Abbrev}' kamorin)"

while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    if [ -e "$path" ] || [ -L "$path" ]; then fail "$path is still there after the purge"; fi
done <<<"$listed"
for i in "${!paths[@]}"; do
    if [ -e "${paths[i]}" ] || [ -L "${paths[i]}" ]; then now=yes; else now=no; fi
    [ "$now" = "${before[i]}" ] || fail "${paths[i]}: there before the install: ${before[i]}, after the purge: $now"
done

if [ $failures -eq 0 ]; then
    echo "PASS: apt-get installs, removes and purges $(basename "$deb") cleanly"
else
    exit 1
fi
