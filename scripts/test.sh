#!/usr/bin/env bash
# Builds everything in the given preset (default: native) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/deps.sh "$preset"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2 --no-tests=error
# The line faults that wait out the printer's real deadlines (minutes, not
# seconds) run after the quick suite, on the native build.
if [ "$preset" = default ]; then
  ctest --preset slow -j2 --no-tests=error
fi
