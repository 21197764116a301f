#!/usr/bin/env bash
# The command-line front end of the real binary: help, option words, the
# display action and the change action's failures (which never write a name).
source "$(dirname "$0")/lib.sh"

echo "-- help text, byte for byte, with standard input at end of file"
for args in "" "/?" "jupiter"; do
  # shellcheck disable=SC2086
  run_tool $args
  expect_text_file "$HERE/expected/help.txt"
  want=0
  [[ "$args" == jupiter ]] && want=2
  [[ "$STATUS" == "$want" ]] || fail "help for '$args': exit status $STATUS, expected $want"
done
run_tool ""
expect_text_file "$HERE/expected/help.txt"

echo "-- the help never waits for a script: standard input open but silent"
# A pipe whose writer (this shell) stays open and never writes.
silent="$(mktemp -u)"
mkfifo "$silent"
exec 7<>"$silent"
for args in "-c newname" "/?"; do
  STATUS=0
  # shellcheck disable=SC2086
  timeout 20 ${RUNNER:+"$RUNNER"} "$TOOL" $args <"$silent" >"$OUT" || STATUS=$?
  expect_text_file "$HERE/expected/help.txt"
  [[ "$STATUS" != 124 ]] || fail "help for '$args' waited for input"
done
exec 7>&-
rm -f "$silent"

echo "-- option words match exactly, or nothing happens"
run_tool /C jupiter
expect_nothing 2
run_tool /x jupiter
expect_nothing 2

echo "-- output that cannot be written fails the run"
for args in "/s" "/d x" "/?"; do
  STATUS=0
  # shellcheck disable=SC2086
  ${RUNNER:+"$RUNNER"} "$TOOL" $args </dev/null >/dev/full 2>"$OUT.err" || STATUS=$?
  [[ "$STATUS" == 1 ]] || fail "'$args' >/dev/full: exit status $STATUS, expected 1"
  grep -q "write error" "$OUT.err" || fail "'$args' >/dev/full: no write error on standard error"
done
if [[ -z "$RUNNER" ]]; then
  # A closed standard output: nothing the tool prints can land in a file it
  # opens afterwards, and the run fails.
  STATUS=0
  "$TOOL" /d x </dev/null >&- 2>"$OUT.err" || STATUS=$?
  [[ "$STATUS" == 1 ]] || fail "closed standard output: exit status $STATUS, expected 1"
  grep -q "write error: Bad file descriptor" "$OUT.err" || fail "closed standard output: no write error"
fi
rm -f "$OUT.err"

echo "-- display"
run_tool /d a_b
expect_lines 0 "a-b"
run_tool /display "my_pc box"
expect_lines 0 "my-pcbox"
run_tool /d "?t-?t"
expect_lines 0 "test-test"

echo "-- change without a name fails and writes nothing"
run_tool /c
expect_lines 1 "Error: No name specified"
run_tool /c "***"
expect_lines 1 "Error: No name specified"

echo "-- a serial number that expands to nothing is said before the outcome"
# The firmware of defaults.bin holds no serial numbers; the name left is refused.
pushd "$HERE/../fixtures/firmware" >/dev/null
TOLVAREN_BIOS_IMAGE=defaults.bin run_tool /c "x?s."
popd >/dev/null
grep -qx "Warning: ?s took the system serial number, which is empty, so it adds nothing to the name${EOL%$'\n'}" \
  <(head -1 "$OUT") || fail "no empty-value warning first: $(head -2 "$OUT")"
sed -n 2p "$OUT" | grep -q '^Error: Err #[0-9]* on writing computer name "x\."' || fail "no refusal: $(cat "$OUT")"
[[ "$STATUS" == 1 ]] || fail "exit status $STATUS, expected 1"

finish
