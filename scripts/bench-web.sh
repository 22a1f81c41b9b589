#!/usr/bin/env bash
# The web build's figures in one run: installs what is missing, builds the
# native benchmarks (bench preset), the reference scene's render pass in
# WebAssembly (build/web-bench) and the demo's page (web preset), then prints
# the render pass in WebAssembly against native, the demo's frame rate and
# frame time in headless Chromium, and the page's sizes compressed with gzip
# (bench/web/web_figures.py). Extra arguments go to that script, for instance
# --seconds 30.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export NODE_PATH=/usr/share/nodejs
cmake --preset bench >/dev/null
cmake --build --preset bench --target vantrel_bench
cmake --preset web >/dev/null
cmake --build --preset web --target demo
cmake --preset web -B build/web-bench -DVANTREL_BENCH=ON -DVANTREL_WEB_TEST_PAGES=OFF >/dev/null
cmake --build build/web-bench -j2 --target vantrel_render_pass_wasm
echo "load before: $(uptime)"
python3 bench/web/web_figures.py --native-bench build/bench/bench/vantrel_bench \
  --wasm-bench build/web-bench/bench/web/vantrel_render_pass_wasm.js --demo build/web/demo "$@"
