#!/usr/bin/env bash
# Runs every fuzz target in BIN_DIR for SECONDS each; any crash fails the run.
set -euo pipefail
bin=${1:?bin dir}; secs=${2:-30}
shopt -s nullglob
targets=("$bin"/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus=$(mktemp -d)
  seeds="fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzz: $name for ${secs}s"
  "$t" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" > "$corpus.log" 2>&1 \
    || { tail -50 "$corpus.log"; echo "fuzz target $name failed"; exit 1; }
  rm -rf "$corpus" "$corpus.log"
done
echo "fuzz smoke: ${#targets[@]} targets clean"
