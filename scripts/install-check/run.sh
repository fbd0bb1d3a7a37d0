#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 root, as a new user's
# machine has it, and checks it from the installed paths: apt pulls the
# dependencies, rx40ctl tunes the simulated card, a verified dish move uses
# the shipped satellite files, the settings land in the user's XDG config
# folder, and the window starts (offscreen). Needs root (debootstrap, chroot)
# and the network; installs debootstrap on this machine if missing. Not part
# of the test suite: the first run fetches a Debian root (a few minutes).
#
#   sudo scripts/install-check/run.sh [DEB] [WORK_DIR]
#     DEB       default: build it with ./tessel package
#     WORK_DIR  default /var/tmp/rx40-install-check (the pristine root is kept there)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
deb=${1:-}
work=${2:-/var/tmp/rx40-install-check}
[ "$(id -u)" -eq 0 ] || { echo "run.sh: needs root" >&2; exit 2; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap

if [ -z "$deb" ]; then
  (cd "$repo" && ./tessel package --no-setup)
  deb=$(ls "$repo"/build-package/rx40-tessel_*.deb)
fi
[ -f "$deb" ] || { echo "run.sh: no package $deb" >&2; exit 2; }

mkdir -p "$work"
pristine=$work/bookworm-minbase.tar
if [ ! -f "$pristine" ]; then
  rm -rf "$work/fetch"
  debootstrap --variant=minbase bookworm "$work/fetch" http://deb.debian.org/debian
  tar -C "$work/fetch" -cf "$pristine" .
  rm -rf "$work/fetch"
fi
root=$work/root
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$pristine"

mounted=()
unmount() { for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done; mounted=(); }
trap unmount EXIT
for d in proc sys dev dev/pts; do mount --bind "/$d" "$root/$d"; mounted+=("$root/$d"); done
cp /etc/resolv.conf "$root/etc/"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive bash -c "$1"; }
as_user() { chroot "$root" env -i PATH=/usr/bin:/bin HOME=/home/viewer USER=viewer su viewer -s /bin/bash -c "$1"; }

failures=0
check() {  # check NAME COMMAND...: runs it, PASS or FAIL
  local name=$1
  shift
  if "$@" >"$work/last.log" 2>&1; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    sed 's/^/    /' "$work/last.log"
    failures=$((failures + 1))
  fi
}

check "apt installs the package and its dependencies" \
  in_root "apt-get update -q && apt-get install -y -q /tmp/$(basename "$deb")"
check "a user in the video group" in_root "useradd -m -G video viewer"
check "the programs are on the PATH" as_user "command -v rx40-tessel && command -v rx40ctl"
check "the shipped lists are in /usr/share/rx40-tessel" \
  in_root "test -s /usr/share/rx40-tessel/CityList.txt && test -s /usr/share/rx40-tessel/Transponders/0192.ini"
check "rx40ctl --simulate status locks" \
  as_user "rx40ctl --simulate status 11362 22000 --pol H --lnb-low 9750 --lnb-high 10600 | tee /dev/stderr | grep -q '^LOCKED strength'"
check "the settings go to ~/.config/rx40-tessel" \
  as_user "test -s ~/.config/rx40-tessel/Orvane-TScap.ini && test \$(stat -c %a ~/.config/rx40-tessel) = 700"
check "a verified move reads the shipped satellite files" \
  as_user "rx40ctl --simulate usals --sat 0160 --lat 50 --lon 8 --verify | tee /dev/stderr | grep -q '^Arrived: LOCKED'"
check "the window starts offscreen and keeps running" \
  as_user "QT_QPA_PLATFORM=offscreen timeout 8 rx40-tessel --simulate 2>/tmp/window.err; test \$? -eq 124 || { cat /tmp/window.err; exit 1; }"
check "the desktop entry, icon, metainfo, man pages and completion are installed" \
  in_root "test -f /usr/share/applications/org.orvane.rx40tessel.desktop &&
           test -f /usr/share/icons/hicolor/scalable/apps/rx40-tessel.svg &&
           test -f /usr/share/metainfo/org.orvane.rx40tessel.metainfo.xml &&
           test -f /usr/share/man/man1/rx40ctl.1.gz && test -f /usr/share/bash-completion/completions/rx40ctl"
check "apt removes it cleanly" in_root "apt-get remove -y -q rx40-tessel && ! test -e /usr/bin/rx40ctl"

[ $failures -eq 0 ] && echo "install check: all passed" || { echo "install check: $failures failed"; exit 1; }
