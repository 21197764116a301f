#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: native,
# under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build under
# Wine, and a short run of each fuzz target.
#
#   ./test.sh            everything
#   FUZZ_SECONDS=10 ./test.sh
set -euo pipefail
cd "$(dirname "$0")"
root="$(pwd)"
jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-60}"

scripts/install-deps.sh

# Temporary files of the tests (and Wine's server socket) stay in the build tree.
export TMPDIR="$root/build/tmp"
mkdir -p "$TMPDIR"

passed=0
failed=0
log_dir="$root/build/test-logs"
mkdir -p "$log_dir"

stop_wine() {
  for prefix in "$root"/build/windows/wineprefix; do
    [[ -d "$prefix" ]] && WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  done
}
trap stop_wine EXIT

build() {
  local preset="$1"
  echo "== build $preset"
  cmake --preset "$preset" >"$log_dir/configure-$preset.log" 2>&1 || { cat "$log_dir/configure-$preset.log"; return 1; }
  cmake --build --preset "$preset" -j"$jobs" >"$log_dir/build-$preset.log" 2>&1 || { tail -50 "$log_dir/build-$preset.log"; return 1; }
}

# Prints the output of every failed test of a ctest log, so that a red run
# says why without the build tree at hand.
print_failures() {
  awk '/\*\*\*(Failed|Exception|Timeout)/ {show = 1} /^ *Start +[0-9]+:/ {show = 0} show' "$1"
}

# Adds the counts of a ctest log's summary line to the totals.
count_results() {
  local summary
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)"
  if [[ -z "$summary" ]]; then
    echo "ctest gave no summary in $1"
    failed=$((failed + 1))
    return
  fi
  local nfail ntotal
  nfail="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")"
  ntotal="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")"
  passed=$((passed + ntotal - nfail))
  failed=$((failed + nfail))
}

# Runs one ctest preset and adds its counts to the totals. With RETRY_UNDER_WINE
# set, tests that failed are run once more: the Windows tests share one Wine
# prefix and server, so a clash between them can depend on timing. The first
# failure's output stays in the log and on screen, so it is still seen.
run_tests() {
  local preset="$1"
  local log="$log_dir/ctest-$preset.log"
  echo "== test $preset"
  ctest --preset "$preset" -j"$jobs" --timeout 300 --output-on-failure >"$log" 2>&1 || true
  grep -E '(\*\*\*|tests passed)' "$log" || true
  if grep -qE '[1-9][0-9]* tests? failed out of' "$log"; then
    print_failures "$log"
    if [[ -n "${RETRY_UNDER_WINE:-}" ]]; then
      echo "== test $preset: failed tests once more"
      log="$log_dir/ctest-$preset-rerun.log"
      ctest --preset "$preset" --rerun-failed --timeout 300 --output-on-failure >"$log" 2>&1 || true
      grep -E '(\*\*\*|tests passed)' "$log" || true
      print_failures "$log"
      # The rerun's summary counts only the tests it ran; the rest passed before.
      local first_total rerun_total
      first_total="$(grep -oE 'failed out of [0-9]+' "$log_dir/ctest-$preset.log" | tail -1 | grep -oE '[0-9]+$')"
      rerun_total="$(grep -oE 'failed out of [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+$' || echo 0)"
      passed=$((passed + first_total - rerun_total))
    fi
  fi
  count_results "$log"
}

build native
run_tests native

build asan
run_tests asan

build windows
# Makes the Wine prefix and starts its server before the parallel tests begin.
scripts/wine-exec build/windows/tolvaren.exe /d warm-up </dev/null >/dev/null 2>&1 || true
RETRY_UNDER_WINE=1 run_tests windows

build windows-i686
echo "== windows-i686 built: build/windows-i686/tolvaren.exe"

build fuzz
if ! scripts/run-fuzzers.sh "$root/build/fuzz" "$fuzz_seconds"; then
  failed=$((failed + 1))
else
  passed=$((passed + 1))
fi

echo "== clang-format"
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror >"$log_dir/format.log" 2>&1; then
  passed=$((passed + 1))
else
  echo "these files are not clang-format clean:"
  grep -oE '^[^:]+\.(cpp|h)' "$log_dir/format.log" | sort -u
  failed=$((failed + 1))
fi

echo
echo "$passed passed, $failed failed"
((failed == 0))
