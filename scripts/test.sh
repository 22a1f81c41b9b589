#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the Windows preset,
# the optimised native preset (what users run; the desktop end-to-end demo
# case runs against it as well) and the sanitized test preset, and runs every
# test (unit, desktop and wine).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset windows
cmake --build --preset windows
cmake --preset native
cmake --build --preset native
cmake --preset test
cmake --build --preset test
ctest --preset test "$@"
