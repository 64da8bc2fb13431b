#!/usr/bin/env bash
# Every message the command line marks has a Japanese translation, and each
# translation has the same {N} markers as its English text.
set -euo pipefail
root="$1"
pot="$(mktemp)"
trap 'rm -f "$pot"' EXIT
"$root/scripts/update-cli-pot" "$pot"
msgcmp "$root/po/cli/ja.po" "$pot"

mismatches="$(msgexec -i "$root/po/cli/ja.po" sh -c '
  markers() { grep -o "{[0-9]*}" | sort -u | tr -d "\n"; }
  english="$(printf "%s" "$MSGEXEC_MSGID" | markers)"
  translated="$(markers)"
  if [ "$english" != "$translated" ]; then
    printf "%s: %s has %s\n" "$MSGEXEC_LOCATION" "$english" "$translated"
  fi')"
if [ -n "$mismatches" ]; then
  printf "translations whose markers differ from their English text:\n%s\n" "$mismatches" >&2
  exit 1
fi
