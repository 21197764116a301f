#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, the benchmarks and
# the scripts need, when missing, and can check that every outside command
# they run is on PATH.
#
#   scripts/install-deps.sh                      install the packages that are missing
#   scripts/install-deps.sh --check              only check the commands; on the first missing
#                                                one print "missing command: CMD (Debian package PKG)"
#                                                and exit 2
#   scripts/install-deps.sh --firmware-images    also QEMU and OVMF for scripts/make-firmware-images.sh
set -euo pipefail

# Each line: a Debian package, then the commands taken from it (none for a
# library). Packages of the base system are listed too, so that a machine
# without one of them gets a clear line rather than a failure in the middle.
requirements=(
  "cmake: cmake ctest cpack"                  # build, tests, packages
  "g++: g++"                                  # native build
  "binutils: readelf"                         # the packaging test: is the binary static
  "googletest:"                               # GoogleTest sources for the Windows tests
  "libgtest-dev:"                             # GoogleTest for the native tests
  "libbenchmark-dev:"                         # the bench preset
  "mingw-w64: x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-windres
     i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix i686-w64-mingw32-windres"
  "wine: wine wineboot"                       # runs the Windows tests
  "libwine: wineserver"
  "wine64:"                                   # Wine's 64-bit loader
  "clang: clang clang++"                      # libFuzzer targets
  "libclang-rt-14-dev:"                       # libFuzzer and sanitizer run-time of clang
  "clang-format: clang-format"                # test.sh's format check
  "git: git"                                  # test.sh lists the sources to format-check
  "dmidecode: dmidecode"                      # reference reader of firmware images
  "dnsmasq-base: dnsmasq"                     # a real DNS server on loopback
  "bind9-dnsutils: dig"                       # asks that server directly
  "dosbox: dosbox"                            # runs the DOS dump programs
  "util-linux: unshare nsenter flock"         # private namespaces; wine-exec's lock
  "mount: mount"                              # private /etc and /sys/class in those namespaces
  "iproute2: ip ss"                           # test network interfaces; wait for dnsmasq to listen
  "hyperfine: hyperfine"                      # benchmarks: wall time
  "valgrind: valgrind callgrind_annotate"     # benchmarks: instruction counts
  "python3: python3"                          # benchmarks: the ratios; scripted DNS server
  "python3-jsonschema:"                       # validates /j output against doc/tolvaren-report.schema.json
  "ansible-core: ansible-playbook ansible ansible-galaxy ansible-test ansible-doc"
                                              # the Ansible collection: build, install, sanity, docs
  "krb5-user: ktutil klist"                   # writes and lists the keytabs of the domain-member tests
  "wixl: wixl"                                # builds the Windows Installer package
  "msitools: msibuild msiinfo"                # adds its PATH entry; checks its tables
  "rpm: rpmbuild rpm"                         # builds, checks and installs the RPM
  "hostname: hostname"                        # names the private test hosts
  "lintian: lintian"                          # checks the Debian package
  "man-db: man"                               # renders the man page
  "groff-base: groff"                         # renders the man page
  "dpkg: dpkg-deb dpkg-query"                 # builds and lists the Debian package
  "gzip: gzip zcat"
  "coreutils: od tr wc mktemp comm sort timeout tee"
  "diffutils: cmp diff"
  "findutils: find xargs"
  "mawk: awk"
  "sed: sed"
  "grep: grep"
)
firmware_requirements=(
  "qemu-system-x86: qemu-system-x86_64"       # boots SeaBIOS and OVMF for the firmware images
  "ovmf:"
)

check_only=0
case "${1:-}" in
  --check) check_only=1 ;;
  --firmware-images) requirements+=("${firmware_requirements[@]}") ;;
  "") ;;
  *) echo "usage: $0 [--check | --firmware-images]" >&2; exit 2 ;;
esac

# check_commands: the first command not on PATH, with its package.
check_commands() {
  local entry package command
  for entry in "${requirements[@]}"; do
    package="${entry%%:*}"
    for command in ${entry#*:}; do
      if ! command -v "$command" >/dev/null 2>&1; then
        echo "missing command: $command (Debian package $package)"
        return 2
      fi
    done
  done
}

if ((check_only)); then
  check_commands
  exit
fi

missing=()
for entry in "${requirements[@]}"; do
  package="${entry%%:*}"
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -o DPkg::Lock::Timeout=900 >&2
  apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=900 "${missing[@]}" >&2
fi
