#!/usr/bin/env bash
# Times the reverse lookup of "tolvaren /d ?d" against "dig -x" on the same
# dnsmasq and against the bare "tolvaren /d x", and "tolvaren /s" against the
# bare run, on a private test host (network, mount and UTS namespaces with one
# veth adapter, dnsmasq on 127.0.0.1 and a resolv.conf naming it).
#
#   bench/compare-reverse-dns.sh [TOLVAREN_BINARY]
#
# Default: build/native/tolvaren. Target: /d ?d at most 1.3x the bare run (by
# median); the exit status is 1 when it is missed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$(realpath "${1:-$root/build/native/tolvaren}")"
runs="${BENCH_RUNS:-300}"

if [[ -z "${TOLVAREN_TEST_HOST:-}" ]]; then
  for program in hyperfine dig python3 unshare /usr/sbin/dnsmasq; do
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
for _ in $(seq 100); do ss -Hlun 'sport = :53' | grep -q 127.0.0.1 && break; sleep 0.05; done

export TOLVAREN_BIOS_IMAGE="$root/tests/fixtures/firmware/ident.bin"
echo "tolvaren /d ?d: $("$tool" /d '?d')"
echo "dig -x:         $(dig +short -x 10.77.1.10 @127.0.0.1)"

hyperfine -N --warmup 30 --runs "$runs" --export-json "$work/wall.json" \
  -n "tolvaren /d ?d" "$tool /d ?d" \
  -n "dig -x" "dig +short -x 10.77.1.10 @127.0.0.1" \
  -n "tolvaren /d x" "$tool /d x" \
  -n "tolvaren /s" "$tool /s"

python3 - "$work/wall.json" <<'PY'
import json, sys
# Means and medians: the median is the steadier figure on a busy machine.
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
def ratio(a, b, key):
    return results[a][key] / results[b][key]
for key in ("mean", "median"):
    print(f"{key}:")
    print(f"  /d ?d vs dig -x: {ratio('tolvaren /d ?d', 'dig -x', key):.2f}x")
    print(f"  /d ?d vs /d x:   {ratio('tolvaren /d ?d', 'tolvaren /d x', key):.2f}x (goal at most 1.3x)")
    print(f"  /s vs /d x:      {ratio('tolvaren /s', 'tolvaren /d x', key):.2f}x")
for name, r in results.items():
    print(f"  {name}: mean {r['mean'] * 1e3:.2f} ms, median {r['median'] * 1e3:.2f} ms")
sys.exit(0 if ratio("tolvaren /d ?d", "tolvaren /d x", "median") <= 1.3 else 1)
PY
