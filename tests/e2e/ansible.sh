#!/usr/bin/env bash
# The Ansible module and the fleet playbook of contrib/ansible, run by Debian's
# ansible-core over a local connection inside a private mount and UTS
# namespace: /etc is an overlay whose upper layer lives in a tmpfs, so the
# machine's own name and files are never touched.
source "$(dirname "$0")/lib.sh"

if ! unshare -mu true 2>/dev/null; then
  echo "SKIP: no private mount and UTS namespaces here"
  exit 0
fi

root="$(cd "$HERE/../.." && pwd)"
images="$root/tests/fixtures/firmware"
work="$(cd "$(dirname "$TOOL")" && pwd)/e2e-ansible"
rm -rf "$work"
mkdir -p "$work/mnt" "$work/home" "$work/tmp"
tool="$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")"

# Ansible keeps its own files in the build tree and speaks plain text.
export ANSIBLE_HOME="$work/home" ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/tmp"
export ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_HOST_KEY_CHECKING=0
export ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_LIBRARY="$root/contrib/ansible/library"
export ANSIBLE_DEPRECATION_WARNINGS=0 LC_ALL=C.UTF-8

# inventory NAME HOST=IMAGE... : an inventory of local hosts, each reading one image.
inventory() {
  local file="$work/$1.ini"
  shift
  echo "[fleet]" >"$file"
  local entry
  for entry in "$@"; do
    echo "${entry%%=*} ansible_connection=local tolvaren_bios_image=$images/${entry#*=}" >>"$file"
  done
  echo "$file"
}

# in_private_host COMMAND... : runs COMMAND as a host named old-host whose
# /etc/hostname starts as "old-host"; /etc/hostname is copied to
# $work/hostname-after when it ends.
in_private_host() {
  unshare -mu bash -c '
    set -e
    mount --make-rprivate /
    mount -t tmpfs tmpfs "$0"
    mkdir "$0/upper" "$0/work"
    mount -t overlay overlay -o lowerdir=/etc,upperdir="$0/upper",workdir="$0/work" /etc
    [[ -f "$0/../hostname-before" ]] && cat "$0/../hostname-before" >/etc/hostname
    hostname old-host
    status=0
    "$@" || status=$?
    cat /etc/hostname >"$0/../hostname-after"
    exit $status
  ' "$work/mnt" "$@"
}

# playbook INVENTORY TEMPLATE [OPTIONS...] : runs rename.yml; sets STATUS, output in $OUT.
playbook() {
  local inv="$1" template="$2"
  shift 2
  STATUS=0
  in_private_host ansible-playbook -i "$inv" "$root/contrib/ansible/rename.yml" \
    -e "tolvaren_template=$template" -e "tolvaren_path=$tool" "$@" </dev/null >"$OUT" 2>&1 || STATUS=$?
}

expect_hostname() {
  [[ "$(cat "$work/hostname-after")" == "$1" ]] || fail "/etc/hostname holds '$(cat "$work/hostname-after")', expected '$1'"
}
expect_output() {
  grep -qF -- "$1" "$OUT" || { fail "output lacks: $1"; tail -30 "$OUT"; }
}
expect_status() {
  [[ "$STATUS" == "$1" ]] || { fail "ansible-playbook exit status $STATUS, expected $1"; tail -30 "$OUT"; }
}

one="$(inventory one web1=ident.bin)"
printf 'old-host\n' >"$work/hostname-before"

echo "-- check mode reports the rename and changes nothing"
playbook "$one" 'acme-?s' --check --diff
expect_status 0
expect_output "changed=2"
expect_output "+acme-ACME-SN-000123"
expect_hostname old-host

echo "-- the first run renames, and says a restart is needed"
playbook "$one" 'acme-?s'
expect_status 0
expect_output "old-host -> acme-ACME-SN-000123: restart required"
expect_hostname acme-ACME-SN-000123

echo "-- the second run changes nothing"
cp "$work/hostname-after" "$work/hostname-before"
playbook "$one" 'acme-?s'
expect_status 0
expect_output "changed=0"
expect_hostname acme-ACME-SN-000123

echo "-- a name the system would refuse fails the play, and the module in check mode too; nothing renamed"
printf 'old-host\n' >"$work/hostname-before"
playbook "$one" 'acme.?s'
expect_status 2
expect_output "web1: the name 'acme.ACME-SN-000123' would be refused"
expect_hostname old-host
STATUS=0
in_private_host ansible -i "$one" web1 -m tolvaren_name -o --check \
  -a "template=acme.?s path=$tool bios_image=$images/ident.bin" </dev/null >"$OUT" 2>&1 || STATUS=$?
expect_status 2
expect_output "web1 | FAILED! =>"
expect_output "would be refused"
expect_hostname old-host

echo "-- hosts that would share a name or a NetBIOS name stop the play before any rename"
fleet="$(inventory fleet clone-a=ident.bin clone-b=ident.bin other=q35.bin)"
playbook "$fleet" 'acme-?s'
expect_status 2
expect_output "hosts would share the name 'acme-acme-sn-000123': clone-a, clone-b"
expect_hostname old-host
fleet="$(inventory netbios vm-a=q35.bin vm-b=smbios24.bin)"
playbook "$fleet" 'fleet-machine-x-?s'
expect_status 2
expect_output "hosts would share the NetBIOS name 'FLEET-MACHINE-X': vm-a, vm-b"
expect_hostname old-host

# Two real machines of different makers that both left "To be filled by
# O.E.M." as their serial number (the shared fixtures, when present).
shared="$root/../shared/fixtures/smbios/u-root"
if [[ -f "$shared/MSI-MS-7816.bin" && -f "$shared/Synology-RS3614xsp.bin" ]]; then
  echo "-- a maker's placeholder serial number: a warning, and the collision stop"
  images="$shared"
  fleet="$(inventory placeholder desk=MSI-MS-7816.bin nas=Synology-RS3614xsp.bin)"
  images="$root/tests/fixtures/firmware"
  playbook "$fleet" 'acme-?s'
  expect_status 2
  expect_output "[WARNING]: ?s took"
  expect_output "hosts would share the name 'acme-to be filled by o.e.m.': desk, nas"
  expect_output "desk: the name 'acme-To be filled by O.E.M.' would be refused"
  expect_hostname old-host
fi

echo "-- the facts equal the tool's own report"
in_private_host ansible -i "$one" web1 -m tolvaren_name -o --check \
  -a "template=acme-?s path=$tool bios_image=$images/ident.bin" </dev/null >"$work/facts" 2>&1 || true
in_private_host env TOLVAREN_BIOS_IMAGE="$images/ident.bin" "$tool" /j 'acme-?s' </dev/null >"$work/report" ||
  fail "/j failed"
python3 -c '
import json, sys
line = open(sys.argv[1]).read()
fact = json.loads(line[line.index("{"):])["ansible_facts"]["tolvaren"]
report = json.load(open(sys.argv[2]))
sys.exit(0 if fact == report else 1)
' "$work/facts" "$work/report" || { fail "the fact tolvaren differs from /j"; cat "$work/facts"; }

rm -rf "$work"
finish
