#!/usr/bin/env bash
# Starts the real beltrix executable on a virtual X display with a window manager, checks the
# screenshot for the window colour, the white fields and a banner, then types a DSLAM VLAN and
# an inner VLAN, clicks CALCULATE and reads the results back through the clipboard.
#
# usage: real_window_check.sh <beltrix executable> <assets folder> [screenshot.png]
set -euo pipefail

if [ -z "${BELTRIX_ON_XVFB:-}" ]; then
    export BELTRIX_ON_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

beltrix=$1
assets=$2
shot=${3:-$(mktemp --suffix=.png)}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it owns the root window's WM selection.
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

unset QT_QPA_PLATFORM
"$beltrix" >"$work/beltrix.log" 2>&1 &
app=$!
pids+=($app)

window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n 1) ||
    fail "the BELTRIX window did not appear"
sleep 0.5 # let the first paint land

# Where the client area stands on the screen, frame excluded.
info=$(xwininfo -id "$window")
X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
WIDTH=$(awk '/Width:/ {print $2}' <<<"$info")
HEIGHT=$(awk '/Height:/ {print $2}' <<<"$info")
[ "$WIDTH" = 1016 ] && [ "$HEIGHT" = 591 ] || fail "client area is ${WIDTH}x${HEIGHT}, not 1016x591"

import -window root "$shot"

pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }
screen() { pixel "$shot" $((X + $1)) $((Y + $2)); }
expect_pixel() { # client x, client y, expected colour, what
    local got
    got=$(screen "$1" "$2")
    [ "$got" = "$3" ] || fail "$4 at ($1,$2) is $got, expected $3"
}

expect_pixel 700 150 "srgb(192,192,255)" "the window colour"
expect_pixel 600 580 "srgb(192,192,255)" "the window colour"
expect_pixel 240 244 "srgb(255,255,255)" "Text12, a white field"
expect_pixel 240 284 "srgb(255,255,255)" "Text5, a white field"
# The first banner stands inside Picture1's 2-pixel sunken border, at its natural size.
for point in "20 10" "200 20" "390 30"; do
    set -- $point
    want=$(pixel "$assets/banners/Picture1.png" "$1" "$2")
    expect_pixel $((176 + 2 + $1)) $((8 + 2 + $2)) "$want" "the first banner"
done

# Type into the VLAN-based calculator and calculate.
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.2; }
click_at 860 225 # Text1
xdotool type --delay 20 "2002"
click_at 948 225 # Text6
xdotool type --delay 20 "200"
click_at 904 408 # Command9
sleep 0.3

read_field() { # client x, client y of a field: its text, through the clipboard
    click_at "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null || true
}
tag=$(read_field 948 284)  # Text7
slot=$(read_field 860 336) # Text11
port=$(read_field 948 336) # Text13
[ "$tag/$slot/$port" = "73/2/25" ] || fail "tag block/slot/port read $tag/$slot/$port, expected 73/2/25"

kill -0 "$app" 2>/dev/null || fail "beltrix is no longer running"
echo "real window: layout pixels and the calculation 2002/200 -> 73/2/25 are right (screenshot: $shot)"
