#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
  cmake g++ googletest libgtest-dev     # native build and unit tests
  mingw-w64 wine64                      # Windows binaries, run under Wine
  clang libclang-rt-14-dev              # libFuzzer targets
  dmidecode                             # reference reader of firmware images
  dnsmasq-base                          # a real DNS server on loopback
  dosbox                                # runs the DOS dump programs
  util-linux mount                      # unshare and mount for private /etc
  iproute2                              # ss: the DNS tests wait for their dnsmasq to listen
  libbenchmark-dev                      # the bench preset
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -o DPkg::Lock::Timeout=900 >&2
  apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=900 "${missing[@]}" >&2
fi
