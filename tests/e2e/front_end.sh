#!/usr/bin/env bash
# The command-line front end of the real binary: help, option words, the
# display action and the change action's failures (which never write a name).
source "$(dirname "$0")/lib.sh"

echo "-- help text, byte for byte, with standard input at end of file"
for args in "" "/?" "jupiter"; do
  # shellcheck disable=SC2086
  run_tool $args
  expect_text_file "$HERE/expected/help.txt"
  [[ "$STATUS" == 0 ]] || fail "help exit status $STATUS"
done
run_tool ""
expect_text_file "$HERE/expected/help.txt"

echo "-- option words match exactly, or nothing happens"
run_tool /C jupiter
expect_nothing 0
run_tool /x jupiter
expect_nothing 0

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

finish
