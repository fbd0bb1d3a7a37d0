#!/usr/bin/env bash
# The include check against small trees: every rule it keeps caught with its
# file and line, the includes it allows let through, and a clean tree "ok".
set -uo pipefail

check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failed=0

put() {  # FILE LINE...
  local file=$1
  shift
  mkdir -p "$tree/${file%/*}"
  printf '%s\n' "$@" >"$tree/$file"
}
expect_eq() {  # WHAT EXPECTED ACTUAL
  if [[ $2 != "$3" ]]; then
    printf 'FAIL: %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    failed=1
  fi
}

# Allowed: the platform's own headers, the framework, system headers, a
# commented-out include, and anything from the layers that are not checked.
put platform/media/graph.h '#pragma once' '#include <vector>' '#include "platform/com/unknown.h"' \
    '#include "recording/framework/base_pin.h"' '// #include "app/application.h"'
put recording/framework/base_pin.h '#include "platform/media/media_interfaces.h"' \
    '#include "recording/framework/media_type.h"' '#include "./unknown_base.h"'
put recording/dest_filter.h '#include "tuner/tuner_context.h"' '#include "recording/recording_state.h"'
put tuner/tuner_context.h '#include "app/application.h"'
put app/main.cpp '#include "cli/cli.h"'

out=$(bash "$check" "$tree")
expect_eq "a clean tree exits 0" 0 "$?"
expect_eq "a clean tree says ok" ok "$out"

# Each rule broken once, in the forms an include is written.
put platform/sim/card.cpp '#include "platform/sim/card.h"' '' '#include "tuner/tuner_context.h"'
put platform/linuxdvb/dvr.cpp '#include "recording/dest_filter.h"'
put platform/ui/box.cpp '  #  include <app/application.h>' '#include "cli/rx40ctl.h"'
put platform/media/tee.cpp '#include "../../positioner/usals.h"'
put recording/framework/base_filter.cpp '#include "recording/recording_state.h"' '#include "../capture_progress.h"'
put recording/framework/enum_pins.cpp '#include "tuner/tuner_context.h"' '#include "positioner/diseqc.h"' \
    '#include "app/application.h"' '#include "recording/framework/../dest_filter.h"'

out=$(bash "$check" "$tree" 2>/dev/null)
expect_eq "a broken tree exits 1" 1 "$?"
expected='platform/linuxdvb/dvr.cpp:1: #include "recording/dest_filter.h": platform/ may not include from recording/ outside recording/framework/
platform/media/tee.cpp:1: #include "../../positioner/usals.h": platform/ may not include from positioner/
platform/sim/card.cpp:3: #include "tuner/tuner_context.h": platform/ may not include from tuner/
platform/ui/box.cpp:1: #include "app/application.h": platform/ may not include from app/
platform/ui/box.cpp:2: #include "cli/rx40ctl.h": platform/ may not include from cli/
recording/framework/base_filter.cpp:1: #include "recording/recording_state.h": recording/framework/ may not include from recording/ outside recording/framework/
recording/framework/base_filter.cpp:2: #include "../capture_progress.h": recording/framework/ may not include from recording/ outside recording/framework/
recording/framework/enum_pins.cpp:1: #include "tuner/tuner_context.h": recording/framework/ may not include from tuner/
recording/framework/enum_pins.cpp:2: #include "positioner/diseqc.h": recording/framework/ may not include from positioner/
recording/framework/enum_pins.cpp:3: #include "app/application.h": recording/framework/ may not include from app/
recording/framework/enum_pins.cpp:4: #include "recording/framework/../dest_filter.h": recording/framework/ may not include from recording/ outside recording/framework/'
# The order of the files is the file system's; the lines of one file keep theirs.
expect_eq "every broken include, named with its file and line and rule" "$expected" "$(LC_ALL=C sort -t: -k1,1 -k2,2n <<<"$out")"
expect_eq "said on stderr how many" "check-includes: 11 include(s) point up a layer" \
    "$(bash "$check" "$tree" 2>&1 >/dev/null)"

expect_eq "no tree: exit 2" 2 "$(bash "$check" "$tree/none" >/dev/null 2>&1; echo $?)"

exit $failed
