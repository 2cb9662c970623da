#!/usr/bin/env bash
# Builds BELTRIX with its tests and runs the whole test suite: once in the release build, then
# once more built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
for preset in default sanitize; do
    echo "== $preset build"
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
