#!/usr/bin/env bash
# The icon pictures kept in assets/icon are what beltrix-assetgen draws today: the .ico the
# windows carry, byte for byte, and the larger desktop icons, drawn at each size rather than
# scaled from a smaller one. A change to the drawing that was not followed by regenerating the
# pictures, or a picture edited or scaled by hand, fails here.
#
# usage: icons_check.sh <beltrix-assetgen> <assets folder>
set -euo pipefail

assetgen=$1
assets=$2

if ! command -v compare >/dev/null; then
    echo "SKIP: compare is missing (scripts/install-deps.sh test installs imagemagick)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$assetgen" "$work" >"$work/assetgen.log" 2>&1 ||
    { cat "$work/assetgen.log" >&2; fail "beltrix-assetgen failed"; }

cmp -s "$work/icon/Form1.ico" "$assets/icon/Form1.ico" ||
    fail "assets/icon/Form1.ico is not what beltrix-assetgen draws"

# Compared pixel by pixel rather than byte by byte: another zlib may pack the same pixels
# differently, and the smoothing of edges may differ in the last bit from one processor's
# drawing routines to another's.
for size in 64 128 256; do
    kept=$assets/icon/Form1-$size.png
    [ -f "$kept" ] || fail "$kept is missing"
    diff=$(compare -fuzz 1% -metric AE "$kept" "$work/icon/Form1-$size.png" null: 2>&1) || true
    [ "$diff" = 0 ] ||
        fail "$(basename "$kept") differs from what beltrix-assetgen draws in $diff pixels"
done

echo "the icons in $assets/icon are the ones beltrix-assetgen draws"
