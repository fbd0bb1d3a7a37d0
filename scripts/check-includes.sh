#!/usr/bin/env bash
# Keeps the layers pointing down. The platform stand-ins (platform/) know
# nothing of the system above them, and the filter and pin framework
# (recording/framework/) nothing of the recording, tuner, positioner or
# programs built on it:
#
#   platform/            may not include app/, cli/, tuner/, positioner/,
#                        nor recording/ outside recording/framework/
#   recording/framework/ may not include app/, cli/, tuner/, positioner/,
#                        nor recording/ outside recording/framework/
#
# Usage: check-includes.sh [SOURCE_ROOT]   (default: the script's checkout)
# Prints every offending include as FILE:LINE: the include and the rule it
# breaks, and exits 1; prints "ok" and exits 0 when there are none.
set -uo pipefail
set -f  # include paths are split on '/', never globbed

if [[ $0 == */* ]]; then here=${0%/*}; else here=.; fi
root=${1:-"$here/.."}
cd "$root" || { echo "check-includes: no source tree at $root" >&2; exit 2; }

# Resolves "." and ".." in a path relative to the source root, so that
# "../../tuner/x.h" from platform/media/ counts as tuner/x.h. Sets $path.
normalise() {
  local IFS=/ part out=()
  for part in $1; do
    case $part in
      '' | .) ;;
      ..) ((${#out[@]})) && unset 'out[${#out[@]}-1]' ;;
      *) out+=("$part") ;;
    esac
  done
  path="${out[*]}"
}

# The rule an include of target from file breaks, or nothing. Sets $rule.
broken_rule() {
  local file=$1 target=$2 layer
  rule=
  case $file in
    recording/framework/*) layer=recording/framework ;;
    platform/*) layer=platform ;;
    *) return ;;
  esac
  case $target in
    recording/framework/*) ;;
    app/* | cli/* | tuner/* | positioner/*) rule="$layer/ may not include from ${target%%/*}/" ;;
    recording/*) rule="$layer/ may not include from recording/ outside recording/framework/" ;;
  esac
}

dirs=()
for dir in platform recording/framework; do [[ -d $dir ]] && dirs+=("$dir"); done
((${#dirs[@]})) || { echo "check-includes: neither platform/ nor recording/framework/ under $root" >&2; exit 2; }

failures=0
# Lines of FILE:LINE:PATH, one for each #include "PATH" or <PATH>.
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  written=${rest#*:}
  target=$written
  # A relative include is found next to the including file first.
  if [[ $written == ./* || $written == ../* ]]; then target=${file%/*}/$written; fi
  if [[ $target == *./* ]]; then
    normalise "$target"
    target=$path
  fi
  broken_rule "$file" "$target"
  if [[ -n $rule ]]; then
    echo "$file:$line: #include \"$written\": $rule"
    failures=$((failures + 1))
  fi
done < <(find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.c' \
           -o -name '*.inl' \) -exec grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^>"]+[>"]' {} + |
         sed -E 's/^([^:]+:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1:\2/')

if ((failures)); then
  echo "check-includes: $failures include(s) point up a layer" >&2
  exit 1
fi
echo "ok"
