#!/usr/bin/env bash
# Builds and runs every test: the debug build, the sanitizer build, and a short fuzz smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for preset in debug asan; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset"
done
if [ "${KESTRIX_SKIP_FUZZ:-0}" != 1 ]; then
  echo "=== fuzz smoke ==="
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  scripts/fuzz-smoke.sh build/fuzz/bin "${KESTRIX_FUZZ_SECONDS:-30}"
fi
