#!/usr/bin/env bash
# Builds the release packages into build/packages/:
#   tolvaren_VERSION_amd64.deb         the native static binary, man page and docs
#   tolvaren-VERSION-windows.zip       x64/ and x86/tolvaren.exe and README.txt
#   tolvaren-VERSION-1.x86_64.rpm      the native static binary, man page and docs
#   tolvaren-VERSION-x64.msi           the 64-bit binary for Program Files, on PATH
#   tolvaren-naming-VERSION.tar.gz     the Ansible collection tolvaren.naming
# It configures and builds the binaries of the native, windows and windows-i686
# presets where needed (only the tool, not the tests), then runs CPack; the
# Windows build's msi target makes the Windows Installer package.
#
#   scripts/package.sh            JOBS=N sets the build's parallel jobs
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc)}"
out="$root/build/packages"
log_dir="$root/build/package-logs"
mkdir -p "$out" "$log_dir"

# run LOG COMMAND... : runs a step with its output in LOG; on failure shows
# the end of the log and where it is.
run() {
  local log="$1"
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -30 "$log"
    echo "package.sh: '$*' failed; log: $log" >&2
    exit 1
  fi
}

source scripts/build-preset.sh
build() {
  configure_and_build "$log_dir" "$@" || { echo "package.sh: building $1 failed; logs under $log_dir" >&2; exit 1; }
}

build native tolvaren debian_files
build windows-i686 tolvaren
build windows tolvaren msi

rm -f "$out"/tolvaren_*.deb "$out"/tolvaren-*-windows.zip "$out"/tolvaren-*.rpm "$out"/tolvaren-*.msi
run "$log_dir/cpack-deb.log" cpack -G DEB --config build/native/CPackConfig.cmake -B "$out"
run "$log_dir/cpack-zip.log" cpack -G ZIP --config build/windows/CPackConfig.cmake -B "$out"
run "$log_dir/cpack-rpm.log" cpack -G RPM --config build/native/CPackConfig.cmake -B "$out"
windows_version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)"
cp "build/windows/packaging/tolvaren-$windows_version-x64.msi" "$out"/
rm -rf "$out/_CPack_Packages"
ls "$out"/tolvaren_*.deb "$out"/tolvaren-*-windows.zip "$out"/tolvaren-*.rpm "$out"/tolvaren-*.msi

# The Ansible collection tolvaren.naming, as tolvaren-naming-VERSION.tar.gz.
rm -f "$out"/tolvaren-naming-*.tar.gz
run "$log_dir/collection.log" scripts/build-collection.sh "$out"
ls "$out"/tolvaren-naming-*.tar.gz
