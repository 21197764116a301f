#!/usr/bin/env bash
# Builds the native binary when needed, then runs it with the given arguments:
#   ./run.sh /d pc-?Y?M?D-?4
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
{
  [[ -f "$root/build/native/CMakeCache.txt" ]] || (cd "$root" && cmake --preset native)
  cmake --build "$root/build/native" --target tolvaren -j"$(nproc)"
} >"$root/build-native.log" 2>&1 || { cat "$root/build-native.log" >&2; exit 2; }
rm -f "$root/build-native.log"
exec "$root/build/native/tolvaren" "$@"
