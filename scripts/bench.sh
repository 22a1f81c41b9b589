#!/usr/bin/env bash
# Speed figures in one run: installs what is missing, builds the optimised
# bench preset, runs vantrel_bench once (five repetitions of each figure, JSON
# output) and prints the comparison table (bench/compare.py). Extra arguments
# go to the benchmark program, for instance --benchmark_filter=keyed_copy.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target vantrel_bench vantrel_replay_bench vantrel_sound_bench
out=build/bench/bench.json
echo "load before: $(uptime)"
build/bench/bench/vantrel_bench --benchmark_repetitions=5 --benchmark_min_time=0.1 \
  --benchmark_report_aggregates_only=true --benchmark_out="$out" \
  --benchmark_out_format=json "$@" >/dev/null
python3 bench/compare.py "$out"
echo "all figures: $out"
echo "replay runner (the demo's regression script without PNG output; one 640x480 PNG):"
build/bench/bench/vantrel_replay_bench --benchmark_min_time=1
echo "sound start latency (SDL2_mixer through SDL's disk driver, which paces like a device):"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null build/bench/bench/vantrel_sound_bench 2>/dev/null
