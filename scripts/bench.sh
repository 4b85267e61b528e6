#!/usr/bin/env bash
# Builds the release preset, runs every benchmark executable (build/release/bin/bench_*) and the
# end-to-end conversion benchmark (bench/e2e_bench.py: open-part command -> DXF in kestrix-host,
# and ezdxf reading that DXF; drawings of many figures, each made a named block), and prints one
# table of the ratios the speed and memory goals name (bench/ratio_table.py; one row a goal).
#
#   scripts/bench.sh [--max-size N] [--no-build] [--filter REGEX] [--keep DIR]
#
# --max-size N   the largest size any benchmark runs: benchmarks whose numeric arguments exceed N
#                are left out, and the end-to-end sizes stop at N (default 1000000; with 100000
#                the whole run takes a few minutes less)
# --no-build     use the release build as it is
# --filter REGEX only the benchmark executables whose name matches (e.g. 'e2e|metaTreeReader')
# --keep DIR     keep the JSON results in DIR (default: a temporary folder, removed at the end)
set -euo pipefail
cd "$(dirname "$0")/.."
max=1000000 build=1 filter="" keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --max-size) max=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    --filter) filter=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--max-size N] [--no-build] [--filter REGEX] [--keep DIR]" >&2
       exit 2 ;;
  esac
done
case "$max" in ''|*[!0-9]*) echo "bench.sh: --max-size takes a number" >&2; exit 2 ;; esac

if [ "$build" = 1 ]; then
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)"
fi
bin=build/release/bin
if [ -n "$keep" ]; then
  out=$keep
  mkdir -p "$out"
else
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi

# The benchmarks of an executable whose numeric arguments (".../1000/64") all lie within the
# size limit, as an anchored filter; empty when none does.
within_limit() {
  "$1" --benchmark_list_tests=true | /usr/bin/python3 -c '
import re, sys
limit = int(sys.argv[1])
names = [l.strip() for l in sys.stdin if l.strip()]
keep = [n for n in names
        if all(int(a) <= limit for a in re.findall(r"(?<=/)\d+(?=/|$)", n))]
print("^(" + "|".join(re.escape(n) for n in keep) + ")$" if keep else "")
' "$max"
}

for exe in "$bin"/bench_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  if [ -n "$filter" ] && ! [[ "$name" =~ $filter ]]; then continue; fi
  only=$(within_limit "$exe")
  if [ -z "$only" ]; then continue; fi
  echo "bench.sh: $name" >&2
  "$exe" --benchmark_format=json --benchmark_filter="$only" > "$out/$name.json"
done

if [ -z "$filter" ] || [[ e2e =~ $filter ]]; then
  sizes=""
  for n in 1000 10000 100000 1000000; do
    if [ "$n" -le "$max" ]; then sizes="$sizes${sizes:+,}$n"; fi
  done
  hatch_sizes=""
  for n in 10000 100000; do
    if [ "$n" -le "$max" ]; then hatch_sizes="$hatch_sizes${hatch_sizes:+,}$n"; fi
  done
  figure_sizes=""
  for n in 1000 10000; do
    if [ "$n" -le "$max" ]; then figure_sizes="$figure_sizes${figure_sizes:+,}$n"; fi
  done
  one_name_sizes=""
  if [ 1000 -le "$max" ]; then one_name_sizes=1000; fi
  if [ -n "$sizes" ]; then
    echo "bench.sh: end to end, sizes $sizes, hatches over ${hatch_sizes:-no} lines," \
      "drawings of ${figure_sizes:-no} figures" >&2
    /usr/bin/python3 bench/e2e_bench.py --bin "$bin" --sample examples --sizes "$sizes" \
      --ezdxf 100000 --hatch-sizes "$hatch_sizes" --figure-sizes "$figure_sizes" \
      --one-name-sizes "$one_name_sizes" --out "$out/e2e.json"
  fi
fi

/usr/bin/python3 bench/ratio_table.py "$out"/*.json
