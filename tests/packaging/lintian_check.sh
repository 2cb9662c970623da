#!/usr/bin/env bash
# Runs Debian's own package checker on the package build_deb.sh made. Any error or warning
# fails, and so do the notes this package once had and has been freed of (programs linked
# without bind-now, compiler notes left in the programs): they would mean the hardening flags or
# the finishing of the package (packaging/deb_finish.cmake) have stopped working.
#
# usage: lintian_check.sh <package folder> <version>
set -euo pipefail

packages=$1
version=$2

for tool in lintian dpkg; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps.sh test installs it)"
        exit 77
    fi
done
deb=$packages/beltrix_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
    echo "SKIP: no package was made (packaging.build_deb)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Every tag down to the pedantic ones is listed, so that a failure shows the whole picture.
# lintian exits 2 when it finds an error or a warning, 0 when it finds neither; anything else
# means it could not check the package at all.
status=0
lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" \
    >"$work/tags" 2>"$work/lintian.log" || status=$?
if [ "$status" != 0 ] && [ "$status" != 2 ]; then
    cat "$work/lintian.log" "$work/tags" >&2
    fail "lintian could not check the package (status $status)"
fi

if [ "$status" != 0 ] ||
    grep -Eq '^[EW]: |: (hardening-no-bindnow|binary-has-unneeded-section) ' "$work/tags"; then
    cat "$work/tags" >&2
    fail "lintian finds fault with $(basename "$deb") (the E:, W: and named I: tags above)"
fi

echo "$(basename "$deb"): lintian reports no error and no warning"
[ ! -s "$work/tags" ] || cat "$work/tags"
