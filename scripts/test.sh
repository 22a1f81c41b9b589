#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the Windows preset,
# the optimised native preset (what users run; the desktop end-to-end demo
# case runs against it as well), the bench preset, the web preset (the pages
# the web cases open in headless Chromium) and the sanitized test preset, and
# runs every test (unit, desktop, wine and web).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset windows
cmake --build --preset windows
cmake --preset native
cmake --build --preset native
# The benchmarks' optimised build, whole: -O3 finds warnings the others miss.
cmake --preset bench
cmake --build --preset bench
cmake --preset web
cmake --build --preset web
cmake --preset test
cmake --build --preset test
ctest --preset test "$@"
