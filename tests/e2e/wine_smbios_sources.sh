#!/usr/bin/env bash
# The Windows binary under Wine reads the real Win32 paths: the firmware table
# Wine makes up from /sys/class/dmi/id (faked here in a private mount
# namespace), and on XP and 2000 the refused physical-memory section and the
# dump fallback before it.
source "$(dirname "$0")/lib.sh"

export WINEPREFIX="$(cd "$(dirname "$TOOL")" && pwd)/wineprefix"
export TOLVAREN_WINEPREFIX="$WINEPREFIX"
export WINEDEBUG=-all
unset TOLVAREN_BIOS_IMAGE
TEMP_FOLDER="$WINEPREFIX/drive_c/users/$(id -un)/Temp"
SCRATCH="$(mktemp -d "$(dirname "$TOOL")/e2e-wine-smbios.XXXXXX")"
cleanup() {
  for version in winxp win2k; do
    "$RUNNER" reg delete "HKCU\\Software\\Wine\\AppDefaults\\tolvaren-$version.exe" /f >/dev/null 2>&1 || true
  done
  rm -rf "$SCRATCH" "$OUT"
}
trap cleanup EXIT

skip_without_namespaces -m

# Identification as Linux would show it under /sys/class/dmi/id.
DMI="$SCRATCH/dmi"
mkdir -p "$DMI"
printf '%s\n' "Acme Computers" >"$DMI/sys_vendor"
printf '%s\n' "Roadrunner 5000" >"$DMI/product_name"
printf '%s\n' "WINE-SN-4711" >"$DMI/product_serial"
printf '%s\n' "Acme Boards" >"$DMI/board_vendor"
printf '%s\n' "RB-77" >"$DMI/board_name"
printf '%s\n' "WINE-MB-42" >"$DMI/board_serial"
printf '%s\n' "Acme Cases" >"$DMI/chassis_vendor"
printf '%s\n' "3" >"$DMI/chassis_type"
printf '%s\n' "WINE-CH-7" >"$DMI/chassis_serial"
printf '%s\n' "00112233445566778899aabbccddeeff" >"$SCRATCH/machine-id"

# run_faked PROGRAM ARGS... : runs the program under Wine with the faked
# identification; sets OUT and STATUS like run_tool.
run_faked() {
  STATUS=0
  unshare -m bash -c '
    set -e
    dmi="$1" machine_id="$2"
    shift 2
    mount -t tmpfs tmpfs /sys/class
    mkdir -p /sys/class/dmi/id
    cp "$dmi"/* /sys/class/dmi/id/
    [[ -e /var/lib/dbus/machine-id ]] && mount --bind "$machine_id" /var/lib/dbus/machine-id
    [[ -e /etc/machine-id ]] && mount --bind "$machine_id" /etc/machine-id
    exec "$@"
  ' faked "$DMI" "$SCRATCH/machine-id" "$RUNNER" "$@" </dev/null >"$OUT" || STATUS=$?
}

no_dump_left() {
  if compgen -G "$TEMP_FOLDER/~RomDmp*" >/dev/null; then
    fail "the dump fallback left $(ls -d "$TEMP_FOLDER"/~RomDmp*)"
    rm -rf "$TEMP_FOLDER"/~RomDmp*
  fi
}

echo "-- default version: the firmware table gives the identification"
run_faked "$TOOL" /d '?s'
expect_lines 0 "WINE-SN-4711"
run_faked "$TOOL" /d '?c'
expect_lines 0 "WINE-CH-7"
run_faked "$TOOL" /d '?b'
expect_lines 0 "WINE-MB-42"
run_faked "$TOOL" /d '?u'
UUID="$(tr -d '\r\n' <"$OUT")"
[[ "$UUID" =~ ^[0-9A-F]{32}$ ]] || fail "UUID '$UUID' is not 32 hex digits"
[[ "$UUID" != "00000000000000000000000000000000" && "$UUID" != "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF" ]] ||
  fail "UUID '$UUID' is a placeholder"

echo "-- default version: /s prints no gathering failure line"
run_faked "$TOOL" /s
grep -q "GetInfo" "$OUT" && fail "failure line under Wine: $(grep GetInfo "$OUT")"
grep -q "^          serial       : WINE-SN-4711"$'\r'"\$" "$OUT" || fail "no system serial row"

for version in winxp win2k; do
  echo "-- $version: section refused, dump attempted, the firmware table still read"
  copy="$SCRATCH/tolvaren-$version.exe"
  cp "$TOOL" "$copy"
  "$RUNNER" reg add "HKCU\\Software\\Wine\\AppDefaults\\tolvaren-$version.exe" /v Version /d "$version" /f \
    >/dev/null 2>&1
  run_faked "$copy" /d 'acme-?s'
  expect_lines 0 "acme-WINE-SN-4711"
  no_dump_left
done

finish
