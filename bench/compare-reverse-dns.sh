#!/usr/bin/env bash
# Times the reverse lookup of "tolvaren /d ?d" against a floor program that
# does the least such a lookup needs (bench/reverse_dns_floor.cpp, built here
# static as the tool is), against "dig -x" on the same dnsmasq and against
# the bare "tolvaren /d x", and "tolvaren /s" against the bare run, on a
# private test host (network, mount and UTS namespaces with one veth adapter,
# dnsmasq on 127.0.0.1 and a resolv.conf naming it). It also counts the
# instructions of /d ?d and of the floor with callgrind.
#
#   bench/compare-reverse-dns.sh [TOLVAREN_BINARY]
#
# Default: build/native/tolvaren. Targets: /d ?d at most 1.1x the floor (by
# median) and at most 2x its instructions; the exit status is 1 when one is
# missed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$(realpath "${1:-$root/build/native/tolvaren}")"
runs="${BENCH_RUNS:-300}"

if [[ -z "${TOLVAREN_TEST_HOST:-}" ]]; then
  for program in hyperfine dig python3 unshare g++ valgrind /usr/sbin/dnsmasq; do
    command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 2; }
  done
  [[ -x "$tool" ]] || { echo "not built: $tool" >&2; exit 2; }
  exec unshare -n -m -u env TOLVAREN_TEST_HOST=1 bash "$0" "$tool"
fi

mount --make-rprivate /
work="$(mktemp -d)"
ip link set lo up
ip link add v0 address 02:11:22:33:44:55 type veth peer name v1
ip addr add 10.77.1.10/24 dev v0
ip link set v0 up
ip link set v1 up
hostname bench-host.example.test
echo "nameserver 127.0.0.1" >"$work/resolv.conf"
mount --bind "$work/resolv.conf" /etc/resolv.conf
/usr/sbin/dnsmasq --conf-file=/dev/null --no-resolv --no-hosts --pid-file="$work/dnsmasq.pid" \
  --log-facility=/dev/null --bind-interfaces --listen-address=127.0.0.1 \
  --ptr-record=10.1.77.10.in-addr.arpa,bench-pc.example.test
trap 'kill "$(cat "$work/dnsmasq.pid")" 2>/dev/null || true; rm -rf "$work"' EXIT
floor="$work/reverse_dns_floor"
g++ -std=c++20 -O2 -static -o "$floor" "$root/bench/reverse_dns_floor.cpp" 2>"$work/floor-build.log" ||
  { cat "$work/floor-build.log" >&2; exit 2; }
for _ in $(seq 100); do ss -Hlun 'sport = :53' | grep -q 127.0.0.1 && break; sleep 0.05; done

export TOLVAREN_BIOS_IMAGE="$root/tests/fixtures/firmware/ident.bin"
echo "tolvaren /d ?d: $("$tool" /d '?d')"
echo "floor:          $("$floor")"
echo "dig -x:         $(dig +short -x 10.77.1.10 @127.0.0.1)"

# instructions COMMAND... : the instructions callgrind counts for one run.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
tool_instructions="$(instructions "$tool" /d '?d')"
floor_instructions="$(instructions "$floor")"

hyperfine -N --warmup 30 --runs "$runs" --export-json "$work/wall.json" \
  -n "tolvaren /d ?d" "$tool /d ?d" \
  -n "floor" "$floor" \
  -n "dig -x" "dig +short -x 10.77.1.10 @127.0.0.1" \
  -n "tolvaren /d x" "$tool /d x" \
  -n "tolvaren /s" "$tool /s"

python3 - "$work/wall.json" "$tool_instructions" "$floor_instructions" <<'PY'
import json, sys
# Means and medians: the median is the steadier figure on a busy machine.
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
tool_ir, floor_ir = int(sys.argv[2]), int(sys.argv[3])
def ratio(a, b, key):
    return results[a][key] / results[b][key]
for key in ("mean", "median"):
    print(f"{key}:")
    print(f"  /d ?d vs floor:  {ratio('tolvaren /d ?d', 'floor', key):.2f}x (goal at most 1.1x)"
          f"   /d ?d vs dig -x: {ratio('tolvaren /d ?d', 'dig -x', key):.2f}x")
    print(f"  /d ?d vs /d x:   {ratio('tolvaren /d ?d', 'tolvaren /d x', key):.2f}x")
    print(f"  /s vs /d x:      {ratio('tolvaren /s', 'tolvaren /d x', key):.2f}x")
for name, r in results.items():
    print(f"  {name}: mean {r['mean'] * 1e3:.2f} ms, median {r['median'] * 1e3:.2f} ms")
print(f"instructions: /d ?d {tool_ir:,}, floor {floor_ir:,}: {tool_ir / floor_ir:.2f}x (goal at most 2x)")
met = ratio("tolvaren /d ?d", "floor", "median") <= 1.1 and tool_ir <= 2 * floor_ir
sys.exit(0 if met else 1)
PY
