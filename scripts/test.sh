#!/usr/bin/env bash
# Builds BELTRIX with its tests and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset default
cmake --build --preset default
ctest --preset default
