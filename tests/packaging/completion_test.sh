#!/bin/bash
# The bash completion of rx40ctl, called as bash calls it: COMP_WORDS and
# COMP_CWORD set for a command line typed so far, then _rx40ctl. Each case
# names words that must be offered and words that must not.
# usage: completion_test.sh COMPLETION_FILE
set -u
source "$1" || exit 1

folder=$(mktemp -d) || exit 1
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir Transponders
touch 0192.ini 0130.INI notes.txt Transponders/0235.ini

failures=0

# check "LINE" "OFFERED..." "NOT OFFERED...": LINE is split at blanks, and a
# trailing blank starts an empty word.
check() {
    local line=$1 want=$2 refuse=$3 word
    read -r -a COMP_WORDS <<< "$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _rx40ctl 2>/dev/null
    local offered=" ${COMPREPLY[*]} "
    for word in $want; do
        [[ $offered == *" $word "* ]] || { echo "'$line': '$word' not offered (got:$offered)"; ((failures++)); }
    done
    for word in $refuse; do
        [[ $offered == *" $word "* ]] && { echo "'$line': '$word' offered (got:$offered)"; ((failures++)); }
    done
}

# Commands.
check "rx40ctl " "tune status record diseqc motor usals info scan align" ""
check "rx40ctl --simulate s" "status scan" "tune align"

# scan SATFILE: satellite files and folders, then the tune options.
check "rx40ctl scan " "0192.ini 0130.INI Transponders" "notes.txt"
check "rx40ctl --simulate scan Transponders/" "Transponders/0235.ini" ""
check "rx40ctl scan 0192.ini " "" "0192.ini"
check "rx40ctl scan 0192.ini --" "--pol --lnb-low --lnb-high --timeout --isi --simulate" "--interval --watch --verify"
check "rx40ctl scan 0192.ini --pol " "H V" ""

# align [FREQ SR] [TUNE OPTIONS] [--interval S].
check "rx40ctl align --" "--interval --pol --lnb-low --diseqc --timeout" "--watch --mb --verify"
check "rx40ctl align 11362 22000 --diseqc " "A B C D none" ""
check "rx40ctl align --interval " "" "--pol H"

# usals: the tune options only once --verify is given.
check "rx40ctl usals --sat 0192 --" "--verify --dry-run --lat --lon" "--pol --timeout"
check "rx40ctl usals --sat 0192 --lat 50 --lon 8 --verify --" "--pol --lnb-low --timeout --burst" "--dry-run --interval"
check "rx40ctl usals --verify --sat 0192 --stream " "ts gs" ""

# What the other commands offered before stays.
check "rx40ctl record " "-" ""
check "rx40ctl status --" "--watch --interval --pol" "--verify"
check "rx40ctl motor " "east step-west goto" ""

((failures == 0)) || { echo "$failures failure(s)"; exit 1; }
echo "all completion cases pass"
