# Sourced. The system message bus and the DNS-SD responder that an IPP
# Everywhere printer application needs before it serves, started where they
# do not run yet. Like the print scheduler they stay up afterwards, for any
# later run to share.

# Whether the system message bus answers on its socket.
system_bus_runs() {
  [ -f /run/dbus/pid ] && kill -0 "$(cat /run/dbus/pid)" 2>/dev/null &&
    [ -S /run/dbus/system_bus_socket ]
}

start_system_bus() {
  system_bus_runs && return 0
  command -v dbus-daemon >/dev/null || return 1
  # A bus that died leaves its pid file and socket behind; the new one
  # refuses to start over them.
  mkdir -p /run/dbus && rm -f /run/dbus/pid /run/dbus/system_bus_socket || return 1
  dbus-daemon --system --fork </dev/null >/dev/null 2>&1 || return 1
}

# Starts the responder, dropping to its own user where the system lets it
# and staying root otherwise (some containers refuse the switch or the
# chroot). Waits up to five seconds for it to answer.
start_dns_sd_responder() {
  avahi-daemon --check 2>/dev/null && return 0
  command -v avahi-daemon >/dev/null || return 1
  avahi-daemon -D </dev/null >/dev/null 2>&1 ||
    avahi-daemon -D --no-drop-root --no-chroot </dev/null >/dev/null 2>&1 || return 1
  local tries
  for tries in $(seq 50); do
    avahi-daemon --check 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Returns non-zero, with the reason on standard output, where either cannot
# run.
start_dns_sd_services() {
  start_system_bus || { echo "the system message bus cannot start here"; return 1; }
  start_dns_sd_responder || { echo "the DNS-SD responder cannot start here"; return 1; }
}
