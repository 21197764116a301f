# The check count of the end-to-end scripts: fail notes a failed check and
# goes on, finish ends the script and fails it when any check failed. Sourced
# by lib.sh, and by packages.sh, which checks the packages of a checkout
# rather than a built tool.
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
