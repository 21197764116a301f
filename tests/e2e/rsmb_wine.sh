#!/usr/bin/env bash
# Wine builds the 'RSMB' firmware table from /sys/class/dmi/id. In a private
# mount namespace this script gives it known strings and runs the Windows
# test that reads them back through the tool's image sources and reader.
#
#   rsmb_wine.sh PLATFORM_TESTS.exe RUNNER
source "$(dirname "$0")/lib.sh"
tests_exe="$1"
runner="$2"

skip_without_namespaces -m

work="$(mktemp -d)"
trap 'rm -rf "$work" "$OUT"' EXIT
printf '0123456789abcdef0123456789abcdef\n' >"$work/machine-id"

export TOLVAREN_EXPECT_SYSTEM_SERIAL="WINE-SN-42"
unshare -m bash -euo pipefail -c '
  mount -t tmpfs tolvaren-dmi /sys/class
  mkdir -p /sys/class/dmi/id
  cd /sys/class/dmi/id
  echo "Tolvaren Test Works" >sys_vendor
  echo "Bench 9" >product_name
  echo "$TOLVAREN_EXPECT_SYSTEM_SERIAL" >product_serial
  echo "Tolvaren Test Works" >board_vendor
  echo "BOARD-77" >board_serial
  echo "Tolvaren Test Works" >chassis_vendor
  echo "CASE-88" >chassis_serial
  echo 3 >chassis_type
  if [[ -f /var/lib/dbus/machine-id ]]; then mount --bind "$1/machine-id" /var/lib/dbus/machine-id; fi
  cd /
  "$2" "$3" --gtest_filter=Win32BiosSources.FirmwareTableCarriesTheMachineStrings </dev/null >"$1/out.txt" 2>&1 || { cat "$1/out.txt"; exit 1; }
  grep -q "\[  PASSED  \] 1 test" "$1/out.txt" || { cat "$1/out.txt"; exit 1; }
' rsmb "$work" "$runner" "$tests_exe"
echo "PASS: the firmware table came back through the reader"
