#!/usr/bin/env bash
# Builds BELTRIX and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset default
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "BELTRIX is built (build/default/ui/beltrix), but there is no display to show it on." >&2
    echo "Start it from a desktop session, or on a virtual display: xvfb-run scripts/run.sh" >&2
    exit 1
fi
exec build/default/ui/beltrix
