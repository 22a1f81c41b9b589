#!/bin/sh
# Fuzzes the bitmap file reader for a bounded time (libFuzzer, clang-14).
#   scripts/fuzz-bitmaps.sh [seconds]     (default 180)
# Seeds: the BMP Suite corpus and the regression files. A crash leaves its
# input in build-fuzz/artifacts/; copy it to tests/data/regress/ once fixed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-180}
build=${VANTREL_FUZZ_BUILD:-$root/build-fuzz}

if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "fuzz-bitmaps: clang++-14 missing (apt-get install clang-14 libclang-rt-14-dev libfuzzer-14-dev)" >&2
  exit 2
fi

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j2

corpus="$build/corpus"
mkdir -p "$corpus" "$build/artifacts"
for f in "$root"/tests/data/bmpsuite/*/*.bmp "$root"/tests/data/regress/*.bmp; do
  [ -f "$f" ] && cp -f "$f" "$corpus/seed-$(basename "$(dirname "$f")")-$(basename "$f")"
done
chmod -R u+w "$corpus"

# A small quarantine and no fill of freed memory keep AddressSanitizer from
# touching fresh pages on every input (three times the executions here).
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=8:max_free_fill_size=0}"
status=0
"$build/bitmap_fuzzer" "$corpus" -max_total_time="$seconds" -max_len=70000 \
  -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/" 2>"$build/fuzz.log" || status=$?
grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done|ERROR|SUMMARY" "$build/fuzz.log" || true
ls "$build/artifacts" 2>/dev/null | sed 's/^/artifact: /'
exit $status
