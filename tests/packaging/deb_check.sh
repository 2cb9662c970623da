#!/usr/bin/env bash
# Checks the Debian package (made by build_deb.sh) before anyone installs it: the files land
# where desktops look under /usr, the manual pages and the changelog compressed as Debian keeps
# them and the changelog at the package's version, the control fields say what apt needs (the Qt
# libraries among the dependencies, and every dependency satisfiable on this very machine, which
# the program was built on), and the program unpacked from it starts and keeps running.
#
# usage: deb_check.sh <package folder> <app id> <version>
set -euo pipefail

packages=$1
id=$2
version=$3

for tool in dpkg-deb dpkg-parsechangelog file; do
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
app=
cleanup() {
    [ -z "$app" ] || kill -KILL "$app" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in \
    ./usr/bin/beltrix \
    ./usr/bin/beltrix-calc \
    ./usr/share/man/man1/beltrix.1.gz \
    ./usr/share/man/man1/beltrix-calc.1.gz \
    ./usr/share/applications/"$id".desktop \
    ./usr/share/metainfo/"$id".metainfo.xml \
    ./usr/share/icons/hicolor/16x16/apps/"$id".png \
    ./usr/share/icons/hicolor/32x32/apps/"$id".png \
    ./usr/share/icons/hicolor/48x48/apps/"$id".png \
    ./usr/share/icons/hicolor/64x64/apps/"$id".png \
    ./usr/share/icons/hicolor/128x128/apps/"$id".png \
    ./usr/share/icons/hicolor/256x256/apps/"$id".png \
    ./usr/share/doc/beltrix/changelog.gz \
    ./usr/share/doc/beltrix/copyright; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
uncompressed=$(grep -E -e '^\./usr/share/man/.*\.[1-9]$' -e '/changelog$' <<<"$contents" || true)
[ -z "$uncompressed" ] || fail "the package keeps these uncompressed:"$'\n'"$uncompressed"
outside=$(grep -v -e '^\./$' -e '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "the package puts files outside /usr:"$'\n'"$outside"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = beltrix ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is $(field Architecture)"
[ "$(field Section)" = net ] || fail "Section is $(field Section)"
[ "$(field Maintainer)" = "BELTRIX developers <beltrix@example.org>" ] ||
    fail "Maintainer is $(field Maintainer)"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 2 ] || fail "Description has no long part: $description"
grep -q DSLAM <<<"$description" || fail "Description does not say what BELTRIX is: $description"
awk 'length > 80 {exit 1}' <<<"$description" || fail "Description has lines over 80 columns"

depends=$(field Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# A misspelt name or an impossible version would leave the package uninstallable.
IFS=',' read -ra deps <<<"$depends"
for dep in "${deps[@]}"; do
    read -r name op wanted <<<"$(tr -d '()' <<<"$dep")"
    here=$(dpkg-query -W -f '${db:Status-Abbrev} ${Version}\n' "$name" 2>/dev/null | head -n 1) ||
        true
    read -r state have <<<"$here"
    [ "${state:-}" = ii ] || fail "Depends names $name, which is not installed here"
    if [ -n "${op:-}" ]; then
        dpkg --compare-versions "$have" "$op" "$wanted" ||
            fail "Depends wants $name $op $wanted; this machine, which built it, has $have"
    fi
done

dpkg-deb -x "$deb" "$work/root"

# The changelog's newest entry is the package's own version, and it is readable as one.
gzip -dc "$work/root/usr/share/doc/beltrix/changelog.gz" >"$work/changelog" ||
    fail "changelog.gz does not decompress"
logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version) ||
    fail "dpkg-parsechangelog cannot read the changelog"
[ "$logged" = "$version" ] || fail "the changelog's newest entry is $logged, not $version"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Source)" = "$(field Package)" ] ||
    fail "the changelog is not about $(field Package)"

binary=$work/root/usr/bin/beltrix
[ -x "$binary" ] || fail "the unpacked program is not executable"
QT_QPA_PLATFORM=offscreen "$binary" >"$work/run.log" 2>&1 &
app=$!
sleep 1
if ! kill -0 "$app" 2>/dev/null; then
    cat "$work/run.log" >&2
    fail "the unpacked program did not stay up"
fi
kill -TERM "$app"
status=0
wait "$app" || status=$?
app=
# 143 is death by SIGTERM: the program was running until this script ended it.
if [ "$status" != 143 ]; then
    cat "$work/run.log" >&2
    fail "the program ended with status $status, not by SIGTERM"
fi

echo "$(basename "$deb"): contents, control fields and start-up are in order"
