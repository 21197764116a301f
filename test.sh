#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: native,
# under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build under
# Wine, the install and the packages, and a short run of each fuzz target.
# Every failure names what failed and its log; each step closes with a line
# "== STEP (N s)", the line before the last lists every step's time, and the
# last line is always "N passed, M failed".
#
# The presets after the native one build in the background, at a lower
# priority, while the tests of the earlier ones run (tests mostly wait on
# timeouts, servers and Wine); the fuzz targets run two at a time beside the
# packages.
#
#   ./test.sh            everything
#   FUZZ_SECONDS=10 ./test.sh
set -Eeuo pipefail
cd "$(dirname "$0")"
root="$(pwd)"
jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-60}"

passed=0
failed=0
# Tests that failed and then passed when run once more: counted as passed,
# and named on the closing lines so that flakiness stays visible.
flaky=0
flaky_names=()
log_dir="$root/build/test-logs"

# Step times, for the closing breakdown.
step_times=()
# step_done NAME START : prints "== NAME (N s)" and notes the time.
step_done() {
  local seconds=$((SECONDS - $2))
  echo "== $1 (${seconds} s)"
  step_times+=("$1 ${seconds} s")
}

# Process groups started in the background (builds, fuzzers), ended with the
# script.
background=()
stop_background() {
  local pid
  for pid in "${background[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
}

stop_wine() {
  for prefix in "$root"/build/windows/wineprefix; do
    [[ -d "$prefix" ]] && WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  done
}

