#!/usr/bin/env bash
# The Ansible collection tolvaren.naming as a user gets it: built with
# ansible-galaxy, installed from its tarball into a fresh path, its module and
# fleet playbook run by their fully qualified names with Debian's ansible-core
# over a local connection on a private test host (private_etc.sh), so the
# machine's own name and files are never touched. Also checks the module's
# documentation against its argument spec and the results of real runs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/private_etc.sh" ansible

root="$(cd "$HERE/../.." && pwd)"
images="$root/tests/fixtures/firmware"
mkdir -p "$work/home" "$work/tmp" "$work/results"
tool="$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")"
# The Python that runs Ansible itself, for the documentation check.
ansible_python="$(sed -n '1s/^#! *//p' "$(command -v ansible-doc)")"

# Ansible keeps its own files in the build tree and speaks plain text.
export ANSIBLE_HOME="$work/home" ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/tmp"
export ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_HOST_KEY_CHECKING=0
export ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 ANSIBLE_COLLECTIONS_PATH="$work/collections"
export ANSIBLE_DEPRECATION_WARNINGS=0 LC_ALL=C.UTF-8

echo "-- the collection installs from its tarball"
tarball="$("$root/scripts/build-collection.sh" "$work/dist")"
ansible-galaxy collection install "$tarball" -p "$work/collections" >"$OUT" 2>&1 ||
  { fail "ansible-galaxy collection install failed"; cat "$OUT"; }
installed="$work/collections/ansible_collections/tolvaren/naming"
[[ -f "$installed/plugins/modules/tolvaren_name.py" && -f "$installed/playbooks/rename.yml" ]] ||
  fail "the installed collection lacks its module or playbook"
# The collection carries the tool's version (completed to three numbers).
collection_version="$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["collection_info"]["version"])' \
  "$installed/MANIFEST.json")"
tool_version="$("$tool" /j </dev/null | python3 -c 'import json, sys; print(json.load(sys.stdin)["version"])')"
[[ "$collection_version" == "$tool_version" || "$collection_version" == "$tool_version.0" ]] ||
  fail "the collection's version $collection_version is not the tool's $tool_version"

# inventory NAME HOST=IMAGE[ VAR=VALUE...]... : an inventory of local hosts,
# each reading one image; all of them run $tool unless a host sets
# tolvaren_path itself.
inventory() {
  local file="$work/$1.ini"
  shift
  echo "[fleet]" >"$file"
  local entry
  for entry in "$@"; do
    echo "${entry%%=*} ansible_connection=local tolvaren_bios_image=$images/${entry#*=}" >>"$file"
  done
  printf '[fleet:vars]\ntolvaren_path=%s\n' "$tool" >>"$file"
  echo "$file"
}

# edited_tool NAME JSON_LIST : a tool whose /j reports get the edits of
# edited_report.py; prints its path.
edited_tool() {
  printf '%s\n' "$2" >"$work/$1.edits"
  printf '#!/bin/sh\nexec python3 %q %q %q "$@"\n' "$HERE/edited_report.py" "$tool" "$work/$1.edits" >"$work/$1"
  chmod +x "$work/$1"
  echo "$work/$1"
}

# The test host is named old-host; its /etc/hostname starts as
# $work/hostname-before (and /etc/krb5.keytab as $work/krb5.keytab-before, when
# that exists). A run of Ansible takes seconds; each may take five minutes.
old_host='cat "$work/hostname-before" >/etc/hostname
if [[ -f "$work/krb5.keytab-before" ]]; then cp "$work/krb5.keytab-before" /etc/krb5.keytab; fi'
TEST_HOST_SECONDS=300

# in_private_host COMMAND... : runs COMMAND on that host; sets STATUS, its
# output and errors in $OUT, /etc/hostname as it ends in $work/after/hostname.
in_private_host() { TEST_HOST_STDERR=out on_test_host_run old-host "$old_host" "$@"; }

# playbook INVENTORY TEMPLATE [OPTIONS...] : runs tolvaren.naming.rename there.
playbook() {
  local inv="$1" template="$2"
  shift 2
  in_private_host ansible-playbook -i "$inv" tolvaren.naming.rename -e "tolvaren_template=$template" "$@"
}

