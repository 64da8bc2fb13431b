#!/bin/bash
# Whole runs of the real command line against printers' folder services on
# the loopback interface: `jobcontrol show` with 0, 10,000 and 100,000 stored
# folders, and a press of the folder-list button ("folders") into a store
# that holds 100,000 folders against the same press into an empty store.
# The cases take turns in each round, so that all see the same load of the
# machine; prints each case's median, fastest and slowest wall time and its
# largest peak memory, then the ratios.
#
#   bench/open_bench.sh BUILD_DIR [ROUNDS]
#
# jc_printer_simulator is taken from $JC_PRINTER_SIMULATOR, else from
# BUILD_DIR/bin, else from build/default/bin beside this script.
set -euo pipefail

build=${1:?usage: open_bench.sh BUILD_DIR [ROUNDS]}
rounds=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
cli=$build/bin/jobcontrol
simulator=${JC_PRINTER_SIMULATOR:-}
for candidate in "$build/bin/jc_printer_simulator" "$here/../build/default/bin/jc_printer_simulator"; do
  [ -n "$simulator" ] || { [ -x "$candidate" ] && simulator=$candidate; } || true
done
[ -x "$cli" ] || { echo "no $cli" >&2; exit 1; }
[ -x "$simulator" ] || { echo "no jc_printer_simulator (set JC_PRINTER_SIMULATOR)" >&2; exit 1; }

scratch=$(mktemp -d /tmp/jc-open-bench-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -m 0700 "$scratch/run"
export XDG_RUNTIME_DIR=$scratch/run

# Starts a printer with $1 folders; its address is then in address[$1].
declare -A address
start_printer() {
  "$simulator" --count "$1" --lifetime 1800 >"$scratch/port-$1" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$scratch/port-$1" ] && break
    sleep 0.05
  done
  address[$1]=127.0.0.1:$(head -n 1 "$scratch/port-$1")
}

declare -A times peaks
# Runs the command line on the store $2 as case $1, timing it.
run_case() {
  local name=$1 store=$2
  shift 2
  local start end
  start=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$scratch/rss" "$cli" --prefs-dir "$store" "$@" >/dev/null 2>"$scratch/err" ||
    { echo "$name failed:" >&2; cat "$scratch/err" >&2; exit 1; }
  end=$EPOCHREALTIME
  times[$name]+="$(echo "($end - $start) * 1000" | bc -l) "
  local rss
  rss=$(tail -n 1 "$scratch/rss")
  if [ -z "${peaks[$name]:-}" ] || [ "$rss" -gt "${peaks[$name]}" ]; then peaks[$name]=$rss; fi
}

# A fresh copy of the store $1 in $2.
copy_store() {
  rm -rf "$2"
  cp -a "$1" "$2"
}

start_printer 10000
start_printer 100000
small=${address[10000]}
large=${address[100000]}

# The stores as a dialog leaves them: one that was opened once, and two that
# hold a printer's folders.
"$cli" --prefs-dir "$scratch/store-0" show >/dev/null
"$cli" --prefs-dir "$scratch/store-10000" folders --address "$small" >/dev/null
"$cli" --prefs-dir "$scratch/store-100000" folders --address "$large" >/dev/null

for _ in $(seq "$rounds"); do
  for stored in 0 10000 100000; do
    copy_store "$scratch/store-$stored" "$scratch/store"
    run_case "show/$stored" "$scratch/store" show
  done
  copy_store "$scratch/store-0" "$scratch/store"
  run_case "first press/100000" "$scratch/store" folders --address "$large"
  copy_store "$scratch/store-100000" "$scratch/store"
  run_case "second press/100000" "$scratch/store" folders --address "$large"
done

declare -A medians
for name in "show/0" "show/10000" "show/100000" "first press/100000" "second press/100000"; do
  read -r -a sorted <<<"$(tr ' ' '\n' <<<"${times[$name]}" | sed '/^$/d' | sort -g | tr '\n' ' ')"
  medians[$name]=${sorted[$((${#sorted[@]} / 2))]}
  printf '%-22s median %8.1f ms  min %8.1f  max %8.1f  peak %6.1f MB\n' "$name" \
    "${medians[$name]}" "${sorted[0]}" "${sorted[-1]}" "$(echo "${peaks[$name]} / 1024" | bc -l)"
done
ratio() { printf '%-52s %6.2f\n' "$1" "$(echo "${medians[$2]} / ${medians[$3]}" | bc -l)"; }
ratio "show, 10,000 stored folders / empty store" "show/10000" "show/0"
ratio "show, 100,000 stored folders / empty store" "show/100000" "show/0"
ratio "second press / first press, 100,000 folders" "second press/100000" "first press/100000"
