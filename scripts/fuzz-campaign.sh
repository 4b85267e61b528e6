#!/usr/bin/env bash
# A local fuzz campaign: runs every fuzz target of BIN_DIR (the fuzz preset's build, ASan+UBSan)
# for SECONDS, all targets at once, one niced process each, and prints one table: executions,
# exec/s, coverage (cov and ft of libFuzzer's last status line), corpus size and findings.
#
#   scripts/fuzz-campaign.sh SECONDS [BIN_DIR] [WORK_DIR]
#
# WORK_DIR (default build/fuzz-campaign) keeps, per target, the grown corpus (seeded from
# fuzz/corpus/NAME, so a later campaign goes on from it), the findings and the logs; nothing in it
# is committed but what is copied from findings/ into fuzz/corpus/NAME as a regression input.
# A target that crashes is started again for the rest of its time; an input that made it crash is
# moved out of its corpus first. Findings are counted as distinct fault lines (the failed check or
# the sanitizer's report). Exit status 1 when any target had a finding.
set -uo pipefail
secs=${1:?usage: fuzz-campaign.sh SECONDS [BIN_DIR] [WORK_DIR]}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(realpath -m "${2:-$root/build/fuzz/bin}")
work=$(realpath -m "${3:-$root/build/fuzz-campaign}")
cd "$root"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
shopt -s nullglob
targets=("$bin"/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $bin"; exit 2; }
mkdir -p "$work"

# The fault line of a crash log: a failed check, a sanitizer report or libFuzzer's own.
fault_of() {
  grep -m1 -oE 'check failed: .*|ERROR: AddressSanitizer: [a-zA-Z-]+|runtime error: .*|ERROR: LeakSanitizer: .*|ERROR: libFuzzer: [a-z-]+|SUMMARY: AddressSanitizer: [a-zA-Z-]+ [^ ]*' "$1" \
    | sed 's/ (.*//' | head -1
}

run_target() {
  local t=$1 name dir
  name=$(basename "$t")
  dir="$work/$name"
  mkdir -p "$dir/corpus" "$dir/findings" "$dir/logs"
  local seeds="fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp -rn "$seeds"/. "$dir/corpus"/
  : > "$dir/faults"
  local start=$SECONDS end=$((SECONDS + secs)) execs=0 cov=0 ft=0 restarts=0
  while [ $SECONDS -lt $end ] && [ $restarts -le 500 ]; do
    local left=$((end - SECONDS)) log="$dir/logs/run-$restarts.log"
    [ $left -lt 1 ] && break
    local before
    before=$(ls "$dir/findings" | sort)
    nice -n 10 "$t" -max_total_time="$left" -print_final_stats=1 -rss_limit_mb=2048 -timeout=30 \
         -artifact_prefix="$dir/findings/" "$dir/corpus" > "$log" 2>&1
    local rc=$?
    local n
    n=$(grep -m1 -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
    execs=$((execs + ${n:-0}))
    local status
    status=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
    if [ -n "$status" ]; then
      cov=$(echo "$status" | awk '{print $2}')
      ft=$(echo "$status" | awk '{print $4}')
    fi
    [ $rc -eq 0 ] && break
    restarts=$((restarts + 1))
    fault_of "$log" >> "$dir/faults"
    # Inputs that made it crash leave the corpus, so that the next start gets past them.
    local new f sum c
    new=$(comm -13 <(echo "$before") <(ls "$dir/findings" | sort))
    for f in $new; do
      sum=$(sha1sum < "$dir/findings/$f" | cut -d' ' -f1)
      for c in "$dir/corpus"/*; do
        [ "$(sha1sum < "$c" | cut -d' ' -f1)" = "$sum" ] && rm -f "$c"
      done
    done
    [ -z "$new" ] && [ $rc -ne 0 ] && [ $((end - SECONDS)) -gt 0 ] && sleep 1
  done
  local elapsed=$((SECONDS - start))
  [ $elapsed -lt 1 ] && elapsed=1
  local total=$execs
  [ -f "$dir/total_execs" ] && total=$(( $(cat "$dir/total_execs") + execs ))
  echo "$total" > "$dir/total_execs"
  local faults
  faults=$(sort -u "$dir/faults" | grep -c . || true)
  printf '%s %s %s %s %s %s %s %s\n' "$name" "$execs" "$((execs / elapsed))" "$cov" "$ft" \
         "$(ls "$dir/corpus" | wc -l)" "$faults" "$total" > "$dir/summary"
}

echo "fuzz campaign: ${#targets[@]} targets for ${secs}s each, all at once (work: $work)"
pids=()
for t in "${targets[@]}"; do
  run_target "$t" &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p"; done

printf '%-28s %14s %9s %7s %8s %7s %9s %14s\n' target executions exec/s cov ft corpus findings "all campaigns"
any=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  read -r n e r c f k x tot < "$work/$name/summary"
  printf '%-28s %14s %9s %7s %8s %7s %9s %14s\n' "$n" "$e" "$r" "$c" "$f" "$k" "$x" "$tot"
  [ "$x" -gt 0 ] && any=1
done
for t in "${targets[@]}"; do
  name=$(basename "$t")
  if [ -s "$work/$name/faults" ]; then
    echo "findings of $name (inputs in $work/$name/findings):"
    sort "$work/$name/faults" | uniq -c | sed 's/^/  /'
  fi
done
exit $any
