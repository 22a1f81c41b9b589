#!/usr/bin/env bash
# Installs the Debian packages the project needs (idempotent). Run as root or
# with sudo available.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_i386=1
fi
PKGS=(g++ cmake make git clang-format libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev libsdl2-mixer-dev libstb-dev zlib1g-dev
      g++-mingw-w64-i686 xvfb xfonts-base xdotool x11-utils imagemagick zip
      dpkg-dev file pkg-config
      wine wine32:i386 wine64 g++-mingw-w64-x86-64 clang-14 libclang-rt-14-dev libfuzzer-14-dev python3
      emscripten chromium chromium-driver)
missing=()
for p in "${PKGS[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $need_i386 = 1 ]; then
  $SUDO apt-get update
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi
