#!/usr/bin/env bash
# Odd and hostile machines on a private test host: files that are not files
# where the tool reads its configuration and its BIOS image, a resolv.conf
# without servers or with far too many, servers that are silent, closed or
# named twice, datagrams that are not the reply, and a host whose only
# interface is loopback. Every case runs under timeout(1) and must end within
# its bound; none may take more than 7 s. The script re-runs itself in new
# network, mount and UTS namespaces as network_host.sh does; nothing leaves
# them.
#
#   hostile_network.sh TOOL [RUNNER]
# With a RUNNER (Wine) the Windows binary runs with a prefix of its own in the
# build tree; the cases where Wine itself reads the file in question (resolv.conf,
# the route table), answers for the system (no server line, the own name) or
# cannot run under an address-space cap are native only.
source "$(dirname "$0")/private_host.sh"

ERR="$(mktemp)"
trap 'stop_private_host; rm -f "$OUT" "$ERR"' EXIT
private_host_up "$(cd "$(dirname "$TOOL")" && pwd)/e2e-hostile" hostile-host.example.test
start_dns_servers hostile-pc.example.test 127.0.0.2=silent 127.0.0.3=silent 127.0.0.4=silent 127.0.0.11=stray-big \
  127.0.0.12=stray-id 127.0.0.13=stray-qr 127.0.0.14=stray-name 127.0.0.15=stray-type 127.0.0.16=upper-case

image="$(cd "$HERE/../fixtures/firmware" && pwd)/uuid-ff.bin"
windows_path() { if [[ -n "$RUNNER" ]]; then echo "Z:${1//\//\\}"; else echo "$1"; fi; }
export TOLVAREN_BIOS_IMAGE="$(windows_path "$image")"
[[ -n "$RUNNER" ]] && export TOLVAREN_WINEPREFIX="$work/wineprefix"

# timed MAX_MS ARGS... : runs the tool under timeout(1) with a 7 s limit
# (standard output in OUT, standard error in ERR); sets STATUS, TAKEN (ms)
# and VALUE (standard output without CR), and fails a run above MAX_MS.
# TIMED_PREFIX, when set, is a command put in front (prlimit).
timed() {
  local max="$1" start end
  shift
  start=$(date +%s%N)
  STATUS=0
  timeout -k 1 7 ${TIMED_PREFIX:-} ${RUNNER:+"$RUNNER"} "$TOOL" "$@" </dev/null >"$OUT" 2>"$ERR" || STATUS=$?
  end=$(date +%s%N)
  TAKEN=$(((end - start) / 1000000))
  VALUE="$(tr -d '\r' <"$OUT")"
  ((TAKEN <= max)) || fail "'$*' took $TAKEN ms, more than $max (status $STATUS)"
  [[ "$STATUS" != 124 && "$STATUS" != 137 ]] || fail "'$*' was stopped after 7 s"
}
# expect_value MAX_MS TEMPLATE VALUE : /d TEMPLATE prints VALUE within MAX_MS.
expect_value() {
  timed "$1" /d "$2"
  [[ "$VALUE" == "$3" && "$STATUS" == 0 ]] || fail "/d '$2' gave '$VALUE' (status $STATUS), expected '$3'"
}
# expect_said TEXT : the last run said TEXT on one of its outputs.
expect_said() {
  grep -qF -- "$1" "$OUT" "$ERR" || fail "no '$1' in: $(cat "$OUT" "$ERR" | tr -d '\r')"
}

servers 127.0.0.1
if [[ -n "$RUNNER" ]]; then
  echo "-- Wine starts in the test host (a prefix of its own)"
  run_tool /d x # creates and boots the prefix on first use, without a time limit
fi

# Wine starts its prefix in well under a second once it runs; the bounds below
# allow for that.
quick=1500
[[ -n "$RUNNER" ]] && quick=3000

echo "-- the reply check: datagrams that are not the reply are dropped and the wait goes on"
for server in 127.0.0.11 127.0.0.12 127.0.0.13 127.0.0.14 127.0.0.15; do
  servers "$server"
  expect_value "$quick" '?d' genuine
done
servers 127.0.0.16
expect_value "$quick" '?d' stray # the question's name in other letter case is the same name

echo "-- a closed port fails at once, and the next server answers"
servers 127.0.0.20 127.0.0.1
expect_value "$quick" '?d' hostile-pc

echo "-- at most three servers, each as inet_aton reads it"
servers 127.0.0.21 127.0.0.22 127.0.0.23 127.0.0.1
expect_value "$quick" 'x?d' x
printf 'nameserver 127.0.0.054\nnameserver 0x7f.1\n' >"$resolv"
expect_value "$quick" '?d' hostile-pc # 127.0.0.44 is closed; 0x7f.1 is 127.0.0.1
printf 'nameserver 08.0.0.1\nnameserver 127.000.000.054\nnameserver 0177.1\n' >"$resolv"
expect_value "$quick" '?d' hostile-pc # 08 is no octal number: skipped; 127.0.0.44 is closed; 0177.1 is 127.0.0.1

echo "-- a thousand silent servers: three are asked, 2 s each"
for n in $(seq 1000); do echo "nameserver 127.0.0.$((2 + n % 3))"; done >"$resolv"
echo "nameserver 127.0.0.1" >>"$resolv"
expect_value 7000 'pc-?i' pc-10
((TAKEN >= 5900)) || fail "three silent servers took only $TAKEN ms"
echo "   $TAKEN ms"

echo "-- the same server twice in a row does not end the list"
servers 127.0.0.2 127.0.0.2 127.0.0.1
expect_value 3500 '?d' hostile-pc
((TAKEN >= 1900)) || fail "the silent server was not waited for ($TAKEN ms)"

if [[ -z "$RUNNER" ]]; then
  # Under Wine the system resolver's default, 127.0.0.1, takes the place of
  # the missing line, so the empty server text never reaches the tool there.
  echo "-- no nameserver line: nothing is asked, at once"
  : >"$resolv"
  expect_value "$quick" 'x?d' x
fi

echo "-- TOLVAREN_BIOS_IMAGE naming what is not a file: a prompt refusal that says what it is"
mkfifo "$work/image.fifo" 2>/dev/null || true
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/image.socket" 2>/dev/null || true
ln -sfn "$work/loop-b" "$work/loop-a"
ln -sfn "$work/loop-a" "$work/loop-b"
if [[ -z "$RUNNER" ]]; then
  cases=("image.fifo|it is a FIFO, not a file" "image.socket|it is a socket, not a file"
    "loop-a|Too many levels of symbolic links" "missing.bin|No such file or directory")
  devices=("/dev/zero|it is a character device, not a file")
else
  cases=("image.fifo|it is a pipe, not a file" "missing.bin|File not found" "loop-a|The filename cannot be resolved")
  devices=("/dev/zero|it is a character device, not a file")
fi
for c in "${cases[@]}" "${devices[@]}"; do
  path="${c%%|*}"
  [[ "$path" == /* ]] || path="$work/$path"
  for action in /s /d; do
    TOLVAREN_BIOS_IMAGE="$(windows_path "$path")" timed "$quick" "$action" 'pc?s'
    expect_said "${c#*|}"
  done
done

if [[ -z "$RUNNER" ]]; then
  echo "-- a FIFO bound over resolv.conf counts as no file"
  mkfifo "$work/resolv.fifo" 2>/dev/null || true
  mount --bind "$work/resolv.fifo" /etc/resolv.conf
  timed "$quick" /s
  [[ "$STATUS" == 0 ]] || fail "/s with a FIFO as resolv.conf ended with status $STATUS"
  expect_value "$quick" 'x?d' x
  umount /etc/resolv.conf

  # AddressSanitizer reserves terabytes of address space and reads /proc at
  # start-up, so a sanitizer build sits out the cap and the private /proc.
  sanitized=""
  grep -qa __asan_init "$TOOL" && sanitized=1
  echo "-- /dev/zero as resolv.conf: no growth, under a 150 MB address-space cap"
  mount --bind /dev/zero /etc/resolv.conf
  prefix="prlimit --as=150000000"
  [[ -n "$sanitized" ]] && prefix=""
  TIMED_PREFIX="$prefix" expect_value "$quick" 'x?d?i' x10
  umount /etc/resolv.conf
fi

if [[ -z "$RUNNER" && -z "$sanitized" ]]; then
  echo "-- a FIFO where /proc/net/route is read counts as no route table"
  STATUS=0
  start=$(date +%s%N)
  unshare -m bash -c 'mount -t tmpfs tmpfs /proc && mkdir /proc/net && mkfifo /proc/net/route &&
    exec timeout -k 1 7 "$0" /s' "$TOOL" </dev/null >"$OUT" 2>"$ERR" || STATUS=$?
  TAKEN=$((($(date +%s%N) - start) / 1000000))
  [[ "$STATUS" == 0 ]] || fail "/s with a FIFO as the route table ended with status $STATUS"
  ((TAKEN <= quick)) || fail "/s with a FIFO as the route table took $TAKEN ms"
  grep -q '^IP address *: 10.77.1.10' "$OUT" || fail "no IP address row: $(cat "$OUT")"
fi

if [[ -z "$RUNNER" ]]; then
  echo "-- a FIFO in place of /dev/mem, with no firmware tables: no wait, and no serial"
  mkdir -p "$work/dev"
  : >"$work/dev/null"
  [[ -p "$work/dev/mem" ]] || mkfifo "$work/dev/mem"
  STATUS=0
  start=$(date +%s%N)
  unshare -m bash -c '{ mount -t tmpfs tmpfs /sys/firmware 2>/dev/null || true; } &&
    mount --bind /dev/null "$1/null" && mount --rbind "$1" /dev &&
    exec env -u TOLVAREN_BIOS_IMAGE timeout -k 1 7 "$0" /d "x?s"' "$TOOL" "$work/dev" </dev/null >"$OUT" 2>"$ERR" || STATUS=$?
  TAKEN=$((($(date +%s%N) - start) / 1000000))
  [[ "$STATUS" == 0 && "$(tr -d '\r' <"$OUT")" == x ]] || fail "/d x?s with a FIFO as /dev/mem: status $STATUS, '$(cat "$OUT")'"
  ((TAKEN <= quick)) || fail "/d x?s with a FIFO as /dev/mem took $TAKEN ms"
fi

if [[ -z "$RUNNER" ]]; then
  # Wine answers gethostbyname of the own name itself, and asks the system
  # resolver when no interface has an address.
  echo "-- only loopback and a silent server: the own address comes from the interfaces alone, at once"
  servers 127.0.0.2
  ip link set v0 down
  timed "$quick" /s
  [[ "$STATUS" == 0 ]] || fail "/s with only loopback ended with status $STATUS"
  if tr -d '\r' <"$OUT" | grep -q '^IP address.*10\.77'; then fail "a downed adapter's address in /s"; fi
  expect_value "$quick" 'x?d?i' x
fi

finish
