#!/usr/bin/env bash
# The Debian package carries the right control fields, installs under /usr
# exactly what cmake --install does, with its programs fully stripped and
# hardened as Debian's own, lintian finds no error and no warning in it, and
# apt installs and purges it cleanly (where it may: apt-install.sh).
# usage: debian-package.sh BUILD_DIR VERSION
set -uo pipefail

build=$1
version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scratch=$build/install-tests/deb
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
if ! (cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1); then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi

deb=$scratch/kamorin_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
    ls "$scratch"
    echo "FAIL: no $(basename "$deb")"
    exit 1
fi

dpkg-deb -I "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kamorin ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
case "$(field Section)" in utils | misc) ;; *) fail "Section is '$(field Section)'" ;; esac
field Maintainer | grep -Eq '^[^<]+ <[^@>]+@[^>]+>$' || fail "Maintainer is '$(field Maintainer)'"
[ -n "$(field Description)" ] || fail "no Description"
[ -n "$(field Homepage)" ] || fail "no Homepage"
depends=$(field Depends)
depends_on() {
    local entry
    while read -r entry; do
        [ "${entry%% *}" = "$1" ] && return 0
    done < <(echo "$depends" | tr ',' '\n')
    return 1
}
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
    depends_on "$library" || fail "Depends lacks $library"
done
# The font the layout was made for, with no alternative that does not fit it.
depends_on fonts-ipafont-gothic || fail "Depends lacks fonts-ipafont-gothic: $depends"
echo "$depends" | grep -q 'fonts-ipafont-gothic *|' && fail "Depends offers an alternative to IPAPGothic"
depends_on libqt6sql6-sqlite || fail "Depends lacks the SQLite driver of the results store"
depends=$(field Recommends)
depends_on qt6-wayland || fail "Recommends lacks qt6-wayland: $depends"

# Installed by dpkg as root: nothing may belong to whoever built the package.
owners=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[ -z "$owners" ] || fail "entries not owned by root: $owners"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
"$here/check-installed-tree.sh" "$root/usr" "$version" || failures=$((failures + 1))
for program in kamorin kamorin-cli; do
    sections=$(readelf -SW "$root/usr/bin/$program" 2>/dev/null)
    for section in .symtab .debug_info .comment; do
        ! echo "$sections" | grep -qF " $section " || fail "usr/bin/$program keeps its $section section"
    done
done

# Debian's hardening, as its reviewers check it: each of these says yes.
hardening=(
    "Position Independent Executable"
    "Stack protected"
    "Fortify Source functions"
    "Read-only relocations"
    "Immediate binding"
    "Stack clash protection"
)
if ! command -v hardening-check >/dev/null; then
    fail "hardening-check is not installed (devscripts; scripts/dev.sh installs it)"
else
    for program in kamorin kamorin-cli; do
        verdict=$(hardening-check "$root/usr/bin/$program" 2>&1)
        echo "$verdict"
        for protection in "${hardening[@]}"; do
            # A here-string, not a pipe: grep -q leaves at the first match, and
            # under pipefail the echo it cut off would make the match a failure.
            grep -q "^ $protection: yes" <<<"$verdict" && continue
            # hardening-check sees stack-clash protection only in a probing
            # loop, which GCC emits only for a frame of more than four pages
            # or one sized at run time; a program without one reads as
            # unknown. Then the build's own record (the debug information's
            # producer, unstripped in the build tree) must show every unit
            # compiled with it.
            if [ "$protection" = "Stack clash protection" ] &&
                grep -qF "$protection: unknown, no -fstack-clash-protection instructions" <<<"$verdict"; then
                units=$(readelf --debug-dump=info --dwarf-depth=1 "$build/src/$program" |
                    grep -F DW_AT_producer | grep -F 'GNU C++')
                unprotected=$(echo "$units" | grep -cvF -- -fstack-clash-protection)
                [ -n "$units" ] && [ "$unprotected" -eq 0 ] && continue
                fail "usr/bin/$program: $unprotected of its compile units lack -fstack-clash-protection"
                continue
            fi
            fail "usr/bin/$program: $protection is not yes"
        done
    done
fi

if ! command -v lintian >/dev/null; then
    fail "lintian is not installed (scripts/dev.sh installs it)"
else
    # Tags decide the verdict, not lintian's own status: that is kept for
    # lintian failing to run at all.
    lintian_options=(--fail-on none)
    [ "$(id -u)" -ne 0 ] || lintian_options+=(--allow-root)
    report=$(lintian "${lintian_options[@]}" "$deb" 2>&1)
    status=$?
    [ -z "$report" ] || echo "$report"
    if [ $status -ne 0 ]; then
        fail "lintian exited with status $status"
    else
        tags=$(echo "$report" | grep -E '^[EW]: ')
        [ -z "$tags" ] || fail "lintian reports errors or warnings:"$'\n'"$tags"
    fi
fi

"$here/apt-install.sh" "$deb" "$version" || failures=$((failures + 1))

if [ $failures -eq 0 ]; then
    echo "PASS: Debian package $(basename "$deb")"
else
    echo "FAIL: Debian package $(basename "$deb")"
    exit 1
fi
