#!/usr/bin/env bash
# Driverless CUPS queues for three IPP Everywhere printers on the loopback
# interface, and what each printer receives with a job that carries the pass
# code 1234, the account number 777 and the user number 42:
#   clear  - takes a digit pass code in clear or hashed, and both account ids;
#   hashed - takes a digit pass code only hashed, and both account ids;
#   none   - takes neither;
#   held   - as clear, on a queue that holds its jobs for Job Control: the
#            job comes from plain `lp` and `jobcontrol release` adds the
#            attributes before it goes on.
# What the scheduler (CUPS 2.4) forwards to such a printer: only the job
# attributes its job-creation-attributes-supported lists, so the account ids
# go only to a printer that takes them; the job's user name as
# requesting-user-name, and as job-accounting-user-id where the job has none
# and the printer takes one; job-password only to a printer that takes one,
# with the encryption the sender named whatever the printer supports, so
# "none" reaches a printer that takes only sha2-256 digests; told sha2-256,
# the printer receives the 32-byte SHA-256 digest of the digits.
# Usage: received_attributes_test.sh JOBCONTROL
# Exits 77 (skipped) where no print scheduler runs, a tool is missing, or the
# DNS-SD services the printers need cannot start.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/dns_sd_services.sh"
. "$here/loopback_printer.sh"
jobcontrol=$1

# Sends the job to QUEUE with the document FILE through `jobcontrol print`,
# which adds the standard job attributes the queue's printer takes (the
# default mode, auto, for a driverless queue).
choices=(--retention on --hold-mode hold-only --passcode 1234
  --auth user-number --user-number 42 --account-number 777)
send_job() {
  XDG_CONFIG_HOME="$work/config" "$jobcontrol" --printer "$1" print "$2" "${choices[@]}" >/dev/null
}

# Sends the document FILE to the holding QUEUE with `lp`, as any application
# does, and releases the job through `jobcontrol release`.
send_held_job() {
  local id
  XDG_CONFIG_HOME="$work/config" "$jobcontrol" --printer "$1" queue --hold-jobs on >/dev/null ||
    return 1
  id=$(lp -d "$1" -t Report "$2" | sed -n 's/^request id is .*-\([0-9]*\) .*/\1/p')
  [ -n "$id" ] || return 1
  XDG_CONFIG_HOME="$work/config" "$jobcontrol" release "$id" "${choices[@]}" >/dev/null
}

skip() {
  echo "skipped: $*"
  exit 77
}

[ -x "$jobcontrol" ] || { echo "no jobcontrol at '$jobcontrol'"; exit 1; }
for tool in ippeveprinter ipptool lpadmin lpoptions lp cancel; do
  command -v "$tool" >/dev/null || skip "no $tool here"
done
lpstat -r 2>/dev/null | grep -q "is running" || skip "no CUPS scheduler runs here"
reason=$(start_dns_sd_services) || skip "$reason"

work=$(mktemp -d)
trap 'remove_loopback_printers; rm -rf "$work"' EXIT

user=$(id -un)
printers=(clear hashed none held)
declare -A conf=([clear]=pin-clear.conf [hashed]=pin-hashed.conf [none]=no-pin.conf
  [held]=pin-clear.conf)
declare -A sender=([clear]=send_job [hashed]=send_job [none]=send_job [held]=send_held_job)
# Lines each printer must have received, and attributes it must not have.
expected_clear=("job-password (octetString) 1234" "job-password-encryption (keyword) none"
  "job-account-id (nameWithoutLanguage) 777" "job-accounting-user-id (nameWithoutLanguage) 42"
  "requesting-user-name (nameWithoutLanguage) $user")
absent_clear=()
expected_hashed=("job-account-id (nameWithoutLanguage) 777"
  "job-accounting-user-id (nameWithoutLanguage) 42"
  "requesting-user-name (nameWithoutLanguage) $user")
absent_hashed=(job-password job-password-encryption)
expected_none=("requesting-user-name (nameWithoutLanguage) $user")
absent_none=(job-password job-password-encryption job-account-id job-accounting-user-id)
expected_held=("${expected_clear[@]}")
absent_held=()

queue_of() { echo "JobControlDriverless_$$_$1"; }

# Starts the printer PRINTER, named as its queue, and adds the queue; skips
# where the printer application cannot reach the DNS-SD responder.
set_up_printer() {
  local printer=$1 queue
  queue=$(queue_of "$printer")
  if ! start_loopback_printer "$queue" "${conf[$printer]}"; then
    grep -q "Unable to initialize DNS-SD" "$work/$queue.log" &&
      skip "the printer application cannot reach the DNS-SD responder"
    echo "printer '$printer' did not start:"
    tail -n 20 "$work/$queue.log"
    exit 1
  fi
  add_driverless_queue "$queue" "$loopback_port" ||
    { echo "no driverless queue for printer '$printer'"; exit 1; }
}

# Whether PRINTER received its expected lines and none of its absent
# attributes; says what is wrong and what it received where not.
received_as_expected() {
  local printer=$1 log received line name ok=0
  log="$work/$(queue_of "$printer").log"
  if ! wait_for_job_request "$log"; then
    echo "FAILED: printer '$printer' was not asked to create a job within a minute"
    return 1
  fi
  received=$(received_job_attributes "$log")
  local -n expected="expected_$printer" absent="absent_$printer"
  for line in "${expected[@]}"; do
    grep -qFx -- "$line" <<<"$received" || { echo "FAILED: '$printer' lacks: $line"; ok=1; }
  done
  for name in "${absent[@]}"; do
    grep -q -- "^$name (" <<<"$received" && { echo "FAILED: '$printer' received $name"; ok=1; }
  done
  printf 'printer %s received:\n%s\n' "$printer" "$received"
  return "$ok"
}

for printer in "${printers[@]}"; do set_up_printer "$printer"; done

echo "hello" >"$work/document.txt"
for printer in "${printers[@]}"; do
  "${sender[$printer]}" "$(queue_of "$printer")" "$work/document.txt" ||
    { echo "the job to '$printer' was not sent"; exit 1; }
done

failures=0
for printer in "${printers[@]}"; do
  received_as_expected "$printer" || failures=$((failures + 1))
done
echo "$((${#printers[@]} - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
