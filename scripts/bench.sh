#!/bin/sh
# Builds the benchmark preset, runs vantrel_bench once with JSON output and
# prints the comparison table. Extra arguments go to the benchmark program
# (for instance --benchmark_filter=keyed_copy).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
cmake --preset bench -S "$root" >/dev/null
cmake --build "$build" -j2 --target vantrel_bench
out="$build/bench.json"
echo "load: $(uptime)"
"$build/bench/vantrel_bench" --benchmark_repetitions=5 --benchmark_min_time=0.1 \
  --benchmark_report_aggregates_only=true --benchmark_out="$out" \
  --benchmark_out_format=json "$@" >/dev/null
python3 "$root/bench/compare.py" "$out"
echo "full figures: $out"
