#!/bin/sh
# Fuzzes the replay script reader for a bounded time (libFuzzer, clang-14):
# any bytes read as a script or as one error with a line number, and a
# script read, written back and read again gives the same calls
# (tests/fuzz/script_fuzzer.cpp). The corpus starts from the demo's session,
# the example's script and tests/fuzz/script-seeds.
#   scripts/fuzz-script.sh [seconds]            (default 60)
#   scripts/fuzz-script.sh replay FILE...       (run saved inputs once)
# The corpus is kept in build-fuzz-script/corpus between runs; an input that
# breaks an invariant is left in build-fuzz-script/artifacts/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VANTREL_FUZZ_SCRIPT_BUILD:-$root/build-fuzz-script}
cxx=${CXX_FUZZ:-clang++-14}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz-script: $cxx missing (apt-get install clang-14 libclang-rt-14-dev libfuzzer-14-dev)" >&2
  exit 2
fi

mkdir -p "$build/corpus" "$build/artifacts"
flags="-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# shellcheck disable=SC2086
"$cxx" -std=c++20 -O1 -g $flags -Wall -Wextra -Werror -I"$root" \
  "$root/capture/script_reader.cpp" "$root/capture/script_writer.cpp" "$root/capture/key_names.cpp" \
  "$root/tests/fuzz/script_fuzzer.cpp" -o "$build/script_fuzzer"

if [ "${1:-}" = replay ]; then
  shift
  exec "$build/script_fuzzer" "$@"
fi

seconds=${1:-60}
# The shipped scripts join the seeds (their folders hold goldens too).
mkdir -p "$build/seeds"
cp "$root/modules/demo/replay/session.script" "$root/examples/hello-module/replay/hello.replay" \
  "$root"/tests/fuzz/script-seeds/* "$build/seeds/"
status=0
"$build/script_fuzzer" "$build/corpus" "$build/seeds" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" 2>"$build/fuzz.log" || status=$?
grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done|script invariant|ERROR|SUMMARY" \
  "$build/fuzz.log" || true
ls "$build/artifacts" 2>/dev/null | sed 's/^/artifact: /'
exit $status
