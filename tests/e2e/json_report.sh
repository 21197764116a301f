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
PRIVATE_HOST_PYTHON_MODULE=jsonschema
source "$(dirname "$0")/private_host.sh"
NATIVE="${3:-}"
[[ -n "$NATIVE" && ! -x "$NATIVE" ]] && NATIVE=""
SCHEMA="$HERE/../../doc/tolvaren-report.schema.json"
SHARED="$HERE/../../../shared/fixtures/smbios"

work="$(cd "$(dirname "$TOOL")" && pwd)/e2e-json"
rm -rf "$work/runs"
mkdir -p "$work/runs"
trap 'stop_private_host; rm -f "$OUT"' EXIT
private_host_up "$work" json-host.example.test
servers 127.0.0.1
start_dns_servers json-pc.example.test 127.0.0.2=silent
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

echo "-- an unusable saved image: /j still answers with one JSON object, holding the error"
export TOLVAREN_BIOS_IMAGE="$(image_variable "$work/no-such-image.bin")"
run_tool /j 'pc-?s'
[[ "$STATUS" == 1 ]] || fail "/j with an unusable image: exit status $STATUS"
grep -q '"error":"Cannot use the BIOS image .*no-such-image.bin' "$OUT" || fail "no error naming the image: $(cat "$OUT")"
cp "$OUT" "$work/runs/error.json"
unset TOLVAREN_BIOS_IMAGE
printf '%q\n' "$work/runs/error.json" >"$checks"

if [[ -z "$RUNNER" ]]; then
  echo "-- control bytes in the host name: /s and /d show dots, /j escapes them"
  printf 'ctl\033[2J\rpc' >/proc/sys/kernel/hostname
  run_tool /j && cp "$OUT" "$work/runs/control.json"
  grep -q '"current_name":"CTL\\u001b\[2J\\rPC"' "$OUT" || fail "/j current_name: $(cat "$OUT")"
  run_tool /s && cp "$OUT" "$work/runs/control.s"
  run_tool /d && cp "$OUT" "$work/runs/control.d"
  grep -q $'[\r\033]' "$work/runs/control.s" "$work/runs/control.d" && fail "a control byte reached /s or /d"
  printf '%q --summary %q --current %q\n' "$work/runs/control.json" "$work/runs/control.s" "$work/runs/control.d" >>"$checks"
  hostname json-host.example.test
fi
python3 "$HERE/check_report.py" "$SCHEMA" --batch "$checks" || fail "the error or control-byte report"

finish
