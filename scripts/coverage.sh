#!/usr/bin/env bash
# Keeps the test budget in view: test lines against product lines, and the
# line coverage of the driver (src/) from a --coverage build of every target.
# ECF_COVERAGE_SKIP_BUILD=1 reports the sizes and the last run's coverage only.
set -euo pipefail
cd "$(dirname "$0")/.."

lines() { git ls-files "$@" | xargs cat | wc -l; }
product=$(lines src include hostkit sim tools)
tests=$(lines tests)
echo "test lines:    $tests"
echo "product lines: $product"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "ratio:         %.2f\n", t / p }'

if [ "${ECF_COVERAGE_SKIP_BUILD:-0}" != 1 ]; then
  bash scripts/deps.sh coverage
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage
  find build/coverage -name '*.gcda' -delete
  ctest --preset coverage -j2 >/dev/null
fi
# gcovr's own report goes to a scratch file: only the summary is wanted.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "src/ coverage:"
gcovr --root . --filter 'src/' --print-summary -o "$scratch/report.txt" build/coverage
echo "src, hostkit, sim and tools coverage:"
gcovr --root . --filter 'src/' --filter 'hostkit/' --filter 'sim/' --filter 'tools/' \
  --print-summary -o "$scratch/report.txt" build/coverage
