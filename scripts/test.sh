#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the Windows preset and
# the sanitized test preset, and runs every test (unit, desktop and wine).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset windows
cmake --build --preset windows
cmake --preset test
cmake --build --preset test
ctest --preset test "$@"
