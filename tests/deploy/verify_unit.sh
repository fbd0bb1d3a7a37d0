#!/usr/bin/env bash
# systemd-analyze's checks of the exporter's template unit, offline: no
# running systemd is needed. verify insists that ExecStart's program exists,
# so a copy runs the rx40ctl of this build in place of /usr/bin/rx40ctl.
#
# usage: verify_unit.sh UNIT_FILE RX40CTL CONF_EXAMPLE
set -euo pipefail
unit=$1 rx40ctl=$(realpath "$2") conf=$3
name=$(basename "$unit")            # rx40ctl-monitor@.service
instance=${name/@./@0.}             # rx40ctl-monitor@0.service
# The exposure systemd-analyze security allows, in tenths: what the unit has
# (1.7), so that any loosening of the sandbox fails until it is argued for.
max_exposure=17

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

grep -q '^ExecStart=/usr/bin/rx40ctl ' "$unit" || fail "ExecStart does not run /usr/bin/rx40ctl, the packaged program"
# An exporter reachable over the network never runs as root.
grep -Eq '^(DynamicUser=yes|User=[a-z_][a-z0-9_-]*)$' "$unit" && ! grep -Eq '^User=(root|0)$' "$unit" ||
  fail "the unit does not run as an unprivileged user"
# ... and still reaches /dev/dvb: the video group owns it on Debian, and the
# device ACL and a private /dev would shut it out without an error here.
if grep -q '^DynamicUser=yes$' "$unit"; then
  grep -Eq '^SupplementaryGroups=(.* )?video( .*)?$' "$unit" || fail "the dynamic user is not in the video group"
fi
grep -Eq '^DeviceAllow=char-DVB rw$' "$unit" || fail "DeviceAllow does not let the DVB devices be opened for reading and writing"
! grep -Eq '^PrivateDevices=(yes|true|on|1)$' "$unit" || fail "PrivateDevices= hides /dev/dvb"
sed "s|^ExecStart=/usr/bin/rx40ctl |ExecStart=$rx40ctl |" "$unit" > "$work/$name"

# verify exits 0 on a misspelt key or a bad value ("ignoring"), so any output
# is a failure. --man=no: the man page is only there once the package is.
check() {
  (cd "$work" && systemd-analyze verify --man=no "$work/$instance" 2>&1) || echo "(exit status $?)"
}
out=$(check)
[ -z "$out" ] || fail "systemd-analyze verify $instance:"$'\n'"$out"
echo "verify $instance: clean"

# Silence above means something only if this systemd-analyze reports faults
# here without a running systemd: a copy with two must be reported.
sed -i 's/^ProtectHome=/ProtectHomee=/; s/^DeviceAllow=char-DVB rw$/DeviceAllow=char-DVB rwz/' "$work/$name"
out=$(check)
grep -q "ProtectHomee" <<<"$out" || fail "a misspelt key went unreported: $out"
grep -q "rwz" <<<"$out" || fail "a bad DeviceAllow went unreported: $out"
sed "s|^ExecStart=/usr/bin/rx40ctl |ExecStart=$rx40ctl |" "$unit" > "$work/$name"

# The sandbox stays as tight as it is now; loosening it fails here.
(cd "$work" && systemd-analyze security --offline=true --threshold=$max_exposure --no-pager "$work/$instance") \
  > "$work/security.txt" 2>&1 || { cat "$work/security.txt"; fail "exposure above $max_exposure/10"; }
tail -n 1 "$work/security.txt"

# Every variable the example instance file sets is one the unit passes on.
for var in $(sed -n 's/^#\?\(RX40_[A-Z_]*\)=.*/\1/p' "$conf"); do
  grep -q "^Environment=$var=" "$unit" || fail "$conf sets $var, which $name does not use"
  grep -q "^ExecStart=.*\\\$[{]\?$var\b" "$unit" || fail "$name does not pass \$$var to rx40ctl"
done
echo "PASS"
