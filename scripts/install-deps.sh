#!/usr/bin/env bash
# Installs the Debian 12 packages that BELTRIX needs, when they are missing; quick and silent
# when everything is there. Run as root, or as a user with sudo.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh test   that, and what the test suite needs
set -euo pipefail

build=(cmake ninja-build g++ qt6-base-dev nlohmann-json3-dev fonts-liberation fonts-wine)
# The real-window check drives the program on a virtual X display; the locale proves that
# numbers keep "." as the decimal point under a desktop that uses ","; clang brings libFuzzer;
# the packaging tests validate the desktop entry and metainfo, build the Debian package and
# have lintian check it.
testing=(libgtest-dev locales xvfb xauth openbox x11-utils xdotool xclip imagemagick
    clang libclang-rt-14-dev valgrind desktop-file-utils appstream dpkg-dev file lintian)

packages=("${build[@]}")
if [ "${1:-run}" = test ]; then
    packages+=("${testing[@]}")
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

if [ "${1:-run}" = test ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
        echo "note: could not generate de_DE.UTF-8; the decimal-point locale test will be skipped"
fi
