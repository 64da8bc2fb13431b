#!/usr/bin/env bash
# Validates the dialog's desktop entry and checks that it names the icon
# installed beside it, and that it claims no file type: a print dialog must
# never become what opens a PDF file. Skips (77) without desktop-file-validate.
# Usage: desktop_entry_test.sh ENTRY ICON
set -euo pipefail
entry=$1
icon=$2
if ! command -v desktop-file-validate >/dev/null; then
  echo "desktop-file-validate is not installed (desktop-file-utils); not checked"
  exit 77
fi
report=$(desktop-file-validate "$entry" 2>&1) || true
if [ -n "$report" ]; then
  echo "$report" >&2
  exit 1
fi
named=$(sed -n 's/^Icon=//p' "$entry")
if [ "$named" != "$(basename "$icon" .svg)" ]; then
  echo "the entry names the icon \"$named\", the icon is $(basename "$icon")" >&2
  exit 1
fi
if grep -q '^MimeType=' "$entry"; then
  echo "the entry claims file types: $(grep '^MimeType=' "$entry")" >&2
  exit 1
fi
echo "valid, with the icon $named"
