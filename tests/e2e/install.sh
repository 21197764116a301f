#!/usr/bin/env bash
# "cmake --install" of a build into a prefix inside the build tree: the files
# it puts there, the installed binary, and the man page rendering cleanly.
#
#   install.sh BUILD_DIR
set -euo pipefail
build_dir="$(cd "$1" && pwd)"
prefix="$build_dir/install-test"
rm -rf "$prefix"
if ! cmake --install "$build_dir" --prefix "$prefix" >"$build_dir/install-test.log" 2>&1; then
  cat "$build_dir/install-test.log"
  echo "FAIL: cmake --install"
  exit 1
fi
set -- "$prefix/bin/tolvaren"
source "$(dirname "$0")/lib.sh"

echo "-- the installed files"
expected="bin/tolvaren
share/doc/tolvaren/LICENSE
share/doc/tolvaren/README.md
share/doc/tolvaren/tolvaren-report.schema.json
share/man/man1/tolvaren.1"
got="$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
[[ "$got" == "$expected" ]] || fail "installed files differ; got:"$'\n'"$got"

echo "-- the installed binary runs"
run_tool
expect_text_file "$HERE/expected/help.txt"
run_tool /d a_b
expect_lines 0 "a-b"

echo "-- the man page renders without warnings"
page="$prefix/share/man/man1/tolvaren.1"
warnings="$(groff -ww -z -man "$page" 2>&1)" || fail "groff failed"
[[ -z "$warnings" ]] || fail "groff warns: $warnings"
text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$prefix/man-warnings.txt")" || fail "man failed"
[[ -s "$prefix/man-warnings.txt" ]] && fail "man warns: $(cat "$prefix/man-warnings.txt")"

echo "-- the man page covers every macro, the sections and the environment"
for macro in '?s' '?c' '?b' '?a' '?u' '?U' '?G' '?i' '?j' '?k' '?l' '?I' '?J' '?K' '?L' '?d' '?m' \
  '?1' '?9' '?0' '?t' '?e' '?D' '?M' '?Y'; do
  grep -qF -- "$macro" <<<"$text" || fail "man page lacks $macro"
done
for heading in SYNOPSIS OPTIONS 'NAME CLEAN-UP' MACROS 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES; do
  grep -qx "$heading" <<<"$text" || fail "man page lacks the section $heading"
done
for word in TOLVAREN_BIOS_IMAGE /sys/firmware/dmi/tables /etc/resolv.conf /etc/hostname /proc/net/route /etc/hosts \
  /etc/cloud/cloud.cfg preserve_hostname current_name static_name netbios_truncated; do
  grep -qF -- "$word" <<<"$text" || fail "man page does not mention $word"
done

finish
