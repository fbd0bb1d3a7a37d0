#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Safe to run again: apt-get only installs what is missing.
set -euo pipefail

packages=(
  # the build (qt6-base-dev brings the OpenGL headers Qt's CMake files look for;
  # linux-libc-dev the DVB API headers, libdvbv5-dev the adapter lookup)
  g++ cmake ninja-build pkg-config
  qt6-base-dev libudev-dev linux-libc-dev libdvbv5-dev
  # rx40ctl monitor's HTTP server
  libcpp-httplib-dev
  # the alignment window's tone (Qt Multimedia's audio output)
  qt6-multimedia-dev
  # the tests: GoogleTest, the leak checks, and ffmpeg to decode the simulated stream
  libgtest-dev valgrind ffmpeg
  # the sanitizer builds and the fuzzers (clang's runtimes and libFuzzer, and
  # llvm-symbolizer, which puts function names and lines into their reports)
  clang libclang-rt-14-dev llvm
  # the package (dpkg-shlibdeps works out its dependencies) and the checks of
  # the install metadata: the desktop entry, the AppStream file, the man pages
  dpkg-dev lintian desktop-file-utils appstream man-db groff-base
  # the dialog font and the banner's font
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  # the checks of deploy/: promtool (Prometheus configuration, alert rules and
  # their tests, the exporter's /metrics) and systemd-analyze (the unit)
  prometheus systemd
  # the dashboard's structural check
  python3
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