# module INVENTORY HOST ARGS [OPTIONS...] : runs tolvaren.naming.tolvaren_name
# ad hoc there with the host's binary and image (ARGS may name others); the
# output is "HOST | STATUS => {...}".
module() {
  local inv="$1" host="$2" args="path={{ tolvaren_path }} bios_image={{ tolvaren_bios_image }} $3"
  shift 3
  in_private_host ansible -i "$inv" "$host" -m tolvaren.naming.tolvaren_name -o -a "$args" "$@"
}

expect_hostname() { expect_file hostname "$1\n"; }
expect_output() {
  grep -qF -- "$1" "$OUT" || { fail "output lacks: $1"; tail -30 "$OUT"; }
}
expect_status() {
  [[ "$STATUS" == "$1" ]] || { fail "exit status $STATUS, expected $1"; tail -30 "$OUT"; }
}
# keep_result NAME : keeps the last module result for the documentation check.
keep_result() {
  cp "$OUT" "$work/results/$1"
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
cp "$work/after/hostname" "$work/hostname-before"
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
playbook "$(inventory empty blank=defaults.bin)" '?s'
expect_status 2
expect_output "Your name evaluated to a zero-length string"
expect_hostname old-host

echo "-- the module in check mode, one row per case: it fails where tolvaren /c would, with the tool's words"
member="$(edited_tool member '[{"domain": {"name": "EXAMPLE.COM", "source": "/etc/krb5.keytab"}}]')"
newer="$(edited_tool newer '[{"schema_version": 2}]')"
# Each case: the module's arguments, and msg (the whole message of a failure),
# msg_has (part of it), or ok (it succeeds).
MEMBER="$member" NEWER="$newer" python3 - "$work/cases.json" <<'PY'
import json, os, sys
member, newer = os.environ["MEMBER"], os.environ["NEWER"]
json.dump([
    dict(template="acme.?s", msg_has="the name 'acme.ACME-SN-000123' would be refused", code="bad_byte"),
    dict(template="***", image="defaults.bin", msg="No name specified"),
    dict(template=" ,;", image="defaults.bin", msg="No name specified"),
    dict(template="?s", image="defaults.bin", msg="Your name evaluated to a zero-length string"),
    # a report holding "error"
    dict(template="?s" * 300, image="long-strings.bin",
         msg_has="EExpansionTooLong: The name would be longer than 65536 bytes"),
    dict(template="acme-?s", name="acme-?t",
         msg_has="reports 'acme-test' for the approved name 'acme-?t', which is not a plain name"),
    dict(template="acme-?s", path=member,
         msg_has="member of the domain EXAMPLE.COM (shown by /etc/krb5.keytab): its computer account keeps the old name"),
    dict(template="acme-?s", path=newer, msg_has="has schema_version 2, but this module reads schema_version 1 only"),
    dict(template="acme-?s", path=member, allow_domain_member=True, ok=True),
    dict(template="acme-?s", name="acme-ACME-SN-000123", ok=True),
], open(sys.argv[1], "w"))
PY
in_private_host ansible-playbook -i "$one" "$HERE/ansible_cases.yml" -e "cases_file=$work/cases.json" \
  -e "results_file=$work/case-results.json" -e "images_dir=$images"
expect_status 0
expect_hostname old-host
# Checks each result; keeps them for the documentation check, without the
# loop's own keys.
python3 - "$work/cases.json" "$work/case-results.json" "$work/results" <<'PY' || fail "module cases"
import json, os, sys
cases, results = (json.load(open(path)) for path in sys.argv[1:3])
failed = 0
for number, (case, result) in enumerate(zip(cases, results)):
    msg = result.get("msg", "")
    if case.get("ok"):
        good = not result.get("failed") and result.get("name") == "acme-ACME-SN-000123"
    else:
        good = result.get("failed") and (msg == case["msg"] if "msg" in case else case["msg_has"] in msg)
    if "code" in case:
        good = good and [p["code"] for p in result.get("problems", [])] == [case["code"]]
    if not good:
        failed += 1
        print("case %r: %s" % (case["template"][:40], json.dumps(result)[:600]))
    for key in ("item", "ansible_loop_var"):
        result.pop(key, None)
    json.dump(result, open(os.path.join(sys.argv[3], "case-%d" % number), "w"))
sys.exit(1 if failed or len(results) != len(cases) else 0)
PY

echo "-- the rename writes the checked name: a changing answer, random macros"
# The first /j (the check) says pc-alpha, every later one pc-beta: the name
# the check saw is written, never the later answer.
changing="$(edited_tool changing '[{"name": "pc-alpha"}, {"name": "pc-alpha"}, {"name": "pc-beta"}]')"
playbook "$(inventory changing web1="ident.bin tolvaren_path=$changing")" 'pc-?s'
expect_status 0
expect_hostname pc-alpha
printf 'old-host\n' >"$work/hostname-before"
# A random template: the host gets the name the check printed.
playbook "$one" 'pc-?4'
expect_status 0
planned="$(sed -n 's/.*old-host -> \([^:]*\): restart required.*/\1/p' "$OUT" | head -1)"
[[ "$planned" == pc-???? ]] || { fail "no planned name in the output"; tail -30 "$OUT"; }
expect_hostname "$planned"

echo "-- a domain member fails unless allowed; the stop lists it beside collisions and refusals"
module "$one" web1 "template=acme-?s path=$member allow_domain_member=true"
expect_status 0
expect_output '"name": "EXAMPLE.COM"'
keep_result member-renamed
expect_hostname acme-ACME-SN-000123
cp "$work/after/hostname" "$work/hostname-before"
module "$one" web1 "template=acme-?s path=$member"
expect_status 0
expect_output '"changed": false'
printf 'old-host\n' >"$work/hostname-before"
fleet="$(inventory mixed clone-a=ident.bin clone-b=ident.bin long=long-strings.bin "member=q35.bin tolvaren_path=$member")"
playbook "$fleet" 'acme-?s'
expect_status 2
expect_output "hosts would share the name 'acme-acme-sn-000123': clone-a, clone-b"
expect_output "long: the name 'acme-SSSS"
expect_output "member: a member of the domain EXAMPLE.COM (shown by /etc/krb5.keytab)"
expect_hostname old-host
playbook "$(inventory allowed "member=q35.bin tolvaren_path=$member tolvaren_allow_domain_member=true")" 'acme-?s'
expect_status 0
expect_output "old-host -> acme-Q35-SN: restart required"
expect_hostname acme-Q35-SN

# A real host keytab for the old name, where the tool looks for one.
if "$tool" /j </dev/null | python3 -c 'import json, sys; sys.exit("domain" not in json.load(sys.stdin))'; then
  echo "-- a host keytab for the old name: the playbook stops on the member"
  ktutil >/dev/null <<EOF
addent -password -p host/old-host@EXAMPLE.COM -k 1 -e aes256-cts-hmac-sha1-96
not-a-secret
wkt $work/krb5.keytab-before
quit
EOF
  playbook "$(inventory keytab web1=ident.bin)" 'acme-?s'
  expect_status 2
  expect_output "web1: a member of the domain EXAMPLE.COM (shown by /etc/krb5.keytab)"
  expect_hostname old-host
  rm "$work/krb5.keytab-before"
fi

echo "-- hosts that would share a NetBIOS name stop the play before any rename"
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

echo "-- the facts equal the tool's own report (of the approved name, in the last case)"
TOLVAREN_BIOS_IMAGE="$images/ident.bin" on_test_host old-host "$old_host" /j 'acme-ACME-SN-000123'
[[ "$STATUS" == 0 ]] || fail "/j failed"
cp "$OUT" "$work/report"
python3 -c '
import json, sys
line = open(sys.argv[1]).read()
fact = json.loads(line[line.index("{"):])["ansible_facts"]["tolvaren"]
report = json.load(open(sys.argv[2]))
sys.exit(0 if fact == report else 1)
' "$work/results/case-9" "$work/report" || { fail "the fact tolvaren differs from /j"; cat "$work/results/case-9"; }

echo "-- the documentation equals the argument spec and names every returned key"
ansible-doc -j tolvaren.naming.tolvaren_name >"$work/doc.json" 2>"$OUT" || { fail "ansible-doc failed"; cat "$OUT"; }
"$ansible_python" "$HERE/ansible_docs.py" "$installed/plugins/modules/tolvaren_name.py" "$work/doc.json" \
  "$work"/results/* || fail "the module's documentation differs from its code or results"

rm -rf "$work"
finish
