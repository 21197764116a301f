#!/usr/bin/env bash
# The packages that scripts/package.sh made: the Debian package (its fields,
# its files, lintian, the binary in it, the licence in its copyright file) and
# the Windows zip (both binaries, the CR LF line ends of the README and
# LICENSE, and the version resource of each .exe read back under Wine by the
# Windows platform tests, where they are built), the RPM (its fields and
# files, installed into a scratch root and run there) and the Windows
# Installer package (its properties; installed, upgraded by a package of the
# next version and uninstalled under Wine, in a new prefix).
#
#   packages.sh ROOT          ROOT is the checkout with its build/ tree
set -euo pipefail
root="$(cd "$1" && pwd)"
packages="$root/build/packages"
source "$(dirname "$0")/checks.sh"
# Under pipefail, "producer | grep -q" fails when grep stops reading early and
# the producer is killed by SIGPIPE; the greps below read to the end instead.

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/native/CMakeCache.txt")"
[[ -n "$version" ]] || { echo "FAIL: no project version in build/native/CMakeCache.txt"; exit 1; }
work="$root/build/packages-test"
rm -rf "$work"
mkdir -p "$work"

echo "-- the Debian package"
deb="$packages/tolvaren_${version}_amd64.deb"
if [[ ! -f "$deb" ]]; then
  fail "no $deb"
else
  field() { dpkg-deb -f "$deb" "$1"; }
  [[ "$(field Package)" == tolvaren ]] || fail "Package: $(field Package)"
  [[ "$(field Version)" == "$version" ]] || fail "Version: $(field Version), the project is $version"
  [[ "$(field Architecture)" == amd64 ]] || fail "Architecture: $(field Architecture)"
  [[ "$(field Section)" == admin ]] || fail "Section: $(field Section)"
  [[ -z "$(field Depends)" ]] || fail "a static binary needs no Depends: $(field Depends)"
  (($(field Description | wc -l) > 3)) || fail "no long description"

  expected="./usr/bin/tolvaren
./usr/share/doc/tolvaren/README.md
./usr/share/doc/tolvaren/changelog.gz
./usr/share/doc/tolvaren/copyright
./usr/share/lintian/overrides/tolvaren
./usr/share/man/man1/tolvaren.1.gz"
  got="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)"
  [[ "$got" == "$expected" ]] || fail "files of the package differ; got:"$'\n'"$got"
  dpkg-deb -c "$deb" | awk '{print $2}' | grep -v '^root/root$' >/dev/null && fail "files not owned by root"

  echo "-- lintian"
  lintian_status=0
  lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || lintian_status=$?
  grep -v 'running with root privileges' "$work/lintian.txt" || true
  ((lintian_status == 0)) || fail "lintian reports errors (status $lintian_status)"

  echo "-- the packaged binary"
  dpkg-deb -x "$deb" "$work/deb"
  tool="$work/deb/usr/bin/tolvaren"
  readelf -l "$tool" | grep 'program interpreter' >/dev/null && fail "the packaged binary is not static"
  [[ "$("$tool" /d a_b </dev/null)" == "a-b" ]] || fail "the packaged binary does not run"
  "$tool" </dev/null | grep "^Tolvaren v$version  Copyright" >/dev/null || fail "the banner does not print version $version"
  warnings="$(zcat "$work/deb/usr/share/man/man1/tolvaren.1.gz" | groff -ww -z -man 2>&1)"
  [[ -z "$warnings" ]] || fail "the packaged man page: $warnings"

  echo "-- the licence in the machine-readable copyright file"
  copyright="$work/deb/usr/share/doc/tolvaren/copyright"
  head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright has no Format line"
  [[ "$(grep -c '^License: Expat$' "$copyright")" == 2 ]] || fail "copyright does not name and hold License: Expat"
  # The licence text there is LICENSE's, after its copyright line.
  diff <(tac "$copyright" | sed '/^License: Expat$/q' | tac | tail -n +2 | sed 's/^ //; s/^\.$//') \
    <(sed '1,/^Copyright/d' "$root/LICENSE" | sed '1{/^$/d}') >/dev/null || fail "copyright's licence text is not LICENSE's"
  licence_line="$(grep '^Copyright' "$root/LICENSE")"
  grep -qx "Copyright: $licence_line" "$copyright" || fail "copyright and LICENSE name different holders"
  "$tool" </dev/null | grep -F "$licence_line" >/dev/null || fail "the banner and LICENSE differ: $licence_line"
