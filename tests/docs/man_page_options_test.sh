#!/usr/bin/env bash
# Fails naming each option that PROGRAM --help lists, and each COMMAND word
# it lists, that the manual page source PAGE does not document.
# Usage: man_page_options_test.sh PROGRAM PAGE
set -euo pipefail
program=$1
page=$2

help=$(LANG=C LC_ALL=C "$program" --help)
# The tags of the page's entries (the line after each ".TP"), as text: "\-"
# is a hyphen, font changes vanish.
tags=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g' "$page" |
  awk 'tag {print} {tag = ($0 == ".TP")}')

# Every "--name" of the help, but the "--option" of its "--option=VALUE".
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | grep -vx -- '--option' | sort -u)
# The words of the COMMAND block: its lines up to the first blank one.
commands=$(awk '/^COMMAND /{inside = 1; sub(/^COMMAND/, "")} inside && /^$/{exit}
  inside {print $1}' <<<"$help")

missing=()
for option in $options; do
  grep -qE -- "(^|[^a-z-])${option}([^a-z-]|\$)" <<<"$tags" || missing+=("$option")
done
for command in $commands; do
  grep -qE "^\.BI? \"?${command}( |\"|\$)" <<<"$tags" || missing+=("command $command")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "$(basename "$page") does not document what $(basename "$program") --help lists:" \
    "${missing[*]}" >&2
  exit 1
fi
echo "$(basename "$page") documents $(wc -w <<<"$options") options and" \
  "$(wc -w <<<"$commands") commands"
