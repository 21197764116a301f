#!/usr/bin/env bash
# /j on a private test host (as network_host.sh makes one: a veth adapter with
# its own address and MAC, a host name, dnsmasq with a PTR record on
# loopback) for the committed firmware images and the shared real-machine
# fixtures: every report is valid against doc/tolvaren-report.schema.json and
# holds what /s and /d print on the same host. The reverse lookup runs only
# for a template with "?d".
#
#   json_report.sh TOOL [RUNNER [NATIVE_TOOL]]
# With a RUNNER (Wine) the Windows binary runs with a prefix of its own in the
# build tree, and its reports must equal those of NATIVE_TOOL, when built.
if [[ -z "${TOLVAREN_TEST_HOST:-}" ]]; then
  if ! unshare -n -m -u true 2>/dev/null; then
    echo "SKIP: no private network namespaces here"
    exit 0
  fi
  if [[ ! -x /usr/sbin/dnsmasq ]] || ! python3 -c 'import jsonschema' 2>/dev/null; then
    echo "SKIP: dnsmasq or python3-jsonschema missing"
    exit 0
  fi
  exec unshare -n -m -u env TOLVAREN_TEST_HOST=1 bash "$0" "$@"
fi

source "$(dirname "$0")/lib.sh"
NATIVE="${3:-}"
[[ -n "$NATIVE" && ! -x "$NATIVE" ]] && NATIVE=""
SCHEMA="$HERE/../../doc/tolvaren-report.schema.json"
SHARED="$HERE/../../../shared/fixtures/smbios"

work="$(cd "$(dirname "$TOOL")" && pwd)/e2e-json"
rm -rf "$work/runs"
mkdir -p "$work/runs"
pids=()
cleanup() {
  if [[ -n "$RUNNER" ]]; then WINEPREFIX="$work/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -f "$OUT"
}
trap cleanup EXIT

mount --make-rprivate /
mount -t sysfs sysfs /sys
if [[ -n "$RUNNER" ]]; then WINEPREFIX="$work/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
ip link set lo up
ip link add v0 address 02:11:22:33:44:55 type veth peer name v1
ip addr add 10.77.1.10/24 dev v0
ip link set v0 up
ip link set v1 up
ip route add default via 10.77.1.1 dev v0
hostname json-host.example.test
resolv="$work/resolv.conf"
printf 'nameserver 127.0.0.1\n' >"$resolv"
mount --bind "$resolv" /etc/resolv.conf
/usr/sbin/dnsmasq --keep-in-foreground --conf-file=/dev/null --no-resolv --no-hosts --pid-file= \
  --log-facility=/dev/null --bind-interfaces --listen-address=127.0.0.1 \
  --ptr-record=10.1.77.10.in-addr.arpa,json-pc.example.test &
pids+=($!)
ready="$work/responder.ready"
rm -f "$ready"
python3 "$HERE/dns_responder.py" 127.0.0.2=silent >"$ready" &
pids+=($!)
for _ in $(seq 100); do
  [[ -s "$ready" ]] && ss -Hlun 'sport = :53' | grep -q 127.0.0.1 && break
  sleep 0.05
done
if [[ -n "$RUNNER" ]]; then export TOLVAREN_WINEPREFIX="$work/wineprefix"; fi

# image_variable PATH : TOLVAREN_BIOS_IMAGE as the binary under test reads it.
image_variable() {
  if [[ -n "$RUNNER" ]]; then
    local path="$1"
    echo "Z:${path//\//\\}"
  else
    echo "$1"
  fi
}

TEMPLATE='pc-?s-?c-?b-?a-?u-?G-?i?d'
checks="$work/checks"
: >"$checks"
checked=0
# check_image NAME PATH [all] : /j TEMPLATE, /s and /d TEMPLATE on that
# firmware (with "all" also /j without a template), each report noted in
# $checks for check_report.py with what it must equal.
check_image() {
  local base="$work/runs/$1"
  export TOLVAREN_BIOS_IMAGE="$(image_variable "$2")"
  run_tool /j "$TEMPLATE" && cp "$OUT" "$base.json"
  [[ "$STATUS" == 0 ]] || fail "$1: /j exit status $STATUS"
  run_tool /s && cp "$OUT" "$base.s"
  run_tool /d "$TEMPLATE" && cp "$OUT" "$base.dt"
  printf '%q --summary %q --current %q --display %q\n' "$base.json" "$base.s" "$work/current" "$base.dt" >>"$checks"
  if [[ "${3:-}" == all ]]; then
    run_tool /j && cp "$OUT" "$base.plain.json"
    printf '%q --summary %q --current %q\n' "$base.plain.json" "$base.s" "$work/current" >>"$checks"
  fi
  unset TOLVAREN_BIOS_IMAGE
  if [[ -n "$RUNNER" && -n "$NATIVE" ]]; then
    TOLVAREN_BIOS_IMAGE="$2" "$NATIVE" /j "$TEMPLATE" </dev/null >"$base.native.json"
    printf '%q --same-as %q\n' "$base.json" "$base.native.json" >>"$checks"
  fi
  checked=$((checked + 1))
}

