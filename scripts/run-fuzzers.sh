#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for the given number of seconds,
# each from its seed corpus (fuzz/corpus/<target>/ plus the shared fixtures
# the target names in fuzz/corpus/<target>.seeds). Targets run JOBS at a time
# (default: the number of processors); each is one process on one core, so
# every target still gets its full time. Their reports are printed in target
# order once all have ended.
#
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS [JOBS]
set -euo pipefail
build_dir="$1"
seconds="$2"
jobs="${3:-$(nproc)}"
root="$(cd "$(dirname "$0")/.." && pwd)"
shared="$root/../shared/fixtures"

# prepare NAME : a fresh work folder with the target's seeds.
prepare() {
  local name="$1" work="$build_dir/fuzz-work/$1" pattern f
  rm -rf "$work"
  mkdir -p "$work/corpus"
  [[ -d "$root/fuzz/corpus/$name" ]] && cp -r "$root/fuzz/corpus/$name/." "$work/corpus/"
  if [[ -f "$root/fuzz/corpus/$name.seeds" && -d "$shared" ]]; then
    while read -r pattern; do
      [[ -z "$pattern" || "$pattern" == \#* ]] && continue
      for f in "$shared"/$pattern; do [[ -f "$f" ]] && cp "$f" "$work/corpus/$(echo "${f#$shared/}" | tr '/' '_')"; done
    done <"$root/fuzz/corpus/$name.seeds"
  fi
  return 0
}

# fuzz TARGET : runs it; its exit status lands in the work folder.
fuzz() {
  local target="$1" work="$build_dir/fuzz-work/$(basename "$1")" status=0
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" >"$work/log.txt" 2>&1 || status=$?
  echo "$status" >"$work/status"
}

shopt -s nullglob
targets=()
for target in "$build_dir"/fuzz/fuzz_*; do
  [[ -x "$target" && -f "$target" ]] && targets+=("$target")
done

running=()
for target in "${targets[@]}"; do
  name="$(basename "$target")"
  prepare "$name"
  # Waits for a free slot: the oldest running target ends first, since all
  # run for the same time.
  while ((${#running[@]} >= jobs)); do
    wait "${running[0]}" || true
    running=("${running[@]:1}")
  done
  echo "== fuzz $name for ${seconds}s"
  fuzz "$target" &
  running+=("$!")
done
for pid in "${running[@]}"; do wait "$pid" || true; done

status=0
for target in "${targets[@]}"; do
  name="$(basename "$target")"
  work="$build_dir/fuzz-work/$name"
  if [[ "$(cat "$work/status" 2>/dev/null)" == 0 ]]; then
    echo "$name: $(grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/log.txt" | tr -s ' ' | tr '\n' ' ')"
  else
    echo "fuzz target $name failed:"
    tail -40 "$work/log.txt"
    status=1
  fi
done
exit $status
