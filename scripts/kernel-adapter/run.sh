#!/usr/bin/env bash
# Checks the Linux DVB backend against a real kernel's DVB core: builds the
# programs in a Debian 12 root, builds the kernel's virtual DVB-S/S2 adapter
# (vidtv) for that root's kernel, boots the root in qemu and runs
# check-in-vm.sh there. Needs root (debootstrap, chroot) and a few GB of
# disk; installs debootstrap, qemu and e2fsprogs on this machine if missing.
# Not part of the test suite: it takes about half an hour on two cores.
#
#   sudo scripts/kernel-adapter/run.sh [WORK_DIR]   (default /var/tmp/rx40-kernel-adapter)
#
# Steps already done in WORK_DIR (the root, the build, the module) are kept.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
work=${1:-/var/tmp/rx40-kernel-adapter}
root=$work/root
[ "$(id -u)" -eq 0 ] || { echo "run.sh: needs root" >&2; exit 2; }

missing=()
for tool in debootstrap:debootstrap qemu-system-x86_64:qemu-system-x86 debugfs:e2fsprogs; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
[ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"

mkdir -p "$work"
[ -x "$root/bin/bash" ] ||
  debootstrap --variant=minbase --include=sudo,git,ca-certificates bookworm "$root" http://deb.debian.org/debian

mounted=()
unmount() { for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done; mounted=(); }
trap unmount EXIT
for d in proc sys dev dev/pts; do
  mountpoint -q "$root/$d" || { mount --bind "/$d" "$root/$d"; mounted+=("$root/$d"); }
done
cp /etc/resolv.conf "$root/etc/"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive bash -c "$1"; }

# The programs, built in the root from this checkout's HEAD.
if [ -d "$root/src/tessel" ]; then git -C "$root/src/tessel" pull -q; else git clone -q "$repo" "$root/src/tessel"; fi
in_root 'cd /src/tessel && bash scripts/setup.sh &&
  cmake -S . -B build -G Ninja -DRX40_BUILD_TESTS=OFF -DRX40_BUILD_BENCH=OFF &&
  cmake --build build --target rx40ctl rx40-tessel'

# The root's kernel, and the virtual adapter built from its source.
in_root 'apt-get install -y -q linux-image-amd64 linux-headers-amd64 linux-source-6.1 make bc kmod initramfs-tools xz-utils >/dev/null'
kver=$(in_root 'ls /lib/modules | sort -V | tail -1')
in_root "set -e; mkdir -p /root/kernel-adapter; cd /usr/src
  [ -d linux-source-6.1/drivers/media/test-drivers/vidtv ] ||
    tar -xJf linux-source-6.1.tar.xz linux-source-6.1/drivers/media/test-drivers/vidtv
  cd linux-source-6.1/drivers/media/test-drivers/vidtv
  make -s -C /lib/modules/$kver/build M=\$PWD CONFIG_DVB_VIDTV=m modules
  cp *.ko /root/kernel-adapter/"
echo /src/tessel/build/app >"$root/root/kernel-adapter/app-dir"
install -m 755 "$here/check-in-vm.sh" "$root/root/kernel-adapter/check-in-vm.sh"
cp "$root/boot/vmlinuz-$kver" "$root/boot/initrd.img-$kver" "$work/"
unmount

# This machine may offer no usable KVM; qemu's own CPU emulation always works.
image=$work/root.img
rm -f "$image"
mke2fs -q -t ext4 -d "$root" "$image" 6G
timeout 1200 qemu-system-x86_64 -accel tcg,thread=multi -cpu max -m 2048 -smp 2 -nographic -no-reboot \
  -kernel "$work/vmlinuz-$kver" -initrd "$work/initrd.img-$kver" \
  -drive "file=$image,if=virtio,format=raw" \
  -append "root=/dev/vda rw console=ttyS0 quiet panic=5 init=/root/kernel-adapter/check-in-vm.sh" \
  >"$work/console.log" 2>&1 || true
debugfs -R "cat /root/kernel-adapter-check.log" "$image" 2>/dev/null | tee "$work/check.log"
grep -q "^RESULT: [0-9]* passed, 0 failed" "$work/check.log"
