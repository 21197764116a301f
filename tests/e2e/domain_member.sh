#!/usr/bin/env bash
# "/c" and "/j" on Linux machines joined to a directory, shown by a Kerberos
# host keytab (written by ktutil), SSSD or Samba: one warning before the
# outcome line, the rename all the same, and the "domain" of the report. Files
# that show nothing, broken ones and a FIFO give no warning and no wait. Each
# case runs on a private test host (private_etc.sh).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/private_etc.sh" domain-member

if ! command -v ktutil >/dev/null; then
  echo "SKIP: ktutil missing"
  exit 0
fi

# keytab FILE PRINCIPAL... : a keytab with one aes256 key per principal.
keytab() {
  local file="$1" principal
  shift
  for principal in "$@"; do printf 'addent -password -p %s -k 1 -e aes256-cts\nsecret\n' "$principal"; done |
    { cat; printf 'wkt %s\nquit\n' "$file"; } | ktutil >/dev/null
  [[ -s "$file" ]] || fail "ktutil wrote no $file"
}
keytab "$work/host.keytab" host/oldpc.example.com@EXAMPLE.COM
keytab "$work/account.keytab" 'HTTP/oldpc@OTHER.ORG' 'OLDPC$@CORP.EXAMPLE'
keytab "$work/other.keytab" host/otherpc.example.com@EXAMPLE.COM 'OTHERPC$@EXAMPLE.COM'
head -c 40 "$work/host.keytab" >"$work/truncated.keytab"

ok='Computer name successfully changed to "newpc".  Restart required.'
account='its computer account in the domain keeps the old name, so the machine may fail to log on to the domain after the restart unless the account is renamed too'
hostname_oldpc="printf 'oldpc\n' >/etc/hostname"
sssd="mkdir -p /etc/sssd/conf.d; printf '[sssd]\ndomains = ad.example.com\n\n[domain/ad.example.com]\n# joined by realm\nid_provider = ad\nad_domain = ad.example.com\n' >/etc/sssd/sssd.conf"
ipa_snippet="mkdir -p /etc/sssd/conf.d; printf '[domain/ipa.example.org]\nid_provider = ipa\n' >/etc/sssd/conf.d/10-ipa.conf"
samba_ads="mkdir -p /etc/samba; printf '[global]\n   workgroup = CORP\n   security = ADS\n   realm = SAMBA.EXAMPLE\n\n[homes]\n   security = user\n' >/etc/samba/smb.conf"
samba_user="${samba_ads/= ADS/= user}"

# Each row: what it shows | running name | set-up (no "|" in it) | domain
# name | source (domain and source empty: no member).
while IFS='|' read -r what running setup name source extra; do
  [[ -z "$what" ]] && continue
  [[ -n "$extra" ]] && fail "row '$what' has too many fields"
  echo "-- $what"
  on_test_host "$running" "$setup" /c newpc
  if [[ -n "$source" ]]; then
    domain="the domain $name"
    [[ -z "$name" ]] && domain="a domain"
    expect_lines 0 "Warning: this machine is a member of $domain (shown by $source): $account" "$ok"
  else
    expect_lines 0 "$ok"
  fi
  expect_file hostname 'newpc\n'
  on_test_host "$running" "$setup" /j newpc
  if [[ -n "$source" ]]; then
    grep -qF "\"domain\":{\"name\":\"$name\",\"source\":\"$source\"}" "$OUT" || fail "no domain in: $(cat "$OUT")"
    grep -qF "{\"kind\":\"domain_member\",\"macro\":\"\",\"field\":\"domain\",\"text\":\"$name\"," "$OUT" ||
      fail "no domain_member warning in: $(cat "$OUT")"
    cp "$OUT" "$work/member.json"
  else
    grep -qF '"domain":null' "$OUT" || fail "domain is not null in: $(cat "$OUT")"
    grep -qF domain_member "$OUT" && fail "a domain_member warning in: $(cat "$OUT")"
  fi
done <<ROWS
keytab host/oldpc.example.com for the static name|running|$hostname_oldpc; cp $work/host.keytab /etc/krb5.keytab|EXAMPLE.COM|/etc/krb5.keytab
keytab OLDPC\$ for the running name, no hostname file|oldpc.example.com|cp $work/account.keytab /etc/krb5.keytab|CORP.EXAMPLE|/etc/krb5.keytab
keytab of another machine|oldpc|$hostname_oldpc; cp $work/other.keytab /etc/krb5.keytab||
truncated keytab|oldpc|$hostname_oldpc; cp $work/truncated.keytab /etc/krb5.keytab||
FIFO in the keytab's place|oldpc|$hostname_oldpc; mkfifo /etc/krb5.keytab||
SSSD with the ad provider|oldpc|$hostname_oldpc; $sssd|ad.example.com|/etc/sssd/sssd.conf
SSSD with the ipa provider in a conf.d snippet|oldpc|$hostname_oldpc; $ipa_snippet|ipa.example.org|/etc/sssd/conf.d/10-ipa.conf
SSSD with the ldap provider|oldpc|$hostname_oldpc; $sssd; sed -i s/=\ ad\$/=\ ldap/ /etc/sssd/sssd.conf||
Samba in ADS mode|oldpc|$hostname_oldpc; $samba_ads|SAMBA.EXAMPLE|/etc/samba/smb.conf
Samba as a standalone server|oldpc|$hostname_oldpc; $samba_user||
ROWS

echo "-- the report of a member is valid against the schema"
if python3 -c 'import jsonschema' 2>/dev/null && [[ -s "$work/member.json" ]]; then
  python3 "$HERE/check_report.py" "$HERE/../../doc/tolvaren-report.schema.json" "$work/member.json" ||
    fail "report of a member is not valid"
fi

rm -rf "$work"
finish
