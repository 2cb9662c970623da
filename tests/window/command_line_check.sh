#!/usr/bin/env bash
# The program's command line and its start where no window can open, as a shell sees them:
# --help and --version answer on standard output without a display; with no display, a display
# nobody serves, or one that refuses the connection, the program says why in one line on standard
# error and exits with status 1 (no abort); Qt's own options and anything else are left alone.
#
# usage: command_line_check.sh <beltrix executable> <version>
set -euo pipefail

beltrix=$1
version=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the program with no display of any kind, plus the given environment, and keeps its
# status, standard output and standard error.
run() { # env assignments..., then -- and the arguments
    local assignments=()
    while [ "$1" != -- ]; do assignments+=("$1"); shift; done
    shift
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM "${assignments[@]}" \
        timeout 20 "$beltrix" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

# One line on standard error, naming the program and what stood in the way; status 1.
expect_refusal() { # what, words the line must hold
    [ "$status" = 1 ] || fail "$1: exit status $status, expected 1 (stderr: $err)"
    [ -z "$out" ] || fail "$1: wrote to standard output: $out"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "$1: expected one line on standard error, got:
$err"
    [[ $err == "beltrix: cannot open a window: "* ]] || fail "$1: the line is: $err"
    grep -qF -- "$2" <<<"$err" || fail "$1: the line does not say \"$2\": $err"
}

for option in --version -v; do
    run -- "$option"
    [ "$status" = 0 ] || fail "$option: exit status $status (stderr: $err)"
    [ "$out" = "beltrix $version" ] || fail "$option printed: $out"
    [ -z "$err" ] || fail "$option wrote to standard error: $err"
done

for option in --help -h; do
    run -- "$option"
    [ "$status" = 0 ] || fail "$option: exit status $status (stderr: $err)"
    for word in "Usage: beltrix" "--help" "--version" "-style"; do
        grep -qF -- "$word" <<<"$out" || fail "$option: the help lacks \"$word\": $out"
    done
    [ -z "$err" ] || fail "$option wrote to standard error: $err"
done

# Qt's own options are not read as the program's: -reverse holds a "v" but is no --version.
run -- -reverse --version
[ "$status" = 0 ] && [ "$out" = "beltrix $version" ] || fail "-reverse --version: $status, $out"

run -- --frobnicate
expect_refusal "no display" "no display"

# Find a display number that nothing serves.
free=99
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done
run DISPLAY=":$free" --
expect_refusal "a display nobody serves" ":$free"

# A display that wants a cookie the program doesn't have.
if command -v Xvfb >/dev/null && command -v xauth >/dev/null; then
    xauth -q -f "$work/cookies" add ":$free" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    Xvfb ":$free" -auth "$work/cookies" -screen 0 640x480x24 >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$free" ] && break
        sleep 0.1
    done
    run DISPLAY=":$free" XAUTHORITY=/dev/null --
    expect_refusal "a display that refuses the connection" ":$free"
else
    echo "note: Xvfb or xauth missing; the refused connection was not tried"
fi

# Where a window can open, unknown arguments and Qt's options don't stop it.
env QT_QPA_PLATFORM=offscreen "$beltrix" -style fusion --frobnicate some-file >"$work/run.log" 2>&1 &
app=$!
pids+=($app)
sleep 1
kill -0 "$app" 2>/dev/null || { cat "$work/run.log" >&2; fail "the program did not stay up"; }
kill -TERM "$app"
status=0
wait "$app" || status=$?
[ "$status" = 143 ] || fail "the program ended with status $status, not by SIGTERM"

echo "command line: --help, --version and starts without a window answer as they should"