fi

echo "-- the Windows zip"
zip="$packages/tolvaren-$version-windows.zip"
if [[ ! -f "$zip" ]]; then
  fail "no $zip"
else
  top="tolvaren-$version-windows"
  expected="$top/LICENSE.txt
$top/README.txt
$top/x64/tolvaren.exe
$top/x86/tolvaren.exe"
  got="$(cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort)"
  [[ "$got" == "$expected" ]] || fail "files of the zip differ; got:"$'\n'"$got"
  (cd "$work" && cmake -E tar xf "$zip")
  dir="$work/$top"

  for text in README.txt LICENSE.txt; do
    [[ -f "$dir/$text" ]] || continue
    lines="$(tr -cd '\n' <"$dir/$text" | wc -c)"
    crlf="$(grep -c $'\r$' "$dir/$text" || true)"
    ((lines > 0 && lines == crlf)) || fail "$text: $crlf of $lines lines end in CR LF"
  done
  cmp -s <(tr -d '\r' <"$dir/LICENSE.txt") "$root/LICENSE" || fail "LICENSE.txt is not LICENSE"

  # The machine field of the PE header: 0x8664 for x86-64, 0x014c for i386.
  pe_machine() {
    local offset
    offset="$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')"
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
  }
  [[ "$(pe_machine "$dir/x64/tolvaren.exe")" == 8664 ]] || fail "x64/tolvaren.exe is not a 64-bit program"
  [[ "$(pe_machine "$dir/x86/tolvaren.exe")" == 014c ]] || fail "x86/tolvaren.exe is not a 32-bit program"

  echo "-- the version resource of both .exe files, under Wine"
  reader="$root/build/windows/tests/platform/platform_tests.exe"
  # The Windows build's prefix, made and warmed up already; not a new one
  # beside the unpacked files.
  export TOLVAREN_WINEPREFIX="$root/build/windows/wineprefix"
  if [[ ! -f "$reader" ]]; then
    echo "skipped: $reader is not built"
  else
    for exe in "$dir/x64/tolvaren.exe" "$dir/x86/tolvaren.exe"; do
      if ! TOLVAREN_VERSION_INFO_FILE="$exe" "$root/scripts/wine-exec" "$reader" \
        --gtest_filter='FileVersionInfo.ProgramCarriesTheBannerVersionAndCopyright' </dev/null >"$work/version.txt" 2>&1 ||
        ! grep -q '\[  PASSED  \] 1 test' "$work/version.txt"; then
        cat "$work/version.txt"
        fail "version resource of $exe"
      fi
    done
    out="$("$root/scripts/wine-exec" "$dir/x64/tolvaren.exe" /d a_b </dev/null)" || true
    [[ "$out" == $'a-b\r' ]] || fail "the zipped 64-bit binary does not run under Wine: $out"
  fi
fi

echo "-- the RPM"
rpm_file="$packages/tolvaren-$version-1.x86_64.rpm"
if [[ ! -f "$rpm_file" ]]; then
  fail "no $rpm_file"
else
  query() { rpm -qp "$@" "$rpm_file" 2>/dev/null; }
  got="$(query --queryformat '%{NAME} %{VERSION} %{ARCH} %{LICENSE}')"
  [[ "$got" == "tolvaren $version x86_64 MIT" ]] || fail "name, version, architecture, licence: $got"
  grep -q "^Summary *: ." <<<"$(query -i)" || fail "rpm -qpi shows no summary"
  (($(query --queryformat '%{DESCRIPTION}' | wc -l) > 3)) || fail "no long description"
  # rpm's own features are all a static binary may need.
  requires="$(query -R | grep -v '^rpmlib(' || true)"
  [[ -z "$requires" ]] || fail "a static binary needs nothing at run time; requires: $requires"
  expected="/usr/bin/tolvaren
