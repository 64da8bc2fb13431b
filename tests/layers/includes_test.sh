#!/usr/bin/env bash
# Includes run downward only: each folder of the product includes only the
# folders below it, and the hosts only the plug-in interface.
# Usage: includes_test.sh SOURCE_DIR
# Exits 1 and names every include against the direction.
set -uo pipefail
root=$1

# The folders each folder may include, besides itself.
declare -A below=(
  [platform]=""
  [crypto]=""
  [ui]="platform crypto"
  [soap]="platform crypto"
  [settings]="platform crypto soap"
  [prefs]="platform crypto soap"
  [plugin]="platform crypto ui soap settings prefs"
  [hosts]="platform jobcontrol"
)
# What a host sees of the module: the interface and the plain records that
# cross it.
interface="plugin/host.h plugin/print_dialog_extension.h ui/toolkit.h
  settings/printer_capabilities.h settings/standard_attribute_plan.h settings/held_fields.h
  soap/run_loop.h soap/poll_run_loop.h soap/folder_list_outcome.h"

allowed() {  # FOLDER INCLUDED-PATH
  local folder=$1 path=$2 target=${2%%/*} f
  [ "$target" = "$folder" ] && return 0
  for f in ${below[$folder]}; do [ "$f" = "$target" ] && return 0; done
  if [ "$folder" = hosts ]; then
    for f in $interface; do [ "$f" = "$path" ] && return 0; done
  fi
  return 1
}

faults=0
for folder in "${!below[@]}"; do
  [ -d "$root/$folder" ] || continue
  while IFS=: read -r file line text; do
    path=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
    [[ $path == */* ]] || continue
    if ! allowed "$folder" "$path"; then
      echo "${file#"$root"/}:$line includes $path against the direction of the layers"
      faults=$((faults + 1))
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' \
    --include='*.cpp' "$root/$folder")
done
[ "$faults" -eq 0 ] || exit 1
echo "every include runs downward"
