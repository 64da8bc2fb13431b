#!/usr/bin/env bash
# Completes command lines with the bash completions in DIR, as bash does when
# the user presses Tab: COMP_WORDS and COMP_CWORD set, then the function.
# CUPS queues come from a stand-in lpstat.
# Usage: bash_completion_test.sh DIR
set -euo pipefail
dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/files/prefs"
touch "$work/files/report.pdf" "$work/files/job.json" "$work/files/our plan.ps"
cd "$work/files"

stand_in_lpstat() {
  printf '#!/bin/sh\n%s\n' "$1" >"$work/bin/lpstat"
  chmod +x "$work/bin/lpstat"
}

# The completions of the words, sorted, on one line; bash's own messages too.
completions() {
  PATH="$work/bin:$PATH" bash -c '
    source "$1/$2"
    function=$(complete -p "$2" | sed "s/.*-F \([^ ]*\) .*/\1/")
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    "$function"
    printf "%s\n" "${COMPREPLY[@]}"' bash "$dir" "$@" 2>&1 | sort | paste -sd' '
}

failures=0
expect() {
  local expected=$1
  shift
  local got
  got=$(completions "$@")
  if [ "$got" != "$expected" ]; then
    echo "$* <Tab>: expected \"$expected\", got \"$got\"" >&2
    failures=$((failures + 1))
  fi
}

stand_in_lpstat 'printf "Office\nLab_Color\n"'
expect "show" jobcontrol sh
expect "folders jobs print queue release save show" jobcontrol --printer Office ""
expect "folders jobs print queue release save show" jobcontrol --title = show ""
expect "off on" jobcontrol --printer Office queue --hold-jobs ""
expect "" jobcontrol show ""
expect "hold-after-print hold-only" jobcontrol --hold-mode h
expect "sample-print" jobcontrol save --hold-mode = s
expect "login user-number" jobcontrol show --auth ""
expect "off on" jobcontrol print --standard-attributes o
expect "off on" jobcontrol save --retention ""
expect "user-name user-number" jobcontrol save --unlock user-
expect "custom main quick" jobcontrol save --folder ""
expect "" jobcontrol save --passcode ""
expect "--folder --folder-index --folder-name --folder-passcode --folder-passcode-file --folder-passcode-stdin" \
  jobcontrol show --fold
expect "--passcode --passcode-file --passcode-stdin" jobcontrol save --passc
expect "job.json our plan.ps prefs report.pdf" jobcontrol save --passcode-file ""
expect "Lab_Color Office" jobcontrol --printer ""
stand_in_lpstat 'printf "Office-12 ada 1024 Wed Dec  9 10:48:00 2026\nLab_Color-7 ada 2048 Wed Dec  9 10:49:00 2026\n"'
expect "12 7" jobcontrol release ""
expect "" jobcontrol release 12 ""
stand_in_lpstat 'printf "Office\nLab_Color\n"'
expect "job.json our plan.ps prefs report.pdf" jobcontrol --settings ""
expect "prefs" jobcontrol --prefs-dir ""
expect "job.json our plan.ps prefs report.pdf" jobcontrol --ppd x.ppd print ""
expect "" jobcontrol print report.pdf ""
expect "--once" jobcontrol-agent --o
expect "prefs" jobcontrol-agent --prefs-dir p
expect "job.json our plan.ps prefs report.pdf" jobcontrol-agent --screenshot ""
expect "" jobcontrol-agent ""
expect "--prefs-dir --printer" jobcontrol-dialog --pr
expect "Office" jobcontrol-dialog --printer O
expect "off on" jobcontrol-dialog --standard-attributes o
expect "job.json our plan.ps prefs report.pdf" jobcontrol-dialog --printer Office ""

# Without CUPS: no queue and not a word on the terminal.
stand_in_lpstat 'echo "lpstat: Scheduler is not running." >&2; exit 1'
expect "" jobcontrol --printer ""
expect "" jobcontrol-dialog --printer ""

[ $failures -eq 0 ] || exit 1
echo "every completion as expected"