/usr/share/doc/tolvaren
/usr/share/doc/tolvaren/LICENSE
/usr/share/doc/tolvaren/README.md
/usr/share/doc/tolvaren/tolvaren-report.schema.json
/usr/share/man/man1/tolvaren.1"
  got="$(query -l | LC_ALL=C sort)"
  [[ "$got" == "$expected" ]] || fail "files of the RPM differ; got:"$'\n'"$got"
  [[ "$(query -L)" == /usr/share/doc/tolvaren/LICENSE ]] || fail "the licence file is not marked: $(query -L)"

  echo "-- the RPM installed into a scratch root"
  rpm_root="$work/rpm-root"
  mkdir -p "$rpm_root"
  if ! rpm --root "$rpm_root" --initdb >"$work/rpm.txt" 2>&1 ||
    ! rpm --root "$rpm_root" -i "$rpm_file" >>"$work/rpm.txt" 2>&1; then
    cat "$work/rpm.txt"
    fail "rpm -i into $rpm_root"
  else
    tool="$rpm_root/usr/bin/tolvaren"
    [[ "$("$tool" /d a_b </dev/null)" == "a-b" ]] || fail "the installed binary does not run"
    [[ "$(rpm --root "$rpm_root" -q tolvaren)" == "tolvaren-$version-1.x86_64" ]] || fail "rpm -q does not list the package"
    rpm --root "$rpm_root" -V tolvaren || fail "rpm -V finds installed files changed"
    cmp -s "$rpm_root/usr/share/doc/tolvaren/LICENSE" "$root/LICENSE" || fail "the installed LICENSE is not LICENSE"
    warnings="$(groff -ww -z -man "$rpm_root/usr/share/man/man1/tolvaren.1" 2>&1)"
    [[ -z "$warnings" ]] || fail "the installed man page: $warnings"
    rpm --root "$rpm_root" -e tolvaren 2>>"$work/rpm.txt" || fail "rpm -e"
    left="$(find "$rpm_root/usr" -path '*tolvaren*' 2>/dev/null)"
    [[ -z "$left" ]] || fail "rpm -e left: $left"
  fi
fi

echo "-- the Windows Installer package"
msi="$packages/tolvaren-$version-x64.msi"
make_msi="$root/build/windows/packaging/make-msi.cmake"
if [[ ! -f "$msi" ]]; then
  fail "no $msi"
