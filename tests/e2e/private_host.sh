# The private test host of the network scripts. Sourced first thing, as
#   source "$(dirname "$0")/private_host.sh"
# it re-runs the calling script in new network, mount and UTS namespaces, or
# skips it where those cannot be had or dnsmasq or python3 (with the module
# PRIVATE_HOST_PYTHON_MODULE, when set) is missing. It loads lib.sh, and inside
# offers the host's set-up; nothing made here leaves the namespaces.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
if [[ -z "${TOLVAREN_TEST_HOST:-}" ]]; then
  skip_without_namespaces -n -m -u
  if [[ ! -x /usr/sbin/dnsmasq ]] || ! python3 -c "import ${PRIVATE_HOST_PYTHON_MODULE:-sys}" 2>/dev/null; then
    echo "SKIP: dnsmasq or python3${PRIVATE_HOST_PYTHON_MODULE:+-$PRIVATE_HOST_PYTHON_MODULE} missing"
    exit 0
  fi
  # exec runs no exit trap: the re-run makes an $OUT of its own.
  rm -f "$OUT"
  exec unshare -n -m -u env TOLVAREN_TEST_HOST=1 bash "$0" "$@"
fi

# Programs started in the background, stopped on exit by stop_private_host.
pids=()
stop_private_host() {
  if [[ -n "$RUNNER" ]]; then WINEPREFIX="$work/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# private_host_up WORK HOSTNAME : the host itself. Its own /sys, loopback, the
# adapter v0 (MAC 02:11:22:33:44:55, 10.77.1.10/24) with the default route,
# the host name, and an empty resolv.conf under WORK bind-mounted over
# /etc/resolv.conf. Sets `work` and `resolv`, that file.
private_host_up() {
  work="$1"
  resolv="$work/resolv.conf"
  mkdir -p "$work"
  mount --make-rprivate /
  mount -t sysfs sysfs /sys
  # Wine's server makes the sockets of the programs it serves, so it must run
  # on this host: a server of this prefix left from an earlier run, on another
  # network, is stopped first. (The prefix is the test's own; /tmp, where the
  # server's socket lives, stays as it is, since the build tree may lie below.)
  if [[ -n "$RUNNER" ]]; then WINEPREFIX="$work/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
  ip link set lo up
  ip link add v0 address 02:11:22:33:44:55 type veth peer name v1
  ip addr add 10.77.1.10/24 dev v0
  ip link set v0 up
  ip link set v1 up
  ip route add default via 10.77.1.1 dev v0
  hostname "$2"
  : >"$resolv"
  mount --bind "$resolv" /etc/resolv.conf
}

# servers ADDRESS... : the name servers of the host, in this order.
servers() { printf 'nameserver %s\n' "$@" >"$resolv"; }

# start_dns_servers PTR_NAME [ADDRESS=BEHAVIOUR...] : dnsmasq on 127.0.0.1,
# answering for 10.77.1.10 with PTR_NAME, and the scripted server
# (dns_responder.py) on the other loopback addresses; returns once both listen.
start_dns_servers() {
  /usr/sbin/dnsmasq --keep-in-foreground --conf-file=/dev/null --no-resolv --no-hosts --pid-file= \
    --log-facility=/dev/null --bind-interfaces --listen-address=127.0.0.1 \
    --ptr-record=10.1.77.10.in-addr.arpa,"$1" &
  pids+=($!)
  shift
  local ready="$work/responder.ready"
  rm -f "$ready"
  python3 "$HERE/dns_responder.py" "$@" >"$ready" &
  pids+=($!)
  for _ in $(seq 100); do
    [[ -s "$ready" ]] && ss -Hlun 'sport = :53' | grep -q 127.0.0.1 && break
    sleep 0.05
  done
}
