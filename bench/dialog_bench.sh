#!/bin/bash
# The dialog's whole run against Qt's print dialog alone, in turns in the
# same run: `jobcontrol-dialog --screenshot` (the dialog with the Job Control
# tab open, drawn to a file) against jc_plain_print_dialog (the plain dialog
# with its options open, drawn the same way), both off screen. Prints each
# one's median, fastest and slowest wall time and the ratio of the medians.
#
#   bench/dialog_bench.sh BUILD_DIR [ROUNDS]
#
# jc_plain_print_dialog is taken from $JC_PLAIN_PRINT_DIALOG, else from
# BUILD_DIR/bin.
set -euo pipefail

build=${1:?usage: dialog_bench.sh BUILD_DIR [ROUNDS]}
rounds=${2:-10}
dialog=$build/bin/jobcontrol-dialog
plain=${JC_PLAIN_PRINT_DIALOG:-$build/bin/jc_plain_print_dialog}
[ -x "$dialog" ] || { echo "no $dialog" >&2; exit 1; }
[ -x "$plain" ] || { echo "no $plain (set JC_PLAIN_PRINT_DIALOG)" >&2; exit 1; }

scratch=$(mktemp -d /tmp/jc-dialog-bench-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen

declare -A times
timed() {
  local name=$1 start end
  shift
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>"$scratch/err" || { echo "$name failed:" >&2; cat "$scratch/err" >&2; exit 1; }
  end=$EPOCHREALTIME
  times[$name]+="$(echo "($end - $start) * 1000" | bc -l) "
}

# One run of each first, so that both start from warm caches.
"$plain" "$scratch/plain.png" >/dev/null 2>&1 || true
"$dialog" --prefs-dir "$scratch/prefs" --screenshot "$scratch/tab.png" >/dev/null 2>&1 || true
for _ in $(seq "$rounds"); do
  timed plain "$plain" "$scratch/plain.png"
  timed dialog "$dialog" --prefs-dir "$scratch/prefs" --screenshot "$scratch/tab.png"
done

declare -A medians
for name in plain dialog; do
  read -r -a sorted <<<"$(tr ' ' '\n' <<<"${times[$name]}" | sed '/^$/d' | sort -g | tr '\n' ' ')"
  medians[$name]=${sorted[$((${#sorted[@]} / 2))]}
  printf '%-8s median %8.1f ms  min %8.1f  max %8.1f\n' "$name" "${medians[$name]}" \
    "${sorted[0]}" "${sorted[-1]}"
done
printf 'jobcontrol-dialog --screenshot / plain QPrintDialog program: %.2f\n' \
  "$(echo "${medians[dialog]} / ${medians[plain]}" | bc -l)"
