#!/usr/bin/env bash
# Checks what an install put under one prefix: exactly the expected files,
# hardened programs, manual pages and changelog compressed reproducibly,
# desktop entry and AppStream data that validate, icons of the sizes their
# folders promise, and a kamorin-cli that runs.
# usage: check-installed-tree.sh PREFIX VERSION
set -uo pipefail

prefix=$1
version=$2
app_id=io.github.kamorin.Kamorin
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

icon_sizes=(16 32 48 64 128 256)
expected=(
    bin/kamorin
    bin/kamorin-cli
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    share/doc/kamorin/copyright
    share/doc/kamorin/changelog.gz
    share/kamorin/schema/kamorin-cli.schema.json
    share/kamorin/schema/kamorin-results.schema.json
)
man_pages=()
for folder in man1 ja/man1; do
    for program in kamorin kamorin-cli; do
        man_pages+=("share/man/$folder/$program.1.gz")
    done
done
expected+=("${man_pages[@]}")
for size in "${icon_sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done

actual=$(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [ "$actual" != "$wanted" ]; then
    fail "installed files differ from the expected ones (< expected, > installed):"
    diff <(echo "$wanted") <(echo "$actual") | grep '^[<>]'
fi

for program in kamorin kamorin-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
    # A run path left pointing into the build tree would load stale libraries.
    if readelf -d "$prefix/bin/$program" 2>/dev/null | grep -Eq 'R(UN)?PATH'; then
        fail "bin/$program carries a run path"
    fi
    # Linked with -z relro -z now: all relocations done at start-up, then read-only.
    readelf -d "$prefix/bin/$program" 2>/dev/null | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).* NOW' \
        || fail "bin/$program is not bound at start-up (BIND_NOW)"
    readelf -lW "$prefix/bin/$program" 2>/dev/null | grep -q GNU_RELRO \
        || fail "bin/$program has no read-only relocations (GNU_RELRO)"
done

# gzip -9n: no file name and no time in the header (flags and mtime all zero),
# so two builds of the same sources give the same files.
reproducible_gzip() {
    [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 1f8b080000000000 ] && gzip -t "$1"
}
for page in "${man_pages[@]}"; do
    file=$prefix/$page
    [ -f "$file" ] || continue
    reproducible_gzip "$file" || fail "$page is not gzip -9n output"
    program=$(basename "$page" .1.gz)
    name=${program^^}
    name=${name//-/\\-}
    title=$(gzip -dc "$file" | grep -m1 '^\.TH ')
    case "$title" in ".TH $name 1 "*) ;; *) fail "$page is titled '$title'" ;; esac
done

changelog=$prefix/share/doc/kamorin/changelog.gz
if [ -f "$changelog" ]; then
    reproducible_gzip "$changelog" || fail "changelog.gz is not gzip -9n output"
    latest=$(gzip -dc "$changelog" | head -n 1)
    case "$latest" in
    "kamorin ($version) "*"; urgency="*) ;;
    *) fail "the changelog's latest entry is '$latest', not version $version" ;;
    esac
fi

desktop=$prefix/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    out=$(desktop-file-validate "$desktop" 2>&1)
    status=$?
    [ -z "$out" ] || echo "$out"
    [ $status -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate"
    grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry does not name the icon $app_id"
    grep -qx "Exec=kamorin" "$desktop" || fail "desktop entry does not start kamorin"
fi

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate --no-net"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
        || fail "metainfo does not launch $app_id.desktop"
    grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}\"/>" "$metainfo" \
        || fail "metainfo has no dated release $version"
fi

for size in "${icon_sizes[@]}"; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$icon" ] || continue
    file -b "$icon" | grep -q "^PNG image data, $size x $size," \
        || fail "${size}x${size} icon is $(file -b "$icon")"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$app_id.svg
[ ! -f "$svg" ] || grep -q '<svg' "$svg" || fail "scalable icon is no SVG"

if [ -x "$prefix/bin/kamorin-cli" ]; then
    shown=$("$prefix/bin/kamorin-cli" --version)
    [ "$shown" = "kamorin-cli $version" ] || fail "kamorin-cli --version says '$shown', not $version"
    json=$("$prefix/bin/kamorin-cli" --count=100 --unit=回 --json)
    echo "$json" | grep -qF '"value": "3.13159290355855"' || fail "kamorin-cli gave $json"
fi

# The installed schemas are whole JSON documents.
for schema in "$prefix"/share/kamorin/schema/*.schema.json; do
    python3 -m json.tool "$schema" >/dev/null || fail "${schema#"$prefix"/} is not JSON"
done

exit $((failures > 0))