else
  property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name {print $2}'; }
  msi_version="$version"
  [[ "$msi_version" == *.*.* ]] || msi_version="$version.0"
  [[ "$(property "$msi" ProductName)" == Tolvaren ]] || fail "ProductName: $(property "$msi" ProductName)"
  [[ "$(property "$msi" ProductVersion)" == "$msi_version" ]] ||
    fail "ProductVersion: $(property "$msi" ProductVersion), the project is $version"
  [[ "$(property "$msi" Manufacturer)" == "The Tolvaren developers" ]] || fail "Manufacturer: $(property "$msi" Manufacturer)"
  [[ "$(property "$msi" ALLUSERS)" == 1 ]] || fail "not a per-machine package"
  template="$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')"
  [[ "$template" == "x64;1033" ]] || fail "not a 64-bit package: Template $template"

  # A package of the next version, made the same way, for the upgrade.
  IFS=. read -r major minor build <<<"$msi_version"
  next_version="$major.$minor.$((build + 1))"
  next_msi="$work/tolvaren-$next_version-x64.msi"
  if ! cmake -DVERSION="$next_version" -DOUTPUT="$next_msi" -P "$make_msi" >"$work/make-msi.txt" 2>&1; then
    cat "$work/make-msi.txt"
    fail "make-msi.cmake could not make version $next_version"
  fi

  echo "-- install, upgrade and uninstall under Wine, in a new prefix"
  # A prefix of its own, so what msiexec writes to the registry and
  # Program Files starts from nothing. Wine's services, started by wineboot,
  # get no output to hold open.
  export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY
  stop_wine() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
  }
  trap stop_wine EXIT
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot -i </dev/null >/dev/null 2>&1 || true
  # From a folder without programs, so that cmd finds tolvaren by PATH only.
  in_wine() { (cd "$work" && wine "$@" </dev/null 2>>"$work/wine-stderr.txt"); }
  windows_path() { echo "Z:${1//\//\\}"; }
  folder="$WINEPREFIX/drive_c/Program Files/Tolvaren"
  environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
  uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  # times_on_path: how often the install folder is in the system PATH.
  times_on_path() {
    in_wine reg query "$environment" /v PATH | tr -d '\r' | sed -n 's/^ *PATH *REG_[A-Z_]* *//p' |
      tr ';' '\n' | grep -ci '^C:\\Program Files\\Tolvaren\\\?$' || true
  }
  # installed_version MSI: the version installed programs show for it.
  installed_version() {
    in_wine reg query "$uninstall\\$(property "$1" ProductCode)" /v DisplayVersion 2>/dev/null | tr -d '\r' |
      sed -n 's/^ *DisplayVersion *REG_SZ *//p' || true
  }
  # msiexec ACTION MSI NAME: runs it silently, with a log named after NAME.
  msiexec_quietly() {
    in_wine msiexec "$1" "$(windows_path "$2")" /qn /l*v "$(windows_path "$work/msiexec-$3.log")" >/dev/null ||
      fail "msiexec $1 $(basename "$2") (status $?), log: $work/msiexec-$3.log"
  }
  installed_files() { (cd "$folder" 2>/dev/null && find . -type f | LC_ALL=C sort); }
  expected_files="./LICENSE.txt
./README.txt
./tolvaren.exe"

  msiexec_quietly /i "$msi" install
  [[ "$(installed_files)" == "$expected_files" ]] || fail "installed files differ; got:"$'\n'"$(installed_files)"
  cmp -s "$folder/tolvaren.exe" "$root/build/windows/tolvaren.exe" || fail "the installed tolvaren.exe is not the built one"
  out="$(in_wine 'C:\Program Files\Tolvaren\tolvaren.exe' /d x)" || true
  [[ "$out" == $'x\r' ]] || fail "tolvaren.exe /d x from the install folder: $out"
  # A new process takes the system PATH from the registry.
  out="$(in_wine cmd /c tolvaren /d x)" || true
  [[ "$out" == $'x\r' ]] || fail "tolvaren /d x by PATH: $out"
  [[ "$(times_on_path)" == 1 ]] || fail "the install folder is $(times_on_path) times on PATH"
  [[ "$(installed_version "$msi")" == "$msi_version" ]] || fail "installed programs show version '$(installed_version "$msi")'"

  msiexec_quietly /i "$next_msi" upgrade
  [[ "$(installed_version "$next_msi")" == "$next_version" ]] ||
    fail "after the upgrade installed programs show version '$(installed_version "$next_msi")'"
  [[ -z "$(installed_version "$msi")" ]] || fail "after the upgrade the old version is still installed"
  [[ "$(installed_files)" == "$expected_files" ]] || fail "files after the upgrade differ; got:"$'\n'"$(installed_files)"
  copies="$(find "$WINEPREFIX/drive_c" -iname tolvaren.exe | wc -l)"
  ((copies == 1)) || fail "$copies copies of tolvaren.exe after the upgrade"
  [[ "$(times_on_path)" == 1 ]] || fail "after the upgrade the install folder is $(times_on_path) times on PATH"

  msiexec_quietly /x "$next_msi" uninstall
  [[ ! -e "$folder" ]] || fail "uninstall left: $(installed_files)"
  [[ "$(times_on_path)" == 0 ]] || fail "after uninstall the install folder is still on PATH"
  [[ -z "$(installed_version "$next_msi")" ]] || fail "after uninstall installed programs still list it"
  stop_wine
  trap - EXIT
  ((failures)) || rm -rf "$WINEPREFIX"
fi

finish
