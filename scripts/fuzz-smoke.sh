#!/usr/bin/env bash
# Runs every fuzz target in BIN_DIR for SECONDS each, nproc targets at a time, each from a copy of
# its seeds in fuzz/corpus/NAME; any crash or failed check fails the run (its log is shown).
set -euo pipefail
bin=$(realpath "${1:?bin dir}"); secs=${2:-30}
cd "$(dirname "$0")/.."
# Undefined behaviour stops the target like any other finding.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
shopt -s nullglob
targets=("$bin"/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_one() {   # target -> exit status of the target; log in $work/NAME.log
  local t=$1 name
  name=$(basename "$t")
  mkdir -p "$work/$name/corpus" "$work/$name/findings"
  local seeds="fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work/$name/corpus"/
  "$t" -max_total_time="$secs" -rss_limit_mb=2048 -timeout=30 -print_final_stats=0 \
       -artifact_prefix="$work/$name/findings/" "$work/$name/corpus" > "$work/$name.log" 2>&1
}

jobs_max=$(nproc)
declare -A pids=()
failed=()
wait_one() {
  local done_pid status
  if wait -n -p done_pid; then status=0; else status=$?; fi
  local name=${pids[$done_pid]}
  unset "pids[$done_pid]"
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    tail -50 "$work/$name.log"
    echo "fuzz target $name failed"
  fi
}
echo "fuzz smoke: ${#targets[@]} targets, ${secs}s each, $jobs_max at a time"
for t in "${targets[@]}"; do
  while [ ${#pids[@]} -ge "$jobs_max" ]; do wait_one; done
  run_one "$t" &
  pids[$!]=$(basename "$t")
done
while [ ${#pids[@]} -gt 0 ]; do wait_one; done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz smoke: failed: ${failed[*]}"
  exit 1
fi
echo "fuzz smoke: ${#targets[@]} targets clean"