if [[ -n "$RUNNER" ]]; then
  echo "-- Wine starts in the test host (a prefix of its own)"
  run_tool /d x
fi

run_tool /d && cp "$OUT" "$work/current"

echo "-- the committed firmware images"
for image in "$HERE"/../fixtures/firmware/*.bin; do
  check_image "$(basename "$image" .bin)" "$image" all
done

if [[ -d "$SHARED" && -z "$RUNNER" ]]; then
  echo "-- the shared real-machine fixtures"
  for image in "$SHARED"/u-root/*.bin "$SHARED"/python-dmidecode/* "$SHARED"/libsmbios-area/*.area \
    "$SHARED"/rsmb/*.rsmb "$SHARED"/sysfs/* "$SHARED"/libsmbios/*/bios.area; do
    name="${image#"$SHARED"/}"
    check_image "${name//\//_}" "$image"
  done
fi
echo "   $checked machines; every report against the schema, /s and /d"
python3 "$HERE/check_report.py" "$SCHEMA" --batch "$checks" || fail "reports differ from the schema, /s or /d"

echo "-- the report holds the host's network and the reverse name"
report="$work/runs/ident.json"
python3 - "$report" <<'PY' || fail "network values of the report"
import json, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
n = r["network"]
assert n["mac"] == "02:11:22:33:44:55" and n["ip"] == "10.77.1.10", n
assert n["ip_addresses"] == ["10.77.1.10"] and n["mac_addresses"] == ["02:11:22:33:44:55"], n
assert n["dns_host_name"] == "json-host" and n["dns_servers"] == ["127.0.0.1"], n
assert r["name"] == "pc-ACME-SN-000123-CH-998877-MB-77-0042-ACME-SN-000123-" \
    "78563412BC9AF0DE123456789ABCDEF0-78563412BC9AF0DE123456789ABCDEF0-10json-pc", r["name"]
assert r["warnings"] == [{"kind": "netbios_truncated", "macro": "", "field": "netbios_name",
                          "text": "PC-ACME-SN-0001", "message": r["warnings"][0]["message"]}], r["warnings"]
PY

msi="$work/runs/u-root_MSI-MS-7816.bin.json"
if [[ -f "$msi" ]]; then
  echo "-- placeholder serials and UUID of a real board name their fields"
  python3 - "$msi" <<'PY' || fail "placeholder warnings of MSI-MS-7816"
import json, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
got = [(w["kind"], w["macro"], w["field"], w["text"]) for w in r["warnings"]]
filler = "To be filled by O.E.M."
assert got[:5] == [("placeholder", "?s", "system.serial", filler), ("placeholder", "?c", "chassis.serial", filler),
                   ("placeholder", "?b", "board.serial", filler), ("placeholder", "?a", "system.serial", filler),
                   ("placeholder", "?u", "uuid", "F" * 32)], got
PY
fi

echo "-- a silent DNS server: /j without ?d asks nothing, so it does not wait"
printf 'nameserver 127.0.0.2\n' >"$resolv"
export TOLVAREN_BIOS_IMAGE="$(image_variable "$HERE/../fixtures/firmware/uuid-ff.bin")"
start=$(date +%s%N)
run_tool /j 'pc-?i?G'
taken=$((($(date +%s%N) - start) / 1000000))
((taken < 1500)) || fail "/j without ?d took $taken ms"
grep -q '"name":"pc-1000000000000000000000021122334455"' "$OUT" || fail "unexpected name: $(cat "$OUT")"
grep -q '"kind":"\(empty\|placeholder\)"' "$OUT" && fail "unexpected warnings: $(cat "$OUT")"
run_tool /j 'pc-?d'
grep -q '"name":"pc-".*{"kind":"empty","macro":"?d","field":"network.dns_name","text":""' "$OUT" ||
  fail "no empty ?d warning: $(cat "$OUT")"
unset TOLVAREN_BIOS_IMAGE

finish
