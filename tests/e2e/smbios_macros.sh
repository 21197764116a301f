#!/usr/bin/env bash
# The SMBIOS macros and the summary read a saved firmware image named by
# TOLVAREN_BIOS_IMAGE, natively and under Wine.
source "$(dirname "$0")/lib.sh"

IMAGES="$(cd "$HERE/../fixtures/firmware" && pwd)"

use_image() {
  TOLVAREN_BIOS_IMAGE="$(tool_path "$IMAGES/$1")"
  export TOLVAREN_BIOS_IMAGE
}

echo "-- /d acme-?s prints acme- and the system serial number"
use_image ident.bin
run_tool /d 'acme-?s'
expect_lines 0 "acme-ACME-SN-000123"

echo "-- chassis, board, any serial and the UUID as raw bytes"
run_tool /d '?c_?b'
expect_lines 0 "CH-998877-MB-77-0042"
run_tool /d '?a'
expect_lines 0 "ACME-SN-000123"
run_tool /d '?u'
expect_lines 0 "78563412BC9AF0DE123456789ABCDEF0"
run_tool /d '?G'
expect_lines 0 "78563412BC9AF0DE123456789ABCDEF0"

echo "-- ?a falls back to the board serial, inserted with its inner blank"
use_image odd-strings.bin
run_tool /d 'x?a'
expect_lines 0 "xBSN 1"

echo "-- a serial string of index 0 expands to nothing"
use_image defaults.bin
run_tool /d 'pc-?s?c'
expect_lines 0 "pc-"

echo "-- /s shows the identification and no gathering failure line"
use_image ident.bin
run_tool /s
grep -q "^Mainboard manufacturer : Acme Boards${EOL%$'\n'}\$" "$OUT" || fail "no board manufacturer row"
grep -q "^          serial       : ACME-SN-000123${EOL%$'\n'}\$" "$OUT" || fail "no system serial row"
grep -q "^System UUID            : 78563412BC9AF0DE123456789ABCDEF0${EOL%$'\n'}\$" "$OUT" || fail "no UUID row"
grep -q "GetInfo" "$OUT" && fail "a gathering failure line was printed: $(grep GetInfo "$OUT")"
[[ "$STATUS" == 0 ]] || fail "exit status $STATUS"

echo "-- an image that cannot be used ends every action with one Error line"
use_image no-such-image.bin
for action in "/d pc-?s" "/d" "/s" "/display x"; do
  # shellcheck disable=SC2086
  run_tool $action
  expect_one_error 1 "no-such-image.bin"
done
run_tool /?
grep -q "^Error" "$OUT" && fail "the help printed an Error line"
[[ "$STATUS" == 0 ]] || fail "help exit status $STATUS"
unset TOLVAREN_BIOS_IMAGE

# The Linux clock: a zone file that is a FIFO counts as UTC, whether TZ names
# it (as a path, ":path" or a name under TZDIR) or /etc/localtime is one (in
# a private mount namespace); no action may wait on it.
if [[ -z "$RUNNER" ]]; then
  echo "-- a zone file that is a FIFO never holds a run up and reads as UTC"
  zone="$(mktemp -d)"
  mkfifo "$zone/fifo"
  use_image ident.bin
  # run_bounded ENV... -- ARGS... : run_tool under `env ENV...`, ended after 10 s.
  run_bounded() {
    local vars=()
    while [[ "$1" != -- ]]; do vars+=("$1"); shift; done
    shift
    STATUS=0
    env "${vars[@]}" timeout 10 "$TOOL" "$@" </dev/null >"$OUT" || STATUS=$?
  }
  for setting in "TZ=$zone/fifo" "TZ=:$zone/fifo" "TZDIR=$zone TZ=fifo"; do
    # shellcheck disable=SC2086
    run_bounded $setting -- /d plain
    expect_lines 0 "plain"
    for action in /s /j; do
      # shellcheck disable=SC2086
      run_bounded $setting -- "$action"
      [[ "$STATUS" == 0 ]] || fail "$setting $action: exit status $STATUS (124: it hung)"
    done
    today="$(date -u +%d%m%y)"
    # shellcheck disable=SC2086
    run_bounded $setting -- /d '?D?M?Y'
    [[ "$(tr -d '\n' <"$OUT")" == "$today" || "$(date -u +%d%m%y)" != "$today" ]] ||
      fail "$setting: the date is not UTC's: $(cat "$OUT")"
  done
  if have_namespaces -m; then
    unset TZ
    STATUS=0
    timeout 20 unshare -m bash -c 'mount --make-rprivate / && mount --bind "$1" /etc/localtime &&
      "$2" /d plain && "$2" /s >/dev/null && "$2" /j >/dev/null' _ "$zone/fifo" "$TOOL" </dev/null >"$OUT" || STATUS=$?
    expect_lines 0 "plain"
  else
    echo "   (no mount namespace here: /etc/localtime as a FIFO not tried)"
  fi
  rm -rf "$zone"
  unset TOLVAREN_BIOS_IMAGE
fi

finish
