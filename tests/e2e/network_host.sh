#!/usr/bin/env bash
# The network rows of /s and every network macro on a private test host: the
# script re-runs itself in new network, mount and UTS namespaces, where it
# makes veth adapters with addresses and MACs of its own, a host name, a
# resolv.conf bind-mounted over /etc/resolv.conf, dnsmasq with a PTR record
# and a scripted DNS server on loopback. Nothing leaves the namespaces.
#
#   network_host.sh TOOL [RUNNER [NATIVE_TOOL]]
# With a RUNNER (Wine) the Windows binary runs with a prefix of its own in the
# build tree, and NATIVE_TOOL, when given and built, must print the same rows
# 10 to 13 and the same macro values.
source "$(dirname "$0")/private_host.sh"
NATIVE="${3:-}"
[[ -n "$NATIVE" && ! -x "$NATIVE" ]] && NATIVE=""

trap 'stop_private_host; rm -f "$OUT"' EXIT
private_host_up "$(cd "$(dirname "$TOOL")" && pwd)/e2e-network" holdout-host.example.test
ip link add w0 address 02:11:22:33:44:66 type veth peer name w1
ip addr add 10.77.2.20/24 dev w0
ip link set w0 up
ip link set w1 up
start_dns_servers holdout-pc.example.test 127.0.0.2=silent 127.0.0.3=refused 127.0.0.4=nxdomain 127.0.0.5=answers \
  127.0.0.6=authority 127.0.0.7=other-port 127.0.0.8=long-name 127.0.0.9=blank-label

# What `ip` sees.
mac="$(tr a-f A-F </sys/class/net/v0/address)"
ip4="$(ip -o -4 addr show dev v0 | awk '{split($4, a, "/"); print a[1]}')"
IFS=. read -r o1 o2 o3 o4 <<<"$ip4"
hex="$(printf '%02X%02X%02X%02X' "$o1" "$o2" "$o3" "$o4")"
plain_mac="${mac//:/}"

image="$(cd "$HERE/../fixtures/firmware" && pwd)/uuid-ff.bin"
if [[ -n "$RUNNER" ]]; then export TOLVAREN_WINEPREFIX="$work/wineprefix"; fi
TOLVAREN_BIOS_IMAGE="$(tool_path "$image")"
export TOLVAREN_BIOS_IMAGE

# display TEMPLATE : the value /d prints for TEMPLATE, line end removed; sets
# SECONDS_TAKEN (milliseconds) too.
display() {
  local start end
  start=$(date +%s%N)
  run_tool /d "$1"
  end=$(date +%s%N)
  TAKEN=$(((end - start) / 1000000))
  VALUE="$(tr -d '\r' <"$OUT")"
}
# expect_display TEMPLATE VALUE [MIN_MS MAX_MS]
expect_display() {
  display "$1"
  [[ "$VALUE" == "$2" && "$STATUS" == 0 ]] || fail "/d '$1' gave '$VALUE' (status $STATUS), expected '$2'"
  if [[ $# -ge 4 ]] && ((TAKEN < $3 || TAKEN > $4)); then fail "/d '$1' took $TAKEN ms, expected $3 to $4"; fi
}

servers 127.0.0.1
if [[ -n "$RUNNER" ]]; then
  echo "-- Wine starts in the test host (a prefix of its own)"
  run_tool /d x # creates and boots the prefix on first use
fi

echo "-- /s rows 10 to 13 match ip's view of v0 and the host name"
run_tool /s
tr -d '\r' <"$OUT" | sed -n '/^Ethernet address/,/^DNS Host name/p' >"$work/rows"
grep -qx "Ethernet address       : $mac" "$work/rows" || fail "no Ethernet row for $mac: $(cat "$work/rows")"
grep -qx "IP address             : $ip4" "$work/rows" || fail "no IP row for $ip4"
grep -qx "DNS Host name          : holdout-host" "$work/rows" || fail "no DNS host name row"
[[ "$(wc -l <"$work/rows")" == 4 ]] || fail "rows 10 to 13 are not four lines: $(cat "$work/rows")"

echo "-- every network macro"
expect_display '?i-?j-?k-?l' "$o1-$o2-$o3-$o4"
expect_display '?I?J?K?L' "$hex"
expect_display '?m' "$plain_mac"
expect_display '?U' "00000000000000000000$plain_mac"
expect_display '?G' "00000000000000000000$plain_mac"
expect_display '?d' "holdout-pc" 0 1500
{
  cat "$work/rows"
  for macro in '?i?j?k?l' '?I?J?K?L' '?m' '?U' '?G' '?d'; do display "$macro" && echo "$macro=$VALUE"; done
} >"$work/values.$(basename "$TOOL")"

echo "-- a silent server listed first: the answer comes after about 2 s"
servers 127.0.0.2 127.0.0.1
expect_display '?d' "holdout-pc" 1900 3500

echo "-- no IPv4 server: x?d gives x at once"
servers ::1
expect_display 'x?d' "x" 0 1500

echo "-- error replies: REFUSED gives nothing, NXDOMAIN passes to the next server"
servers 127.0.0.3
expect_display 'x?d' "x" 0 1500
servers 127.0.0.4 127.0.0.1
expect_display '?d' "holdout-pc" 0 1500

echo "-- the first PTR record of the answer section, cut at its first label"
servers 127.0.0.5
expect_display '?d' "first-ptr" 0 1500
servers 127.0.0.9
expect_display '?d' "short" 0 1500

echo "-- a reply without PTR answer gives nothing from that server"
servers 127.0.0.6 127.0.0.1
expect_display '?d' "holdout-pc" 0 1500

echo "-- only the server asked may answer"
servers 127.0.0.7
expect_display '?d' "genuine" 0 1500

echo "-- a name over 255 bytes is an invalid reply"
servers 127.0.0.8 127.0.0.1
expect_display '?d' "holdout-pc" 0 1500

if [[ -n "$RUNNER" && -n "$NATIVE" ]]; then
  echo "-- the native binary prints the same rows and values"
  servers 127.0.0.1
  native_out="$work/values.native"
  {
    TOLVAREN_BIOS_IMAGE="$image" "$NATIVE" /s </dev/null | sed -n '/^Ethernet address/,/^DNS Host name/p'
    for macro in '?i?j?k?l' '?I?J?K?L' '?m' '?U' '?G' '?d'; do
      echo "$macro=$(TOLVAREN_BIOS_IMAGE="$image" "$NATIVE" /d "$macro" </dev/null)"
    done
  } >"$native_out"
  diff "$native_out" "$work/values.$(basename "$TOOL")" || fail "native and Windows differ"
fi

finish
