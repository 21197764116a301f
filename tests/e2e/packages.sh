#!/usr/bin/env bash
# The packages that scripts/package.sh made: the Debian package (its fields,
# its files, lintian, the binary in it, the licence in its copyright file) and
# the Windows zip (both binaries, the CR LF line ends of the README and
# LICENSE, and the version resource of each .exe read back under Wine by the
# Windows platform tests, where they are built).
#
#   packages.sh ROOT          ROOT is the checkout with its build/ tree
set -euo pipefail
root="$(cd "$1" && pwd)"
packages="$root/build/packages"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

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
  dpkg-deb -c "$deb" | awk '{print $2}' | grep -qv '^root/root$' && fail "files not owned by root"

  echo "-- lintian"
  lintian_status=0
  lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || lintian_status=$?
  grep -v 'running with root privileges' "$work/lintian.txt" || true
  ((lintian_status == 0)) || fail "lintian reports errors (status $lintian_status)"

  echo "-- the packaged binary"
  dpkg-deb -x "$deb" "$work/deb"
  tool="$work/deb/usr/bin/tolvaren"
  readelf -l "$tool" | grep -q 'program interpreter' && fail "the packaged binary is not static"
  [[ "$("$tool" /d a_b </dev/null)" == "a-b" ]] || fail "the packaged binary does not run"
  "$tool" </dev/null | grep -q "^Tolvaren v$version  Copyright" || fail "the banner does not print version $version"
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
  "$tool" </dev/null | grep -qF "$licence_line" || fail "the banner and LICENSE differ: $licence_line"
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

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
