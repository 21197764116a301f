#!/usr/bin/env bash
# "/c" on Linux writes /etc/hostname. Each case runs on a private test host
# (private_etc.sh) whose /etc/hostname starts as "oldpc", so the machine's own
# file is never touched.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/private_etc.sh" rename

original="$(cat /etc/hostname 2>/dev/null || true)"
old_host="printf 'oldpc\n' >/etc/hostname"

echo "-- a valid name replaces /etc/hostname, as one line"
on_test_host oldpc "$old_host" /c "web_01"
expect_lines 0 'Computer name successfully changed to "web-01".  Restart required.'
expect_file hostname 'web-01\n'

echo "-- an invalid name is refused with EINVAL and leaves the file as it was"
on_test_host oldpc "$old_host" /c "web.example"
expect_lines 1 'Error: Err #22 on writing computer name "web.example".' 'The name holds ".", but only letters, digits and hyphens are allowed.'
expect_file hostname 'oldpc\n'

echo "-- an image that cannot be used renames nothing"
TOLVAREN_BIOS_IMAGE="$work/no-such-image.bin" on_test_host oldpc "$old_host" /c "pc?s"
expect_one_error 1 "no-such-image.bin"
expect_file hostname 'oldpc\n'

echo "-- the machine's own /etc/hostname is untouched"
[[ "$(cat /etc/hostname 2>/dev/null || true)" == "$original" ]] || fail "/etc/hostname of this machine changed"

rm -rf "$work"
finish
