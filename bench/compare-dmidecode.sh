#!/usr/bin/env bash
# Times "tolvaren /d ?s" against dmidecode reading the system serial number
# from the same committed SeaBIOS image, in wall time (hyperfine) and in
# instructions (callgrind), and prints both as ratios; and against a bare
# "tolvaren /d x" with the same image set, which reads the image too but
# decodes nothing: the cost of the SMBIOS path itself.
#
#   bench/compare-dmidecode.sh [TOLVAREN_BINARY] [IMAGE]
#
# Defaults: build/native/tolvaren and tests/fixtures/firmware/ident.bin.
# Targets: at most 1.0x dmidecode's wall time and 0.5x its instructions, at
# most 1.15x the bare run's wall time (median); the exit status is 1 when a
# target is missed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$(realpath "${1:-$root/build/native/tolvaren}")"
image="$(realpath "${2:-$root/tests/fixtures/firmware/ident.bin}")"
runs="${BENCH_RUNS:-500}"

for program in hyperfine valgrind dmidecode python3; do
  command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 2; }
done
[[ -x "$tool" ]] || { echo "not built: $tool" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# dmidecode reads a memory file: the image goes to 0xE0000 of a sparse 1 MiB file.
mem="$work/mem"
truncate -s 1M "$mem"
dd if="$image" of="$mem" bs=1 seek=$((0xE0000)) conv=notrunc status=none

export TOLVAREN_BIOS_IMAGE="$image"
ours=("$tool" /d '?s')
theirs=(dmidecode --no-sysfs --dev-mem "$mem" -s system-serial-number)
bare=("$tool" /d x)

serial_ours="$("${ours[@]}")"
serial_theirs="$("${theirs[@]}")"
echo "tolvaren:  $serial_ours"
echo "dmidecode: $serial_theirs"
[[ "$serial_ours" == "$serial_theirs" ]] || echo "warning: the two serial numbers differ" >&2

hyperfine -N --warmup 50 --runs "$runs" --export-json "$work/wall.json" \
  -n tolvaren "$(printf '%q ' "${ours[@]}")" \
  -n dmidecode "$(printf '%q ' "${theirs[@]}")" \
  -n bare "$(printf '%q ' "${bare[@]}")" >"$work/hyperfine.txt" 2>&1 ||
  { cat "$work/hyperfine.txt"; exit 2; }

instructions() {
  local out="$work/callgrind.$1"
  shift
  valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>"$out.log"
  awk '/^(summary|totals):/ {print $2; exit}' "$out"
}
ir_ours="$(instructions ours "${ours[@]}")"
ir_theirs="$(instructions theirs "${theirs[@]}")"

python3 - "$work/wall.json" "$ir_ours" "$ir_theirs" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs, bare = results["tolvaren"], results["dmidecode"], results["bare"]
ir_ours, ir_theirs = int(sys.argv[2]), int(sys.argv[3])
wall = ours["mean"] / theirs["mean"]
median = ours["median"] / theirs["median"]
ir = ir_ours / ir_theirs
print(f"wall time:    tolvaren {ours['mean']*1e3:.3f} ms (median {ours['median']*1e3:.3f}), "
      f"dmidecode {theirs['mean']*1e3:.3f} ms (median {theirs['median']*1e3:.3f})")
print(f"instructions: tolvaren {ir_ours:,}, dmidecode {ir_theirs:,}")
print(f"ratio wall time (mean)   {wall:.2f}x  (median {median:.2f}x, target <= 1.0x)")
print(f"ratio instructions       {ir:.2f}x  (target <= 0.5x)")
path = ours["median"] / bare["median"]
print(f"/d ?s to a bare /d x     {path:.2f}x  (median; /d x {bare['median']*1e3:.3f} ms, target <= 1.15x)")
sys.exit(0 if wall <= 1.0 and ir <= 0.5 and path <= 1.15 else 1)
PY
