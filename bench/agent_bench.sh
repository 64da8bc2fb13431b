#!/bin/bash
# jobcontrol-agent's latency with the real scheduler: a holding queue of the
# sample printer is added, N jobs are printed to it with `lp`, and the agent
# (off screen) opens each one's window and prints it. Prints the median,
# fastest and slowest time from a job's creation to its window shown and
# from Print to the job's release. Needs a running cupsd, its D-Bus notifier
# on the system bus, and the right to add queues.
#
#   bench/agent_bench.sh BUILD_DIR [N]
set -euo pipefail

build=${1:?usage: agent_bench.sh BUILD_DIR [N]}
rounds=${2:-20}
program=$build/bin/agent_latency
[ -x "$program" ] || { echo "no $program" >&2; exit 1; }
queue=JobControlAgentBench_$$
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cleanup() {
  cancel -a "$queue" 2>/dev/null || true
  /usr/sbin/lpadmin -x "$queue" 2>/dev/null || true
}
trap cleanup EXIT
/usr/sbin/lpadmin -p "$queue" -E -v file:///dev/null -P "$source_dir/bundle/printer/Sample_MFP.ppd" \
  -o job-hold-until-default=indefinite 2>/dev/null
# The offscreen platform says what it cannot do for each window: not measured.
"$program" "$queue" "$rounds" 2> >(grep -v -e "does not support" -e QStandardPaths >&2)
