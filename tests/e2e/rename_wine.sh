#!/usr/bin/env bash
# "/c" on Windows (Wine): the name lands in the registry of the test's own Wine
# prefix, which lives in the build tree.
source "$(dirname "$0")/lib.sh"

export WINEPREFIX="$(dirname "$TOOL")/wineprefix"
export WINEDEBUG=-all

query() {
  "$RUNNER" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {print $3}'
}

echo "-- a name is written through SetComputerNameExA"
run_tool /c "acme_?t"
expect_lines 0 'Computer name successfully changed to "acme-test".  Restart required.'
hostname_value="$(query 'HKLM\System\CurrentControlSet\Services\Tcpip\Parameters' Hostname)"
[[ "$hostname_value" == "acme-test" ]] || fail "Tcpip Hostname is '$hostname_value'"

echo "-- an empty name never reaches the registry"
run_tool /c "***"
expect_lines 1 "Error: No name specified"
hostname_value="$(query 'HKLM\System\CurrentControlSet\Services\Tcpip\Parameters' Hostname)"
[[ "$hostname_value" == "acme-test" ]] || fail "Tcpip Hostname changed to '$hostname_value'"

echo "-- a name /j lists problems for is refused before the system is asked"
# The arguments are UTF-8; Wine hands them to the program in its ANSI code
# page, where é is the byte 0xE9.
long="$(printf 'a%.0s' {1..64})"
while IFS='|' read -r name shown reason; do
  LC_ALL=C.UTF-8 run_tool /c "$name"
  expect_lines 1 "Error: Err #1210 on writing computer name \"$shown\"." "The name $reason."
done <<EOF_NAMES
12345|12345|is made of digits only
$long|$long|is 64 bytes long, more than 63
a.b|a.b|holds ".", but only letters, digits and hyphens are allowed
café|$(printf 'caf\xe9')|holds byte 0xE9, but only letters, digits and hyphens are allowed
EOF_NAMES
hostname_value="$(query 'HKLM\System\CurrentControlSet\Services\Tcpip\Parameters' Hostname)"
[[ "$hostname_value" == "acme-test" ]] || fail "Tcpip Hostname changed to '$hostname_value'"

echo "-- an image that cannot be used renames nothing"
TOLVAREN_BIOS_IMAGE='Z:\no-such-image.bin' run_tool /c "pc?s"
expect_one_error 1 "no-such-image.bin"
hostname_value="$(query 'HKLM\System\CurrentControlSet\Services\Tcpip\Parameters' Hostname)"
[[ "$hostname_value" == "acme-test" ]] || fail "Tcpip Hostname changed to '$hostname_value'"

finish
