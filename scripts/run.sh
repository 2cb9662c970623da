#!/usr/bin/env bash
# Builds BELTRIX and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
echo
echo "Built the calculation engine and the replay tool (build/default/tools/replay/beltrix-replay)."
echo "The BELTRIX window is not part of this build yet; the replay tool drives the same engine:"
echo
echo '  echo '"'"'{"fields": {"Text1": "2002", "Text6": "200"}, "clicks": ["Command9"]}'"'"' | build/default/tools/replay/beltrix-replay'
echo
echo '{"fields": {"Text1": "2002", "Text6": "200"}, "clicks": ["Command9"]}' | build/default/tools/replay/beltrix-replay
