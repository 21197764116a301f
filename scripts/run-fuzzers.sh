#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given number of seconds,
# each from its seed corpus (fuzz/corpus/<target>/ plus the shared fixtures
# the target names in fuzz/corpus/<target>.seeds).
#
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build_dir="$1"
seconds="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
shared="$root/../shared/fixtures"
status=0

shopt -s nullglob
for target in "$build_dir"/fuzz/fuzz_*; do
  [[ -x "$target" && -f "$target" ]] || continue
  name="$(basename "$target")"
  work="$build_dir/fuzz-work/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  [[ -d "$root/fuzz/corpus/$name" ]] && cp -r "$root/fuzz/corpus/$name/." "$work/corpus/"
  if [[ -f "$root/fuzz/corpus/$name.seeds" && -d "$shared" ]]; then
    while read -r pattern; do
      [[ -z "$pattern" || "$pattern" == \#* ]] && continue
      for f in "$shared"/$pattern; do [[ -f "$f" ]] && cp "$f" "$work/corpus/$(echo "${f#$shared/}" | tr '/' '_')"; done
    done <"$root/fuzz/corpus/$name.seeds"
  fi
  echo "== fuzz $name for ${seconds}s"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/" "$work/corpus" >"$work/log.txt" 2>&1; then
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/log.txt" || true
  else
    echo "fuzz target $name failed:"
    tail -40 "$work/log.txt"
    status=1
  fi
done
exit $status