# A command that fails outside a check of its own stops the script; it is
# named and counted, and the closing line still follows.
on_error() {
  echo "FAILED: test.sh line $1: '$2' ended with status $3; stopping here"
  failed=$((failed + 1))
}
on_exit() {
  stop_background
  stop_wine
  echo
  ((${#step_times[@]})) && echo "steps: $(IFS=,; echo "${step_times[*]}" | sed 's/,/, /g')"
  if ((flaky)); then
    echo "flaky (passed only when run once more): ${flaky_names[*]}"
    echo "$passed passed, $failed failed, $flaky flaky"
  else
    echo "$passed passed, $failed failed"
  fi
  if ((failed)); then exit 1; fi
  exit 0
}
on_signal() {
  echo "FAILED: test.sh was interrupted by $1"
  failed=$((failed + 1))
  exit 1
}
trap 'on_error "$LINENO" "$BASH_COMMAND" "$?"' ERR
trap 'on_signal SIGINT' INT
trap 'on_signal SIGTERM' TERM
trap on_exit EXIT

# note_failure WHAT LOG : counts one failure and says where its log is.
note_failure() {
  echo "FAILED: $1; log: $2"
  failed=$((failed + 1))
}

started=$SECONDS
if ! scripts/install-deps.sh; then
  echo "FAILED: scripts/install-deps.sh could not install the packages (its output is above)"
  failed=$((failed + 1))
  exit 1
fi
# One line naming the first missing command and its package.
if ! scripts/install-deps.sh --check; then
  failed=$((failed + 1))
  exit 1
fi
step_done "install-deps" "$started"

# Temporary files of the tests (and Wine's server socket) stay in the build tree.
export TMPDIR="$root/build/tmp"
mkdir -p "$TMPDIR" "$log_dir"

source scripts/build-preset.sh

# note_build_failure PRESET : counts the failure configure_and_build noted.
note_build_failure() {
  local what log
  IFS='|' read -r what log <"$log_dir/failed-$1"
  note_failure "$what" "$log"
}

build() {
  local preset="$1" started=$SECONDS
  echo "== build $preset"
  rm -f "$log_dir/failed-$preset"
  if ! configure_and_build "$log_dir" "$preset"; then
    note_build_failure "$preset"
    step_done "build $preset" "$started"
    return 1
  fi
  step_done "build $preset" "$started"
}

# build_in_background PRESET... : builds the presets one after another in a
# process group of their own, at a lower priority, so that the tests running
# meanwhile keep their speed; await_build collects each.
builds=""
build_in_background() {
  local preset
  for preset in "$@"; do rm -f "$log_dir/built-$preset" "$log_dir/failed-$preset"; done
  export -f configure_and_build
  export log_dir jobs
  setsid bash -c '
    renice -n 10 $$ >/dev/null 2>&1 || true
    for preset in "$@"; do
      status=0
      started=$SECONDS
      # Only the binary of the 32-bit preset is packaged, and its tests never
      # run (see below), so only the binary is built.
      targets=()
      [[ "$preset" == windows-i686 ]] && targets=(tolvaren)
      configure_and_build "$log_dir" "$preset" "${targets[@]}" >"$log_dir/background-$preset.log" 2>&1 || status=$?
      echo "$status $((SECONDS - started))" >"$log_dir/built-$preset.part"
      mv "$log_dir/built-$preset.part" "$log_dir/built-$preset"
    done' _ "$@" </dev/null &
  builds="$!"
  background+=("$builds")
}

# await_build PRESET : waits for a background build; 0 when it succeeded.
await_build() {
  local preset="$1" started=$SECONDS status seconds
  echo "== build $preset (in the background)"
  while [[ ! -f "$log_dir/built-$preset" ]]; do
    if ! kill -0 "$builds" 2>/dev/null && [[ ! -f "$log_dir/built-$preset" ]]; then
      note_failure "build $preset: the background builds ended early" "$log_dir/background-$preset.log"
      return 1
    fi
    sleep 1
  done
  read -r status seconds <"$log_dir/built-$preset"
  cat "$log_dir/background-$preset.log"
  echo "== build $preset (${seconds} s in the background, $((SECONDS - started)) s waited for)"
  step_times+=("build $preset ${seconds} s (background)")
  if ((status != 0)); then
    if [[ -f "$log_dir/failed-$preset" ]]; then
      note_build_failure "$preset"
    else
      note_failure "build $preset" "$log_dir/background-$preset.log"
    fi
    return 1
  fi
}

# Prints the output of every failed test of a ctest log, so that a red run
# says why without the build tree at hand.
print_failures() {
  awk '/\*\*\*(Failed|Exception|Timeout)/ {show = 1} /^ *Start +[0-9]+:/ {show = 0} show' "$1"
}

# Prints "FAILED TOTAL" from a ctest log's summary line, or nothing when the
# log has none (ctest crashed, was killed, or found no tests).
summary_counts() {
  local line
  line="$(grep -oE '[0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)"
  [[ "$line" =~ ^([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+)$ ]] && echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
  return 0
}

# Prints the names of the failed tests of a ctest log, one a line.
failed_names() {
  sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (\(Failed\|Timeout\|SEGFAULT\|Exception\|Subprocess.*\|Not Run\))$/\1/p' "$1" | sort -u
}

# Runs one ctest preset and adds its counts to the totals. With RETRY_UNDER_WINE
# set, tests that failed are run once more: the Windows tests share one Wine
# prefix and server, so a clash between them can depend on timing. The first
# failure's output stays in the log and on screen, so it is still seen.
run_tests() {
  local started=$SECONDS
  test_preset "$@"
  step_done "test $1" "$started"
}
# ctest_counts LOG ARGS... : runs ctest with ARGS, its output in LOG; shows
# the result lines and prints "FAILED TOTAL" (nothing without a summary).
ctest_counts() {
  local log="$1"
  shift
  ctest "$@" --timeout 300 --output-on-failure >"$log" 2>&1 || true
  grep -E '(\*\*\*|tests passed)' "$log" >&2 || true
  summary_counts "$log"
}
test_preset() {
  local preset="$1"
  local log="$log_dir/ctest-$preset.log"
  echo "== test $preset"
  local counts nfail ntotal
  counts="$(ctest_counts "$log" --preset "$preset" -j"$jobs")"
  if [[ -z "$counts" ]]; then
    tail -20 "$log"
    note_failure "ctest $preset printed no summary" "$log"
    return
  fi
  read -r nfail ntotal <<<"$counts"
  if ((nfail == 0)); then
    passed=$((passed + ntotal))
    return
  fi
  print_failures "$log"
  if [[ -z "${RETRY_UNDER_WINE:-}" ]]; then
    passed=$((passed + ntotal - nfail))
    failed=$((failed + nfail))
    echo "FAILED: $nfail of $ntotal tests of $preset; log: $log"
    return
  fi

  echo "== test $preset: failed tests once more"
  local rerun_log="$log_dir/ctest-$preset-rerun.log"
  local rerun_fail rerun_total
  counts="$(ctest_counts "$rerun_log" --preset "$preset" --rerun-failed)"
  print_failures "$rerun_log"
  # The tests that passed the first time count as passed either way.
  passed=$((passed + ntotal - nfail))
  if [[ -z "$counts" ]]; then
    tail -20 "$rerun_log"
    failed=$((failed + nfail))
    note_failure "ctest $preset (rerun) printed no summary" "$rerun_log"
    return
  fi
  read -r rerun_fail rerun_total <<<"$counts"
  passed=$((passed + rerun_total - rerun_fail))
  failed=$((failed + rerun_fail))
  local name
  while read -r name; do
    [[ -n "$name" ]] || continue
    flaky=$((flaky + 1))
    flaky_names+=("$preset:$name")
  done < <(comm -23 <(failed_names "$log") <(failed_names "$rerun_log"))
  if ((rerun_fail)); then
    echo "FAILED: $rerun_fail of $ntotal tests of $preset, also when run once more; logs: $log $rerun_log"
  fi
}

if build native; then
  build_in_background asan windows windows-i686 fuzz
  run_tests native
else
  build_in_background asan windows windows-i686 fuzz
fi

if await_build asan; then run_tests asan; fi

if await_build windows; then
  # Makes the Wine prefix and starts its server before the parallel tests begin.
  scripts/wine-exec build/windows/tolvaren.exe /d warm-up </dev/null >/dev/null 2>&1 || true
  RETRY_UNDER_WINE=1 run_tests windows
fi

# The 32-bit binary is built and packaged, not run: this kernel runs no
# 32-bit programs, so Wine's 32-bit loader cannot start.
if await_build windows-i686; then
  echo "== windows-i686 built: build/windows-i686/tolvaren.exe"
fi

# The fuzz targets run beside the packages: each keeps its full time.
fuzzing=""
fuzz_started=$SECONDS
if await_build fuzz; then
  setsid scripts/run-fuzzers.sh "$root/build/fuzz" "$fuzz_seconds" 2 >"$log_dir/fuzz.log" 2>&1 </dev/null &
  fuzzing="$!"
  background+=("$fuzzing")
  fuzz_started=$SECONDS
fi

echo "== packages"
started=$SECONDS
log="$log_dir/package.log"
if JOBS="$jobs" scripts/package.sh >"$log" 2>&1; then
  passed=$((passed + 1))
  cat "$log"
  log="$log_dir/packages-test.log"
  if bash tests/e2e/packages.sh "$root" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    cat "$log"
    note_failure "tests/e2e/packages.sh" "$log"
  fi
else
  tail -30 "$log"
  note_failure "scripts/package.sh" "$log"
fi
step_done "packages" "$started"

echo "== clang-format"
started=$SECONDS
log="$log_dir/format.log"
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror >"$log" 2>&1; then
  passed=$((passed + 1))
else
  echo "these files are not clang-format clean:"
  grep -oE '^[^:]+\.(cpp|h)' "$log" | sort -u || true
  note_failure "clang-format check" "$log"
fi
step_done "clang-format" "$started"

if [[ -n "$fuzzing" ]]; then
  echo "== fuzz (two targets at a time, ${fuzz_seconds} s each)"
  fuzz_status=0
  wait "$fuzzing" || fuzz_status=$?
  cat "$log_dir/fuzz.log"
  if ((fuzz_status == 0)); then
    passed=$((passed + 1))
  else
    note_failure "fuzz targets" "$root/build/fuzz/fuzz-work/*/log.txt"
  fi
  step_done "fuzz" "$fuzz_started"
fi
