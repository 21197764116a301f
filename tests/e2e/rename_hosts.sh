#!/usr/bin/env bash
# What "/c" changes on Linux beside /etc/hostname: the old names on the
# loopback lines of /etc/hosts (loopback names kept), a link standing for
# /etc/hostname, its comments, temporary files a killed run left, one writer
# at a time, the reasons of a refused write and the cloud-init warning. Each
# case runs on a private test host (private_etc.sh), so the machine's own
# files and name are never touched.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/private_etc.sh" rename-hosts

ok='Computer name successfully changed to "newpc".  Restart required.'

echo "-- Debian layout: the 127.0.1.1 line takes the new name, nothing else changes"
debian='127.0.0.1\tlocalhost\n127.0.1.1\toldpc\n\n# The following lines are desirable for IPv6 capable hosts\n::1     localhost ip6-localhost ip6-loopback\nff02::1 ip6-allnodes\n'
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; printf '$debian' >/etc/hosts; chmod 600 /etc/hosts; chown 4242:4343 /etc/hosts" /c newpc
expect_lines 0 "$ok"
expect_file hostname 'newpc\n'
expect_file hosts "${debian/oldpc/newpc}"
expect_file hosts.stat '600 4242 4343\n'
[[ -s "$work/after/leftovers" ]] && fail "temporary files left: $(cat "$work/after/leftovers")"

echo "-- the FQDN first keeps its domain; IPv6 loopback lines too; other addresses stay"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; printf '127.0.1.1 oldpc.example.org oldpc\n::1 localhost OLDPC\n10.0.0.5 oldpc\n' >/etc/hosts" /c newpc
expect_lines 0 "$ok"
expect_file hosts '127.0.1.1 newpc.example.org newpc\n::1 localhost newpc\n10.0.0.5 oldpc\n'

echo "-- the running name and the static name both count; longer words stay"
on_test_host running "printf 'static\n' >/etc/hostname; printf '127.0.0.1 localhost running\n127.0.1.1 static static2 my-static # static\n' >/etc/hosts" /c newpc
expect_lines 0 "$ok"
expect_file hosts '127.0.0.1 localhost newpc\n127.0.1.1 newpc static2 my-static # static\n'

echo "-- a hosts file without the old name is not touched"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; printf '127.0.0.1 localhost\n' >/etc/hosts; touch -d 2001-01-01 /etc/hosts" /c newpc
expect_lines 0 "$ok"
expect_file hosts '127.0.0.1 localhost\n'
[[ "$(cat "$work/after/hosts.time")" == 2001-01-01* ]] || fail "/etc/hosts was rewritten"

echo "-- a read-only hosts file: the name is written, the hosts failure is a warning"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; printf '127.0.1.1 oldpc\n' >/etc/hosts; mount --bind /etc/hosts /etc/hosts; mount -o remount,ro,bind /etc/hosts" /c newpc
expect_file hostname 'newpc\n'
expect_file hosts '127.0.1.1 oldpc\n'
[[ "$STATUS" == 0 ]] || fail "exit status $STATUS"
[[ "$(head -1 "$OUT")" == "$ok" ]] || fail "first line: $(head -1 "$OUT")"
grep -qx 'Warning: /etc/hosts was not updated (.*), so its loopback lines still name the old name' "$OUT" ||
  fail "no hosts warning: $(cat "$OUT")"
[[ "$(wc -l <"$OUT")" == 2 ]] || fail "not two lines: $(cat "$OUT")"

echo "-- /etc/hostname a link: its target gets the name, keeps mode and owner; leftovers go"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname.real; chmod 600 /etc/hostname.real; chown 4242:4343 /etc/hostname.real; ln -s hostname.real /etc/hostname; printf 'half' >/etc/hostname.real.tolvaren-Ab12Cd; printf 'x' >/etc/hostname.tolvaren-zz" /c newpc
expect_lines 0 "$ok"
expect_file hostname 'newpc\n'
expect_file hostname.stat '600 4242 4343\n'
[[ "$(cat "$work/after/hostname.kind" 2>/dev/null)" == link ]] || fail "/etc/hostname is no longer a link"
expect_file leftovers 'hostname.tolvaren-zz\n' # not of mkstemp's form: not ours

echo "-- loopback names stay; the new name joins them where the old name was one"
debian_lo='127.0.0.1\tlocalhost\n::1 localhost ip6-localhost ip6-loopback\n'
fedora_lo='127.0.0.1 localhost localhost.localdomain localhost4\n::1 localhost localhost.localdomain localhost6\n'
while IFS='|' read -r what running setup hosts_after; do
  echo "   $what"
  on_test_host "$running" "$setup" /c newpc
  expect_lines 0 "$ok"
  expect_file hosts "$hosts_after"
