#!/usr/bin/env bash
# Runs a test program with a dnsmasq of its own on 127.0.0.1, answering from
# records given here only (no upstream servers, no /etc/hosts, no
# /etc/resolv.conf), and tells the program its port in TOLVAREN_DNSMASQ_PORT.
#
#   with-dnsmasq.sh [EMULATOR] PROGRAM [ARGS...]
set -euo pipefail

dnsmasq=/usr/sbin/dnsmasq
if [[ ! -x "$dnsmasq" ]]; then
  echo "dnsmasq not installed: exchange tests skipped"
  exit 0
fi

pid=""
cleanup() { [[ -n "$pid" ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; }
trap cleanup EXIT

port_is_open() { ss -Hlun "sport = :$1" 2>/dev/null | grep -q .; }

# A random high port; a taken one makes dnsmasq exit at once, then another is tried.
for attempt in 1 2 3 4 5 6 7 8; do
  port=$((20000 + RANDOM % 40000))
  port_is_open "$port" && continue
  "$dnsmasq" --keep-in-foreground --conf-file=/dev/null --no-resolv --no-hosts --pid-file= \
    --log-facility=/dev/null --bind-interfaces --listen-address=127.0.0.1 --port="$port" \
    --ptr-record=10.1.168.192.in-addr.arpa,host.example.com \
    --host-record=pc42.example.test,192.0.2.42 \
    --mx-host=example.test,mail.example.test,10 &
  pid=$!
  for _ in $(seq 50); do
    port_is_open "$port" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null && port_is_open "$port"; then
    export TOLVAREN_DNSMASQ_PORT="$port"
    status=0
    "$@" || status=$?
    exit "$status"
  fi
  wait "$pid" 2>/dev/null || true
  pid=""
done
echo "could not start dnsmasq on a free port" >&2
exit 1
