#!/usr/bin/env bash
# Builds the Debian package the way a release is made, once, for the package checks that follow
# (deb_check.sh, lintian_check.sh), and writes it into the given folder.
#
# usage: build_deb.sh <cpack> <build folder> <output folder> <version>
set -euo pipefail

cpack=$1
build=$2
out=$3
version=$4

for tool in dpkg dpkg-deb dpkg-shlibdeps file; do
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

rm -rf "$out"
"$cpack" -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$out/beltrix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { cat "$work/cpack.log" >&2; fail "cpack did not write $(basename "$deb")"; }
echo "built $deb"