done <<ROWS
systemd fallback: running localhost, no /etc/hostname|localhost|printf '$debian_lo' >/etc/hosts|127.0.0.1\tlocalhost newpc\n::1 localhost ip6-localhost ip6-loopback newpc\n
Fedora: localhost.localdomain in /etc/hostname|localhost|printf 'localhost.localdomain\n' >/etc/hostname; printf '$fedora_lo' >/etc/hosts|127.0.0.1 localhost localhost.localdomain localhost4 newpc\n::1 localhost localhost.localdomain localhost6 newpc\n
Debian 127.0.1.1 line, running localhost|localhost|printf 'oldpc\n' >/etc/hostname; printf '127.0.0.1 localhost\n127.0.1.1 oldpc\n' >/etc/hosts|127.0.0.1 localhost newpc\n127.0.1.1 newpc\n
loopback as inet_aton spells it|oldpc|printf 'oldpc\n' >/etc/hostname; printf '127.1 oldpc\n0177.0.0.1 oldpc\n127.000.000.001 oldpc\n10.1 oldpc\n' >/etc/hosts|127.1 newpc\n0177.0.0.1 newpc\n127.000.000.001 newpc\n10.1 oldpc\n
ROWS
echo "   localhost and the new name resolve through /etc/hosts"
on_test_host localhost "printf '$debian_lo' >/etc/hosts; \"\$1\" /c newpc >/dev/null; for n in localhost newpc; do getent ahostsv4 \$n | awk '{print \$1}' | sort -u >\"\$work/after/\$n.getent\"; done" /d
for n in localhost newpc; do
  [[ "$(cat "$work/after/$n.getent")" == 127.0.0.1 ]] || fail "$n resolves to: $(cat "$work/after/$n.getent")"
done

echo "-- /etc/hostname as administrators write it: comments stay and do not hide the name"
long_comment="$(printf '#%.0s' {1..200})"
while IFS='|' read -r what before after; do
  echo "   $what"
  on_test_host running "printf '$before' >/etc/hostname; printf '127.0.1.1 oldpc\n' >/etc/hosts" /c newpc
  expect_lines 0 "$ok"
  expect_file hostname "$after"
  expect_file hosts '127.0.1.1 newpc\n'
done <<ROWS
comment lines kept|# set by the installer\n\noldpc\n|# set by the installer\n\nnewpc\n
an inline comment|oldpc # the lab PC\n|newpc\n
a byte-order mark|\xef\xbb\xbfoldpc\n|newpc\n
a comment block longer than a page|$(for i in {1..30}; do printf '%s\\n' "$long_comment"; done)oldpc\n|$(for i in {1..30}; do printf '%s\\n' "$long_comment"; done)newpc\n
ROWS

echo "-- forty runs at once: one writer at a time, all succeed, both files name the last writer's name"
concurrent='printf "oldpc\n" >/etc/hostname; printf "127.0.0.1 localhost\n127.0.1.1 oldpc\n" >/etc/hosts
for i in $(seq 40); do "$1" /c "pc$i" >"$work/after/out$i" & done; wait
cp /etc/hostname "$work/after/hostname.concurrent"; cp /etc/hosts "$work/after/hosts.concurrent"'
on_test_host oldpc "$concurrent" /d
for i in $(seq 40); do
  [[ "$(cat "$work/after/out$i")" == "Computer name successfully changed to \"pc$i\".  Restart required." ]] ||
    fail "run $i: $(cat "$work/after/out$i")"
done
last="$(cat "$work/after/hostname.concurrent")"
[[ "$last" =~ ^pc[0-9]+$ ]] || fail "/etc/hostname: $last"
[[ "$(cat "$work/after/hosts.concurrent")" == "$(printf '127.0.0.1 localhost\n127.0.1.1 %s' "$last")" ]] ||
  fail "/etc/hosts does not name $last: $(cat "$work/after/hosts.concurrent")"
[[ -s "$work/after/leftovers" ]] && fail "temporary files left: $(cat "$work/after/leftovers")"

echo "-- a refused write names the file and the system's reason"
while IFS='|' read -r what setup code reason; do
  echo "   $what"
  on_test_host oldpc "$setup" /c newpc
  expect_lines 1 "Error: Err #$code on writing computer name \"newpc\"." "$reason"
done <<ROWS
a read-only /etc|printf 'oldpc\n' >/etc/hostname; mount -o remount,ro /etc|30|/etc/hostname: Read-only file system
/etc/hostname a folder|mkdir /etc/hostname|21|/etc/hostname: Is a directory
ROWS

