#!/usr/bin/env bash
# Makes real firmware images for the SMBIOS tests: boots QEMU's SeaBIOS with
# chosen identification strings, saves physical 0xE0000 to 0xFFFFF through
# QMP, and records dmidecode's reading of each image beside it.
#
#   scripts/make-firmware-images.sh [OUTPUT_DIR]     (default tests/fixtures/firmware)
#
# For each variant NAME it writes:
#   NAME.bin              the 131,072-byte area image
#   NAME.dmidecode.txt    dmidecode -t 0,1,2,3
#   NAME.strings.txt      keyword=value, the first line of dmidecode -s keyword
# Images differ in a few bytes of SeaBIOS run-time data from run to run; the
# tables do not.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# QEMU, OVMF and dmidecode, when missing.
"$root/scripts/install-deps.sh" --firmware-images
out="${1:-$root/tests/fixtures/firmware}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

deadline_seconds=20
keywords=(bios-vendor bios-version bios-release-date
  system-manufacturer system-product-name system-version system-serial-number system-uuid
  baseboard-manufacturer baseboard-product-name baseboard-version baseboard-serial-number
  chassis-manufacturer chassis-type chassis-version chassis-serial-number)

# save_area IMAGE QEMU_ARGS...: boots, saves the area, quits; QEMU is ended
# by its own PID when it outlives the deadline.
save_area() {
  local image="$1"
  shift
  rm -f "$image"
  {
    sleep "${post_seconds:-1}" # SeaBIOS finishes its POST in about 0.1 s under TCG, OVMF in 3-4 s
    echo '{"execute":"qmp_capabilities"}'
    echo "{\"execute\":\"pmemsave\",\"arguments\":{\"val\":917504,\"size\":131072,\"filename\":\"$image\"}}"
    sleep 0.5
    echo '{"execute":"quit"}'
  } | qemu-system-x86_64 -accel tcg -display none -nodefaults -nic none -no-reboot -m 128 \
    -qmp stdio "$@" >"$work/qmp.log" 2>&1 &
  local pid=$!
  local waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if ((waited >= deadline_seconds * 10)); then
      kill "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$pid" 2>/dev/null || true
  if [[ ! -f "$image" || "$(stat -c %s "$image")" != 131072 ]]; then
    echo "no image from QEMU for $image:" >&2
    cat "$work/qmp.log" >&2
    return 1
  fi
}

# variant NAME QEMU_ARGS...  (a table too big for the area goes to the top
# of RAM, where dmidecode cannot read it from the image either)
variant() {
  local name="$1"
  shift
  echo "== $name"
  save_area "$out/$name.bin" "$@"
  # dmidecode reads a memory device: the image goes at 0xE0000 of a sparse
  # 1 MiB file. --no-sysfs keeps it from reading this machine's own tables.
  local mem="$work/mem"
  rm -f "$mem"
  truncate -s 1M "$mem"
  dd if="$out/$name.bin" of="$mem" bs=4096 seek=$((0xE0000 / 4096)) conv=notrunc status=none
  dmidecode --no-sysfs --dev-mem "$mem" -t 0,1,2,3 2>&1 | sed "s|$mem|$name.bin at 0xE0000|" >"$out/$name.dmidecode.txt"
  : >"$out/$name.strings.txt"
  local k
  for k in "${keywords[@]}"; do
    printf '%s=%s\n' "$k" "$(dmidecode --no-sysfs --dev-mem "$mem" -s "$k" 2>/dev/null | head -n 1)" >>"$out/$name.strings.txt"
  done
}

pound=$'\xA3'
tab=$'\t'

variant ident -machine pc \
  -smbios "type=0,vendor=Tolvaren BIOS,version=TV-1.02,date=03/14/2025" \
  -smbios "type=1,manufacturer=Acme Computers,product=Roadrunner 5000,version=Rev B,serial=ACME-SN-000123,uuid=12345678-9abc-def0-1234-56789abcdef0,sku=RR5K,family=Roadrunner" \
  -smbios "type=2,manufacturer=Acme Boards,product=RB-77,version=2.1,serial=MB-77-0042" \
  -smbios "type=3,manufacturer=Acme Cases,version=C3,serial=CH-998877"

variant odd-strings -machine pc \
  -smbios "type=1,manufacturer=  Padded Maker  ,product=Pound ${pound} Model,version=${tab}Tabbed${tab},serial=" \
  -smbios "type=2,manufacturer= ,product=Board ${pound}${pound},serial=   BSN 1   " \
  -smbios "type=3,manufacturer=Case Maker,serial=,version=    "

variant uuid-ff -machine pc \
  -smbios "type=1,manufacturer=Acme,product=All Ones,serial=FF-1,uuid=ffffffff-ffff-ffff-ffff-ffffffffffff"

variant uuid-00 -machine pc \
  -smbios "type=1,manufacturer=Acme,product=All Zeros,serial=00-1,uuid=00000000-0000-0000-0000-000000000000"

variant long-strings -machine pc \
  -smbios "type=0,vendor=V,version=1,date=1" -smbios "type=3,manufacturer=C,version=2" \
  -smbios "type=1,manufacturer=Acme,product=P,serial=$(printf 'S%.0s' {1..259})Z,version=after-long"

variant two-sockets -machine pc -smp 2,sockets=2 \
  -smbios "type=1,manufacturer=Acme,product=Dual,serial=DUAL-2" \
  -smbios "type=2,manufacturer=Acme Boards,serial=MB-DUAL"

variant table-outside -machine pc -smp 8,sockets=8 \
  -smbios "type=1,manufacturer=Acme,product=Quad,serial=QUAD-4"

variant smbios24 -machine pc-i440fx-1.4 \
  -smbios "type=0,vendor=Old Vendor,version=0.9" \
  -smbios "type=1,manufacturer=Vintage,product=Old Faithful,version=1,serial=OLD-24,uuid=12345678-9abc-def0-1234-56789abcdef0"

variant q35 -machine q35 \
  -smbios "type=1,manufacturer=Q Corp,product=Q Box,serial=Q35-SN,uuid=a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90" \
  -smbios "type=2,manufacturer=Q Boards,product=QB,version=v9,serial=QB-SN" \
  -smbios "type=3,manufacturer=Q Cases,version=QC,serial=QC-SN"

variant defaults -machine pc

# UEFI: the legacy area holds only ROM, the tables lie in high memory.
if [[ -f /usr/share/ovmf/OVMF.fd ]]; then
  post_seconds=6 variant ovmf -machine q35 -bios /usr/share/ovmf/OVMF.fd \
    -smbios "type=1,manufacturer=Acme,product=UEFI Box,serial=UEFI-1"
fi

echo "images and readings in $out"
