#!/usr/bin/env bash
# Runs the demo: installs what is missing, builds the desktop host and the
# demo module (native preset), and starts build/native/vantrel, which finds
# the demo's prog.dll and bitmaps next to itself. Escape quits.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset native
cmake --build --preset native
host=build/native/vantrel
if [ ! -f build/native/prog.dll ]; then
  echo "run-demo: the demo module was not built next to $host" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-demo: no graphical session (DISPLAY is not set); run this from a desktop" >&2
  exit 1
fi
exec "$host"
