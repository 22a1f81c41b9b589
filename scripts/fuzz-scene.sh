#!/bin/sh
# Fuzzes the scene library for a bounded time (libFuzzer, clang-14): random
# operation sequences over layers and nodes, checked against a reference
# model after every step (tests/fuzz/scene_fuzzer.cpp).
#   scripts/fuzz-scene.sh [seconds]            (default 60)
#   scripts/fuzz-scene.sh replay FILE...       (run saved inputs once)
# The corpus is kept in build-fuzz-scene/corpus between runs; an input that
# breaks an invariant is left in build-fuzz-scene/artifacts/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VANTREL_FUZZ_SCENE_BUILD:-$root/build-fuzz-scene}
cxx=${CXX_FUZZ:-clang++-14}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz-scene: $cxx missing (apt-get install clang-14 libclang-rt-14-dev libfuzzer-14-dev)" >&2
  exit 2
fi

mkdir -p "$build/corpus" "$build/artifacts"
flags="-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# shellcheck disable=SC2086
"$cxx" -std=c++20 -O1 -g $flags -Wall -Wextra -Werror \
  -I"$root/sdk" -I"$root/tests/scene" \
  "$root"/scene/*.cpp "$root/tests/fuzz/scene_fuzzer.cpp" -o "$build/scene_fuzzer"

if [ "${1:-}" = replay ]; then
  shift
  exec "$build/scene_fuzzer" "$@"
fi

seconds=${1:-60}
# A small quarantine keeps the process small (nodes are freed only at the end
# of each input, so it still covers everything one input frees).
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16:max_free_fill_size=0}"
status=0
"$build/scene_fuzzer" "$build/corpus" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/" 2>"$build/fuzz.log" || status=$?
grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done|scene invariant|ERROR|SUMMARY" \
  "$build/fuzz.log" || true
ls "$build/artifacts" 2>/dev/null | sed 's/^/artifact: /'
exit $status
