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

# Runs one ctest preset and adds its counts to the totals.
run_tests() {
  local preset="$1"
  echo "== test $preset"
  local status=0
  ctest --preset "$preset" -j"$jobs" --timeout 300 2>&1 | tee "$log_dir/ctest-$preset.log" | grep -E '(\*\*\*|tests passed)' || true
  local summary
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log_dir/ctest-$preset.log" | tail -1)"
  if [[ -z "$summary" ]]; then
    echo "ctest $preset gave no summary"
    failed=$((failed + 1))
    return
  fi
  local nfail ntotal
  nfail="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")"
  ntotal="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")"
  passed=$((passed + ntotal - nfail))
  failed=$((failed + nfail))
}

build native
run_tests native

build asan
run_tests asan

build windows
run_tests windows

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
