#!/usr/bin/env bash
# cmake --install into a scratch prefix puts every file in place.
# usage: prefix.sh BUILD_DIR VERSION
set -uo pipefail

build=$1
version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$build/install-tests/prefix

rm -rf "$prefix"
if ! cmake --install "$build" --prefix "$prefix" >/dev/null; then
    echo "FAIL: cmake --install"
    exit 1
fi
if "$here/check-installed-tree.sh" "$prefix" "$version"; then
    echo "PASS: cmake --install --prefix"
else
    echo "FAIL: cmake --install --prefix"
    exit 1
fi
