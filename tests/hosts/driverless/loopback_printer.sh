# Sourced. IPP Everywhere printers on the loopback interface (CUPS's
# `ippeveprinter`), each with a driverless CUPS queue, and what a job brought
# to the printer.
#
# What a printer received is read from its own log: run with -vv, the
# printer application writes every request it gets, attribute by attribute
# ("    job-password (octetString) 1234"), before its one-line verdict
# ("localhost Create-Job successful-ok"). The scheduler's IPP backend sends
# the job's attributes with Create-Job (Print-Job for printers without it),
# after a Validate-Job that leaves out job-password and
# job-password-encryption. Get-Job-Attributes on the printer is no substitute:
# the printer keeps job-account-id and job-accounting-user-id with the job but
# not job-password or job-password-encryption, which are operation attributes.
#
# The caller sets `work` to a scratch folder and calls remove_loopback_printers
# on exit.

loopback_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
loopback_pids=()
loopback_queues=()
loopback_port=

# Starts a printer named NAME described by printer-base.conf plus CONF on a
# free loopback port, and sets loopback_port to it. Fails where no port could
# be had or the printer did not answer; the reason is in $work/NAME.log.
start_loopback_printer() {
  local name=$1 conf=$2 port tries
  cat "$loopback_dir/printer-base.conf" "$loopback_dir/$conf" >"$work/$name.conf"
  mkdir -p "$work/$name.spool"
  for tries in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 40000))
    ippeveprinter -vv -n localhost -p "$port" -r off -k -d "$work/$name.spool" \
      -a "$work/$name.conf" "$name" >"$work/$name.log" 2>&1 &
    loopback_pids+=($!)
    if wait_until_printer_answers "$name" "$port" $!; then
      loopback_port=$port
      return 0
    fi
    grep -q "Address already in use" "$work/$name.log" || return 1
  done
  return 1
}

# Waits up to ten seconds for the printer NAME on PORT, run by PID, to answer.
wait_until_printer_answers() {
  local name=$1 port=$2 pid=$3 tries
  for tries in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 1
    ipptool -q -T 2 -d "name=$name" "ipp://localhost:$port/ipp/print" \
      "$loopback_dir/printer-answers.test" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

# Adds the driverless queue QUEUE for the printer on PORT and waits up to
# thirty seconds for the scheduler to have made its PPD from the printer's
# description, which it does after lpadmin returns.
add_driverless_queue() {
  local queue=$1 port=$2 tries
  lpadmin -p "$queue" -E -v "ipp://localhost:$port/ipp/print" -m everywhere || return 1
  loopback_queues+=("$queue")
  for tries in $(seq 150); do
    [ -n "$(lpoptions -p "$queue" -l 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  return 1
}

# Waits up to sixty seconds for the printer that logs to LOG to have been
# asked to create a job.
wait_for_job_request() {
  local log=$1 tries
  for tries in $(seq 300); do
    grep -qE '^localhost (Create-Job|Print-Job) ' "$log" && return 0
    sleep 0.2
  done
  return 1
}

# The attributes of the first job the printer that logs to LOG was asked to
# create, one "name (type) value" a line. The printer serves each connection
# on its own thread, so lines of the scheduler's status queries may come in
# between; they name other attributes.
received_job_attributes() {
  awk '/operation-id=(Create-Job|Print-Job)/ { inside = 1; next }
       inside && /^localhost (Create-Job|Print-Job) / { exit }
       inside && /^    [a-z]/ { sub(/^ +/, ""); print }' "$1"
}

remove_loopback_printers() {
  local queue pid
  for queue in "${loopback_queues[@]}"; do
    cancel -a "$queue" 2>/dev/null
    lpadmin -x "$queue" 2>/dev/null
  done
  for pid in "${loopback_pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
}
