#!/usr/bin/env bash
# Two builds of one commit give the same .deb, byte for byte, as Debian's
# reproducible builds define it: made in two folders, one after the other,
# under another umask, locale and time zone. The first finds the package's
# time itself (the commit's, from git); the second is given it in
# SOURCE_DATE_EPOCH, as Debian's tools give it. A source without git (a
# release tarball) takes the changelog's date for both.
#
# Each build is a whole release build of the programs, minutes on a small
# machine, so the test runs only where KAMORIN_REBUILD_PACKAGE=1 and is
# skipped elsewhere.
# usage: reproducible-package.sh SOURCE_DIR SCRATCH_DIR VERSION
set -uo pipefail

source=$(cd "$1" && pwd -P)
scratch=$2
version=$3
start=$SECONDS

if [ "${KAMORIN_REBUILD_PACKAGE:-}" != 1 ]; then
    echo "SKIP: building the package twice takes 7 minutes on two idle cores, 17 on busy ones; KAMORIN_REBUILD_PACKAGE=1 runs it"
    exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd -P)
first=$scratch/a/kamorin
second=$scratch/second-build/src/kamorin-$version
mkdir -p "$first" "$second"

if [ "$(git -C "$source" rev-parse --show-toplevel 2>/dev/null)" = "$source" ]; then
    commit=$(git -C "$source" rev-parse HEAD)
    epoch=$(git -C "$source" log -1 --format=%ct HEAD)
    echo "Building commit $commit (uncommitted changes are not in it), SOURCE_DATE_EPOCH=$epoch"
    git clone --quiet --no-checkout "$source" "$first" &&
        git -C "$first" checkout --quiet --detach "$commit" || {
        echo "FAIL: cannot clone $source"
        exit 1
    }
    git -C "$source" archive "$commit" | tar -x -C "$second" || {
        echo "FAIL: cannot export $commit"
        exit 1
    }
else
    epoch=$(dpkg-parsechangelog -l "$source/data/changelog" -S Timestamp)
    echo "Building the tree in $source (no git checkout), SOURCE_DATE_EPOCH=$epoch from the changelog"
    excluded=()
    while read -r cache; do
        excluded+=("--exclude=.${cache#"$source"}")
    done < <(find "$source" -name CMakeCache.txt -printf '%h\n')
    for copy in "$first" "$second"; do
        tar -C "$source" "${excluded[@]}" -c . | tar -x -C "$copy" || {
            echo "FAIL: cannot copy $source"
            exit 1
        }
    done
fi

# The second build's locale: Japanese, made in the scratch folder when the
# system has not generated it, else a locale other than the first's.
japanese=ja_JP.UTF-8
locpath=
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    if command -v localedef >/dev/null && [ -f /usr/share/i18n/locales/ja_JP ] &&
        mkdir -p "$scratch/locale" && localedef -c -i ja_JP -f UTF-8 "$scratch/locale/$japanese" >/dev/null 2>&1 &&
        [ "$(LOCPATH=$scratch/locale LC_ALL=$japanese locale charmap 2>&1)" = UTF-8 ]; then
        locpath=$scratch/locale
    else
        echo "NOTE: no $japanese here, and it cannot be made (the locales package is missing): the second build runs in the POSIX locale"
        japanese=POSIX
    fi
fi

# folder umask locale LOCPATH time-zone SOURCE_DATE_EPOCH (either may be empty)
build_package() {
    local folder=$1
    echo "== $folder: umask $2, LC_ALL=$3, TZ=$5, SOURCE_DATE_EPOCH=${6:-unset}, $(date -u '+%T UTC')"
    (
        cd "$folder" || exit 1
        umask "$2"
        unset SOURCE_DATE_EPOCH LANG LANGUAGE LC_ALL LOCPATH
        export LC_ALL=$3 TZ=$5
        [ -z "$4" ] || export LOCPATH=$4
        [ -z "$6" ] || export SOURCE_DATE_EPOCH=$6
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKAMORIN_BUILD_TESTS=OFF -DKAMORIN_BUILD_BENCH=OFF &&
            nice cmake --build build -j "$(nproc)" &&
            cd build && cpack -G DEB -B "$folder/package"
    ) >"$folder.log" 2>&1 || {
        tail -n 40 "$folder.log"
        echo "FAIL: the package build in $folder"
        exit 1
    }
}
build_package "$first" 022 C.UTF-8 "" UTC ""
build_package "$second" 002 "$japanese" "$locpath" Asia/Tokyo "$epoch"

deb=kamorin_${version}_$(dpkg --print-architecture).deb
a=$first/package/$deb
b=$second/package/$deb
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The archive's own rules, checked on the first: a fault then has a name,
# not only a differing byte.
latest=$(date -u -d "@$epoch" '+%F %T')
while read -r mode owner _ day time name; do
    [ "$owner" = root/root ] || fail "$name is owned by $owner"
    [[ "$day $time" > "$latest" ]] && fail "$name is dated $day $time, after $latest"
    case "$mode" in d*) [ "$mode" = drwxr-xr-x ] || fail "folder $name has mode $mode" ;; esac
done < <(dpkg-deb --fsys-tarfile "$a" | TZ=UTC tar -tv --full-time)
for tree in "$first" "$second"; do
    found=$(dpkg-deb --fsys-tarfile "$a" | tar -x -O | grep -caF "$tree")
    [ "$found" -eq 0 ] || fail "the package names the build folder $tree"
done

if cmp -s "$a" "$b"; then
    echo "Both builds gave $deb, $(stat -c %s "$a") bytes, sha256 $(sha256sum <"$a" | cut -c1-16)…"
else
    fail "the two builds' $deb differ"
    cmp "$a" "$b"
    diff <(ar tv "$a") <(ar tv "$b")
    diff <(dpkg-deb -I "$a") <(dpkg-deb -I "$b")
    diff <(dpkg-deb -c "$a") <(dpkg-deb -c "$b")
    dpkg-deb -x "$a" "$scratch/unpacked-a"
    dpkg-deb -x "$b" "$scratch/unpacked-b"
    diff -rq "$scratch/unpacked-a" "$scratch/unpacked-b"
fi

echo "Took $((SECONDS - start)) s"
if [ $failures -eq 0 ]; then
    echo "PASS: the package is reproducible"
else
    echo "FAIL: the package is not reproducible"
    exit 1
fi
