#!/usr/bin/env bash
# The Windows window presenter's figures under Wine in one run: installs what
# is missing, builds vantrel_gdi_present_bench.exe (the i686 reference build
# where this machine runs 32-bit Wine, else the x86_64 build under wine64: the
# same choice as the Wine tests, VANTREL_WINE_ARCH=i686 or x86_64 chooses),
# starts Xvfb with a 1700x1300 screen (no virtual desktop: the presenter
# changes no display mode, and a 1600x1200 client needs the room) and a fresh
# Wine prefix, and runs the program beside the demo module's files: its
# table; its paced runs once more with the processor time Xvfb and the
# wineserver spent meanwhile, which the program's own count leaves out; and
# the demo itself, run by the host paced at 60 idle turns a second, the same
# way. Extra arguments go to the program, for instance --repetitions 3 or
# --paced-seconds 10.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

read -r arch why < <(python3 - <<'EOF'
import sys
sys.path.insert(0, "tests/wine")
import wine_harness
arch, why, error = wine_harness.choose_arch()
if error:
    sys.exit(error)
print(arch, why)
EOF
)
[ -n "${arch:-}" ] || exit 1
echo "Windows build: $arch ($why)"
if [ "$arch" = i686 ]; then
  build=build/windows
  cmake --preset windows >/dev/null
  wine=/usr/lib/wine/wine server=wineserver winearch=win32
else
  build=build/windows-x64
  # As the Wine tests configure it (tests/wine/wine_harness.py).
  if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" >/dev/null
  else
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/tests/wine/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF >/dev/null
  fi
  wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 winearch=win64
fi
cmake --build "$build" -j2 --target vantrel_gdi_present_bench vantrel_demo

# The program with the demo module and its files beside it, as players have them.
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-bench-wine.XXXXXX")
mkdir "$work/run"
for f in vantrel_gdi_present_bench.exe prog.dll tiles.bmp sprites.bmp vantrel-font.bmp drop.wav \
  swap.wav tick.wav; do
  cp "$build/$f" "$work/run/"
done
xvfb=""
cleanup() {
  WINEPREFIX="$work/prefix" "$server" -k 2>/dev/null || true
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1700x1300x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")" WINEPREFIX="$work/prefix" WINEARCH="$winearch" \
  WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$server" != wineserver ]; then export WINESERVER="$server"; fi
"$wine" wineboot -i >/dev/null 2>&1
"$server" -w
# One server for both runs, kept until the end, so its processor time can be read.
"$server" -p

# Processor seconds (user + system) a process has used.
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); print ($12 + $13) / hz }' "/proc/$1/stat"
}
# The wineserver of this prefix (the one whose environment names it).
server_pid() {
  for p in $(pgrep -u "$(id -u)" wineserver); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$p"
      return
    fi
  done
}

# Runs the program with the arguments given, then says what Xvfb and the
# wineserver spent over the run (start-up included), which the program's own
# count of its processor time leaves out.
measured() {
  local x0 w0 t0 x1 w1 t1
  x0=$(cpu_seconds "$xvfb") w0=$(cpu_seconds "$ws") t0=$(date +%s.%N)
  "$wine" ./vantrel_gdi_present_bench.exe "$@"
  x1=$(cpu_seconds "$xvfb") w1=$(cpu_seconds "$ws") t1=$(date +%s.%N)
  awk -v t="$t1" -v t0="$t0" -v x="$x1" -v x0="$x0" -v w="$w1" -v w0="$w0" 'BEGIN {
    s = t - t0
    printf "  beside it over the %.1f s run: Xvfb %.1f%%, wineserver %.1f%% of one core\n",
      s, 100 * (x - x0) / s, 100 * (w - w0) / s }'
}

ws=$(server_pid)
[ -n "$ws" ] || { echo "the prefix's wineserver is not found" >&2; exit 1; }
cd "$work/run"
echo "load before: $(uptime)"
"$wine" ./vantrel_gdi_present_bench.exe "$@"
echo "the paced runs again:"
measured --paced-only "$@"
echo "the demo module, the host paced at 60 idle turns a second (--fps-cap 60):"
measured --demo "$@"
echo "load after: $(uptime)"
