#!/usr/bin/env bash
# "/c" on Linux writes /etc/hostname. The test runs the binary in a private
# mount namespace with an overlay over /etc, so the machine's own file is never
# touched; the overlay's upper layer, inside the build tree, shows what the
# binary wrote.
source "$(dirname "$0")/lib.sh"

if ! unshare -m true 2>/dev/null; then
  echo "SKIP: no private mount namespaces here"
  exit 0
fi

work="$(dirname "$TOOL")/e2e-rename"
rm -rf "$work"
mkdir -p "$work/mnt"
original="$(cat /etc/hostname 2>/dev/null || true)"

# in_private_etc COMMAND... : runs COMMAND with /etc writable but private.
in_private_etc() {
  unshare -m bash -c '
    set -e
    mount --make-rprivate /
    mount -t tmpfs tmpfs "$0"
    mkdir "$0/upper" "$0/work"
    mount -t overlay overlay -o lowerdir=/etc,upperdir="$0/upper",workdir="$0/work" /etc
    status=0
    "$@" || status=$?
    cat /etc/hostname > "$0/../hostname-after"
    exit $status
  ' "$work/mnt" "$@"
}

echo "-- a valid name replaces /etc/hostname"
STATUS=0
in_private_etc "$TOOL" /c "web_01" </dev/null >"$OUT" || STATUS=$?
expect_lines 0 'Computer name successfully changed to "web-01".  Restart required.'
[[ "$(cat "$work/hostname-after")" == "web-01" ]] || fail "hostname file holds '$(cat "$work/hostname-after")'"
[[ "$(od -An -c "$work/hostname-after" | tr -d ' ')" == 'web-01\n' ]] || fail "hostname file is not one line"

echo "-- an invalid name is refused with EINVAL and leaves the file as it was"
STATUS=0
in_private_etc "$TOOL" /c "web.example" </dev/null >"$OUT" || STATUS=$?
expect_lines 1 'Error: Err #22 on writing computer name "web.example".' 'The name holds ".", but only letters, digits and hyphens are allowed.'
[[ "$(cat "$work/hostname-after")" == "$original" ]] || fail "hostname changed to '$(cat "$work/hostname-after")'"

echo "-- an image that cannot be used renames nothing"
STATUS=0
TOLVAREN_BIOS_IMAGE="$work/no-such-image.bin" in_private_etc "$TOOL" /c "pc?s" </dev/null >"$OUT" || STATUS=$?
expect_one_error 1 "no-such-image.bin"
[[ "$(cat "$work/hostname-after")" == "$original" ]] || fail "hostname changed to '$(cat "$work/hostname-after")'"

echo "-- the machine's own /etc/hostname is untouched"
[[ "$(cat /etc/hostname 2>/dev/null || true)" == "$original" ]] || fail "/etc/hostname of this machine changed"

rm -rf "$work"
finish
