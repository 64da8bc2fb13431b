#!/usr/bin/env bash
# The README's JobPrivateValues line, in a copy of the system's cupsd.conf run
# by a private scheduler of its own: another user no longer reads a job's
# entries, `queue` says so, and the queue's filter still receives them all.
# Usage: private_values_test.sh JOBCONTROL README SAMPLE_PPD
# Exits 77 (skipped) where not root or the scheduler or a tool is missing.
set -uo pipefail
jobcontrol=$1 readme=$2 sample_ppd=$3

skip() {
  echo "skipped: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "not root"
for tool in /usr/sbin/cupsd lpadmin lp ipptool runuser useradd; do
  command -v "$tool" >/dev/null || skip "no $tool here"
done
[ -r /etc/cups/cupsd.conf ] || skip "no /etc/cups/cupsd.conf"
line=$(grep -m1 '^    JobPrivateValues ' "$readme" | sed 's/^ *//')
[ -n "$line" ] || { echo "FAILED: no JobPrivateValues line in $readme"; exit 1; }
other=jctest_other
id "$other" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$other"

work=$(mktemp -d)
# The filter's folder must be root's and not writable by others all the way up.
filters=$(mktemp -d -p "$PWD" held-private-XXXXXX)
chmod 755 "$work" "$filters"
mkdir -p "$work"/{root,spool,cache,state,tmp,records} && chmod 777 "$work/records"
cleanup() {
  [ -n "${cupsd_pid:-}" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  rm -rf "$work" "$filters"
}
trap cleanup EXIT

# The system's configuration with its own socket and port, the policy line
# in place of every "JobPrivateValues default".
port=$((20000 + $$ % 20000))
sed -e '/^Listen /d' -e '/^Port /d' -e '/^Browsing/d' -e '/^BrowseLocalProtocols/d' \
  -e "s/^\( *\)JobPrivateValues default\$/\1$line/" /etc/cups/cupsd.conf >"$work/root/cupsd.conf"
printf 'Listen %s/cups.sock\nListen localhost:%s\nBrowsing No\n' "$work" "$port" >>"$work/root/cupsd.conf"
grep -q "korvel.print.PrintSettings.userName " "$work/root/cupsd.conf" ||
  { echo "FAILED: the policy line did not go in"; exit 1; }
cat >"$work/root/cups-files.conf" <<CONF
SystemGroup root lpadmin
ServerRoot $work/root
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/error_log
AccessLog $work/access_log
PageLog $work/page_log
CONF
/usr/sbin/cupsd -f -c "$work/root/cupsd.conf" -s "$work/root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$work/cups.sock"
for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
lpstat -r 2>/dev/null | grep -q "is running" ||
  { echo "the private scheduler did not start:"; cat "$work/error_log" 2>/dev/null; exit 1; }

# A queue of the sample printer whose filter records its options argument.
printf '#!/bin/sh\nprintf "%%s" "$5" > %s/records/options.$1\ncat > /dev/null\n' "$work" \
  >"$filters/record-options"
chmod 755 "$filters/record-options"
sed "s|^\*Manufacturer:|*cupsFilter2: \"text/plain application/vnd.cups-raw 0 $filters/record-options\"\n&|" \
  "$sample_ppd" >"$filters/recording.ppd"
queue=JobControlPrivate
lpadmin -p "$queue" -E -v socket://127.0.0.1:9 -P "$filters/recording.ppd" \
  -o printer-error-policy=abort-job 2>/dev/null || { echo "FAILED: no queue"; exit 1; }
export XDG_CONFIG_HOME="$work/config"
"$jobcontrol" --printer "$queue" queue --hold-jobs on >/dev/null || { echo "FAILED: hold"; exit 1; }

echo hello >"$work/letter.txt"
job=$(lp -d "$queue" "$work/letter.txt" | sed -n 's/.*-\([0-9]*\) .*/\1/p')
"$jobcontrol" release "$job" --retention on --hold-mode hold-only --passcode 1234 \
  --auth user-number --user-number 42 --account-number 777 --user-name Ada >/dev/null ||
  { echo "FAILED: release"; exit 1; }
for _ in $(seq 100); do [ -s "$work/records/options.$job" ] && break; sleep 0.2; done
received=$(tr ' ' '\n' <"$work/records/options.$job" | grep -c '^korvel\.print\.PrintSettings\.')
echo "the filter received $received entries: $(cat "$work/records/options.$job")"

cat >"$work/get.test" <<'TEST'
{ OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri job-uri ipp://localhost/jobs/$job
  ATTR name requesting-user-name $user
  ATTR keyword requested-attributes all
  STATUS successful-ok
}
TEST
chmod 644 "$work/get.test"
seen=$(runuser -u "$other" -- env CUPS_SERVER="$CUPS_SERVER" ipptool -tv -d "job=$job" \
  "ipp://localhost:$port/jobs/" "$work/get.test" 2>&1)
echo "$other reads:"; sed -n '/status-code/,$p' <<<"$seen"
state=$("$jobcontrol" --printer "$queue" queue --json)
echo "$state"

failures=0
[ "$received" -ge 15 ] || { echo "FAILED: the filter received $received entries"; failures=1; }
grep -q 'status-code = successful-ok' <<<"$seen" || { echo "FAILED: $other was not answered"; failures=1; }
grep -q 'korvel\.print\.PrintSettings\.\|job-account-id\|job-name ' <<<"$seen" &&
  { echo "FAILED: $other reads an entry"; failures=1; }
grep -q '"entriesReadableByOthers": false' <<<"$state" ||
  { echo "FAILED: queue does not say the entries are private"; failures=1; }
[ "$failures" -eq 0 ] && echo "passed"
exit "$failures"
