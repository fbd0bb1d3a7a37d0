#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

packages=(
  # the build (qt6-base-dev brings the OpenGL headers Qt's CMake files look for)
  g++ cmake ninja-build pkg-config
  qt6-base-dev libudev-dev
  # the tests: GoogleTest and the leak checks
  libgtest-dev valgrind
  # the sanitizer builds and the fuzzers (clang's runtimes and libFuzzer)
  clang libclang-rt-14-dev
  # the dialog font and the banner's font
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
