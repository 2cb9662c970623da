#!/usr/bin/env bash
# Builds the Debian package the way a release is made and runs Debian's own package checker on
# it. Any error or warning fails, and so do the notes this package once had and has been freed
# of (programs linked without bind-now, compiler notes left in the programs): they would mean
# the hardening flags or the finishing of the package (packaging/deb_finish.cmake) have stopped
# working.
#
# usage: lintian_check.sh <cpack> <build folder> <version>
set -euo pipefail

cpack=$1
build=$2
version=$3

for tool in lintian dpkg; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps.sh test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
# cpack rewrites the build's install_manifest.txt; put back the one from a real install, which
# is what uninstalling goes by.
manifest=$build/install_manifest.txt
[ ! -e "$manifest" ] || cp -p "$manifest" "$work/manifest"
cleanup() {
    if [ -e "$work/manifest" ]; then cp -p "$work/manifest" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$work/out/beltrix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { cat "$work/cpack.log" >&2; fail "cpack did not write $(basename "$deb")"; }

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