echo "-- cloud-init without preserve_hostname: a warning after the outcome line"
cloud='mkdir -p /etc/cloud/cloud.cfg.d; printf "users: [default]\n" >/etc/cloud/cloud.cfg'
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; $cloud" /c newpc
expect_lines 0 "$ok" 'Warning: cloud-init may set the old name again at the next boot; to keep the new one, set "preserve_hostname: true" in /etc/cloud/cloud.cfg or in a file of /etc/cloud/cloud.cfg.d/'

echo "-- cloud-init with preserve_hostname: true in a drop-in: no warning"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; $cloud; printf 'preserve_hostname: true\n' >/etc/cloud/cloud.cfg.d/99-keep.cfg" /c newpc
expect_lines 0 "$ok"

echo "-- cloud-init: what it does to /etc/hosts, and what the check cannot tell"
could_not='Warning: cloud-init'"'"'s configuration could not be read with certainty (%s), so it cannot be told whether cloud-init sets the old name again at the next boot or rewrites /etc/hosts; to keep the new name, set "preserve_hostname: true" in /etc/cloud/cloud.cfg or in a file of /etc/cloud/cloud.cfg.d/'
while IFS='|' read -r what setup warning; do
  echo "   $what"
  on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; $cloud; $setup" /c newpc
  expect_lines 0 "$ok" "$warning"
done <<ROWS
manage_etc_hosts true|printf 'manage_etc_hosts: true\n' >/etc/cloud/cloud.cfg.d/10-hosts.cfg|Warning: cloud-init may set the old name again at the next boot and rewrites /etc/hosts at every boot ("manage_etc_hosts" is set); to keep the new one, set "preserve_hostname: true" in /etc/cloud/cloud.cfg or in a file of /etc/cloud/cloud.cfg.d/
preserved, manage_etc_hosts template|printf 'preserve_hostname: true\nmanage_etc_hosts: template\n' >/etc/cloud/cloud.cfg.d/10-hosts.cfg|Warning: cloud-init rewrites /etc/hosts at every boot ("manage_etc_hosts" is set), so that file may not keep the new name
a drop-in with a byte-order mark|printf '\xef\xbb\xbfpreserve_hostname: true\n' >/etc/cloud/cloud.cfg.d/99-keep.cfg|$(printf "$could_not" "/etc/cloud/cloud.cfg.d/99-keep.cfg: it starts with a byte-order mark")
a quoted key|printf '"preserve_hostname": true\n' >/etc/cloud/cloud.cfg.d/99-keep.cfg|$(printf "$could_not" '/etc/cloud/cloud.cfg.d/99-keep.cfg: a top-level line is no plain "key: value" setting')
an anchor|printf 'x: &t true\npreserve_hostname: *t\n' >/etc/cloud/cloud.cfg.d/99-keep.cfg|$(printf "$could_not" '/etc/cloud/cloud.cfg.d/99-keep.cfg: the value of "preserve_hostname" carries an anchor, alias or tag')
a drop-in that cannot be read|mkfifo /etc/cloud/cloud.cfg.d/99-keep.cfg|$(printf "$could_not" "/etc/cloud/cloud.cfg.d/99-keep.cfg: it is a FIFO, not a file")
ROWS

echo "-- 2,000 drop-ins of 1 MiB under a 1 GB memory limit: read within a bound, the name written"
# A sanitizer build reserves terabytes of address space and cannot start
# under the limit ("$1" is the tool there); it reads the files without it.
many='printf "users: []\n" >/etc/cloud/mib; head -c 1048566 /dev/zero | tr "\0" "#" >>/etc/cloud/mib
for i in $(seq -w 2000); do ln /etc/cloud/mib /etc/cloud/cloud.cfg.d/$i.cfg; done
if bash -c "ulimit -v 1048576; \"\$0\" /d x || exit 1" "$1" >/dev/null 2>&1; then ulimit -v 1048576; fi'
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; $cloud; $many" /c newpc
expect_lines 0 "$ok" "$(printf "$could_not" "/etc/cloud/cloud.cfg.d/0008.cfg: the files together are larger than 8388608 bytes")"
expect_file hostname 'newpc\n'

echo "-- a refused name changes no file"
on_test_host oldpc "printf 'oldpc\n' >/etc/hostname; printf '127.0.1.1 oldpc\n' >/etc/hosts; $cloud" /c new.pc
expect_lines 1 'Error: Err #22 on writing computer name "new.pc".' 'The name holds ".", but only letters, digits and hyphens are allowed.'
expect_file hostname 'oldpc\n'
expect_file hosts '127.0.1.1 oldpc\n'

rm -rf "$work"
finish
