#!/bin/bash
# The man page and the bash completion of rx40ctl keep up with the program:
# every command its --help lists, and every option of the general and of each
# command's --help, is in the man page and offered by the completion.
# usage: docs_follow_help_test.sh RX40CTL MAN_PAGE COMPLETION_FILE
set -u
rx40ctl=$1 page=$2
source "$3" || exit 1
failures=0

# The options a help text lists: the lines that start with two blanks and "--".
options_of() { sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p'; }

# What the completion offers for a typed line ending in an empty word or "--".
offered() {
    read -r -a COMP_WORDS <<< "$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _rx40ctl 2>/dev/null
    echo " ${COMPREPLY[*]} "
}

fail() { echo "$*"; ((failures++)); }

# In the page an option is written with escaped hyphens: \-\-pls\-mode.
in_page() { grep -qF -- "${1//-/\\-}" "$page"; }

help=$("$rx40ctl" --help) || { echo "rx40ctl --help failed"; exit 1; }
commands=$(sed -n '/^Commands:/,/^$/{s/^  \([a-z]\+\).*/\1/p}' <<< "$help")
[[ $commands ]] || { echo "no commands in rx40ctl --help"; exit 1; }

all=$(offered "rx40ctl ")
globals=$(offered "rx40ctl --")
for option in $(sed -n '/^Options:/,/^$/p' <<< "$help" | options_of); do
    in_page "$option" || fail "man page: no $option"
    [[ $globals == *" $option "* ]] || fail "completion: no $option"
done

for command in $commands; do
    grep -qE "^\.SS \"?$command( |\"|$)" "$page" || fail "man page: no section for $command"
    [[ $all == *" $command "* ]] || fail "completion: no command $command"
    # usals takes the tune options after --verify only: either line counts.
    choices="$(offered "rx40ctl $command --") $(offered "rx40ctl $command --verify --")"
    for option in $("$rx40ctl" "$command" --help | options_of); do
        in_page "$option" || fail "man page: no $option (rx40ctl $command)"
        [[ $choices == *" $option "* ]] || fail "completion: no $option after rx40ctl $command"
    done
done

((failures == 0)) || { echo "$failures failure(s)"; exit 1; }
echo "the man page and the completion cover $(wc -w <<< "$commands") commands"
