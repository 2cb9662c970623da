#!/usr/bin/env bash
# Installs the Debian 12 packages that BELTRIX needs to build and test, when they are missing.
# Quick and silent when everything is there. Run as root, or as a user with sudo.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev locales)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# The tests check that numbers keep "." as the decimal point under a locale that uses ",".
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: could not generate de_DE.UTF-8; the locale test will be skipped"
fi
