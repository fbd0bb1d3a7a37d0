#!/bin/bash
# Runs as init inside the virtual machine: loads the kernel's virtual DVB
# adapter, drives it with the built rx40ctl and rx40-tessel, writes each
# check's outcome to /root/kernel-adapter-check.log and powers off.
exec > /root/kernel-adapter-check.log 2>&1
mount -t proc proc /proc
mount -t tmpfs tmp /tmp
mkdir -p /dev/pts && mount -t devpts devpts /dev/pts
echo "kernel: $(uname -r)"

passed=0
failed=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    echo "PASS: $name"
    passed=$((passed + 1))
  else
    echo "FAIL: $name"
    failed=$((failed + 1))
  fi
}

# Carriers at 11362 MHz (low band) and 12188 MHz (high band), as downlink
# frequencies; the module turns them into the IFs of a 9750/10600 MHz LNB.
modprobe dvb-core
insmod /root/kernel-adapter/dvb-vidtv-tuner.ko
insmod /root/kernel-adapter/dvb-vidtv-demod.ko
insmod /root/kernel-adapter/dvb-vidtv-bridge.ko vidtv_valid_dvb_s_freqs=11362000,12188000
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -e /dev/dvb/adapter0/dvr0 ] && break; sleep 1; done
ls -l /dev/dvb/adapter0

cd "$(cat /root/kernel-adapter/app-dir)" || exit 1
ctl() { ./rx40ctl --adapter 0 "$@"; }
lnb=(--lnb-low 9750 --lnb-high 10600)

# ended STATUS WANTED OUTPUT PATTERN...: the command ended with WANTED and
# its output holds every pattern.
ended() {
  local status=$1 wanted=$2 output=$3
  shift 3
  [ "$status" -eq "$wanted" ] || return 1
  for pattern; do grep -q -- "$pattern" <<<"$output" || return 1; done
}

# all_synced FILE: a non-empty file of whole 188-byte packets, each starting with 0x47.
all_synced() {
  local size
  size=$(stat -c %s "$1") || return 1
  [ "$size" -gt 0 ] && [ $((size % 188)) -eq 0 ] &&
    [ "$(od -An -v -tx1 -w188 "$1" | awk '{print $1}' | sort -u)" = 47 ]
}

out=$(ctl info 2>&1); rc=$?; echo "$out"
check "info names the virtual adapter and its capabilities" \
  ended $rc 0 "$out" "(this card)" "delivery systems: .*DVB-S, DVB-S2" "capabilities: .*modulation auto" \
  "statistics: strength dB"

out=$(ctl --verbose tune 11362 22000 --pol H "${lnb[@]}" 2>&1); rc=$?; echo "$out"
check "low-band carrier locks as DVB-S2 at IF 1612000 kHz with 18 V and the tone off" \
  ended $rc 0 "$out" "SEC: 18 V, 15 ms, tone off" "tuned IF 1612000 kHz, 22000000 S/s, DVB-S2 auto FEC auto" "LOCKED"

out=$(ctl --verbose --json tune 12188 27500 --pol V "${lnb[@]}" 2>&1); rc=$?; echo "$out"
check "high-band carrier locks at IF 1588000 kHz with 13 V and the tone on" \
  ended $rc 0 "$out" "SEC: 13 V, 15 ms, tone on" "IF 1588000 kHz" '"locked":true'

out=$(ctl --verbose tune 11362 22000 --pol H "${lnb[@]}" --diseqc B 2>&1); rc=$?; echo "$out"
check "the switch message goes out at the voltage of the polarisation it selects" \
  ended $rc 0 "$out" "SEC: 18 V, tone off, 15 ms, DiSEqC E0 10 38 F6, 15 ms" "LOCKED"

out=$(ctl diseqc E0 31 2>&1); rc=$?; echo "$out"
check "a two-byte message is refused with the reason" ended $rc 1 "$out" "the kernel carries 3 to 6 bytes" 

out=$(ctl --json tune 11100 22000 --pol V "${lnb[@]}" 2>&1); rc=$?; echo "$out"
check "an empty frequency does not lock (exit 1)" ended $rc 1 "$out" '"locked":false' 

ctl tune 11362 22000 --pol H "${lnb[@]}"
out=$(timeout -s INT 4 ./rx40ctl --adapter 0 status --watch --interval 1 2>&1); rc=$?; echo "$out"
check "readings show lock, strength, quality and the derived MATYPE" \
  ended $rc 124 "$out" "LOCKED strength [0-9]* quality [0-9]* .*MATYPE: .* (derived)"

ctl record /tmp/limit.ts --seconds 5 11362 22000 --pol H "${lnb[@]}"; rc=$?
check "a 5 s recording ends at its limit" [ $rc -eq 0 ]
check "the recording is whole transport stream packets" all_synced /tmp/limit.ts

timeout -s INT 3 ./rx40ctl --adapter 0 record /tmp/stopped.ts --seconds 60 11362 22000 --pol H "${lnb[@]}"
check "Ctrl-C keeps what was recorded, in whole packets" all_synced /tmp/stopped.ts

out=$(ctl --verbose diseqc E0 31 6B 05 2>&1); rc=$?; echo "$out"
check "a DiSEqC message goes out between the pauses" ended $rc 0 "$out" "tone off, 15 ms, DiSEqC E0 31 6B 05, 15 ms"
ctl motor goto 5
check "a positioner command is sent" [ $? -eq 0 ]

out=$(ctl tune 11362 22000 --pol H "${lnb[@]}" --stream gs 2>&1); rc=$?; echo "$out"
check "a generic stream is refused" ended $rc 1 "$out" "STREAMTYPE_PARAMS error"

./rx40ctl --adapter 1 status; rc=$?
check "a missing adapter is refused (exit 1)" [ $rc -eq 1 ]

QT_QPA_PLATFORM=offscreen ./rx40-tessel --adapter 0 &
window=$!
sleep 4
out=$(ctl status 2>&1); rc=$?; echo "$out"
check "a second program is told who holds the adapter" ended $rc 1 "$out" "in use by another program: rx40-tessel"
kill -TERM $window
wait $window
check "the window on the adapter ends on SIGTERM with status 0" [ $? -eq 0 ]

echo "RESULT: $passed passed, $failed failed"
sync
echo o >/proc/sysrq-trigger
sleep 10
