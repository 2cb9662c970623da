#!/usr/bin/env bash
# Installs BELTRIX into a throwaway prefix and checks it as desktops and software centres read
# it: every file where they look for it, the desktop entry and the AppStream metainfo clean for
# their validators (any warning fails, not only errors) and naming each other and the icon by
# the same id, the icons in the sizes their folders promise, made from the program's icon or
# showing the same window, and the manual pages at the version being built.
#
# usage: install_check.sh <cmake> <build folder> <app id> <version> <icon.ico>
set -euo pipefail

cmake=$1
build=$2
id=$3
version=$4
ico=$5

for tool in desktop-file-validate appstreamcli identify compare convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps.sh test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
prefix=$work/prefix
# cmake --install rewrites the build's install_manifest.txt; put back the one from a real
# install, which is what uninstalling goes by.
manifest=$build/install_manifest.txt
[ ! -e "$manifest" ] || cp -p "$manifest" "$work/manifest"
cleanup() {
    if [ -e "$work/manifest" ]; then cp -p "$work/manifest" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

# Exactly these files: anything else would be shipped by accident.
expected=$(printf '%s\n' \
    bin/beltrix \
    bin/beltrix-calc \
    share/applications/"$id".desktop \
    share/doc/beltrix/changelog \
    share/doc/beltrix/copyright \
    share/icons/hicolor/16x16/apps/"$id".png \
    share/icons/hicolor/32x32/apps/"$id".png \
    share/icons/hicolor/48x48/apps/"$id".png \
    share/icons/hicolor/64x64/apps/"$id".png \
    share/icons/hicolor/128x128/apps/"$id".png \
    share/icons/hicolor/256x256/apps/"$id".png \
    share/man/man1/beltrix.1 \
    share/man/man1/beltrix-calc.1 \
    share/metainfo/"$id".metainfo.xml | sort)
installed=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:"$'\n'"$(
    diff <(echo "$expected") <(echo "$installed"))"
[ -x "$prefix/bin/beltrix" ] || fail "bin/beltrix is not executable"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml

# desktop-file-validate exits 0 even on some errors, and prints nothing when a file is clean.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# Pedantic notes (P:) are allowed: the id's capital letter is the usual reverse-DNS style.
for check in "validate --no-net $metainfo" "validate-tree --no-net $prefix"; do
    # shellcheck disable=SC2086 # the words of $check are meant to split
    out=$(appstreamcli $check 2>&1) || fail "appstreamcli $check failed:"$'\n'"$out"
    grep -q 'Validation was successful' <<<"$out" || fail "appstreamcli $check:"$'\n'"$out"
    ! grep -Eq '^\s*[EWI]: ' <<<"$out" || fail "appstreamcli $check:"$'\n'"$out"
done

key() { sed -n "s/^$1=//p" "$desktop"; }
exec_name=$(key Exec)
[[ -n "$exec_name" && -x "$prefix/bin/$exec_name" ]] ||
    fail "Exec=$exec_name does not start the installed program"
[ "$(key Icon)" = "$id" ] || fail "Icon=$(key Icon) is not $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metainfo has no release $version, the version being built"

icon() { echo "$prefix/share/icons/hicolor/$1x$1/apps/$id.png"; }
for size in 16 32 48; do
    got=$(identify -format '%m %wx%h' "$(icon "$size")") || fail "$(icon "$size") is unreadable"
    [ "$got" = "PNG ${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done

# The .ico's own images of a size, the richest in colours first.
ico_frame() {
    local size=$1
    identify -format '%p %w %k\n' "$ico" | awk -v s="$size" '$2 == s {print $3, $1}' |
        sort -rn | awk 'NR == 1 {print $2}'
}
for size in 16 32; do
    frame=$(ico_frame "$size")
    [ -n "$frame" ] || fail "$ico has no ${size}x${size} image"
    diff=$(compare -metric AE "$(icon "$size")" "${ico}[$frame]" null: 2>&1) || true
    [ "$diff" = 0 ] || fail "the ${size}x${size} icon differs from the .ico's in $diff pixels"
done

# The 48 is the 32 scaled up. Smooth, bicubic and nearest-neighbour scaling of the 32 all stay
# under this bound (nearest-neighbour, the farthest, near 0.14); the 16 scaled up (near 0.25) or
# an empty picture does not.
convert "$(icon 32)" -filter Triangle -resize 48x48 "$work/expected48.png"
rmse=$(compare -metric RMSE "$(icon 48)" "$work/expected48.png" null: 2>&1 |
    sed -n 's/.*(\(.*\))/\1/p') || true
if [ -z "$rmse" ] || ! awk -v e="$rmse" 'BEGIN {exit !(e < 0.2)}'; then
    fail "the 48x48 icon is not the 32x32 scaled up (RMSE ${rmse:-unknown})"
fi

# The larger icons are drawn at their own sizes, with thinner lines and more detail than the 32
# (packaging.icons checks that they are what the generator draws); made small again they must
# still show the same window. Theirs stay near 0.19 from the 32; the 16 scaled up (near 0.35),
# the 32 mirrored (near 0.29) or an empty picture (near 0.5) do not come under the bound.
convert "$(icon 32)" -background white -flatten "$work/icon32.png"
for size in 64 128 256; do
    got=$(identify -format '%m %wx%h %A' "$(icon "$size")") || fail "$(icon "$size") is unreadable"
    [ "$got" = "PNG ${size}x${size} True" ] ||
        fail "the ${size}x${size} icon is $got, not a ${size}x${size} PNG with transparency"
    convert "$(icon "$size")" -background white -flatten -filter Triangle -resize 32x32 \
        "$work/small$size.png"
    rmse=$(compare -metric RMSE "$work/small$size.png" "$work/icon32.png" null: 2>&1 |
        sed -n 's/.*(\(.*\))/\1/p') || true
    if [ -z "$rmse" ] || ! awk -v e="$rmse" 'BEGIN {exit !(e < 0.25)}'; then
        fail "the ${size}x${size} icon made small is not the 32x32 icon (RMSE ${rmse:-unknown})"
    fi
done

# The manual pages name the version being built, in their footer and wherever else they name one.
for page in beltrix beltrix-calc; do
    file=$prefix/share/man/man1/$page.1
    grep -q "^\.TH .* \"BELTRIX $version\" " "$file" ||
        fail "the footer of $page(1) does not name BELTRIX $version"
    others=$(grep -Eo '(BELTRIX|beltrix|[Vv]ersion,?) [0-9]+\.[0-9]+' "$file" |
        grep -v " $version\$" || true)
    [ -z "$others" ] || fail "$page(1) names another version: $others"
done

echo "installed files, desktop entry, metainfo, icons and manual pages are in order"
