# The private test host of the rename scripts and the Ansible test. Sourced
# after lib.sh, as
#   source "$(dirname "$0")/private_etc.sh" NAME
# it skips the calling script where private mount and UTS namespaces cannot be
# had, and makes $work (below the build tree, named e2e-NAME) for
# on_test_host_run.
skip_without_namespaces -m -u

work="$(cd "$(dirname "$TOOL")" && pwd)/e2e-$1"
rm -rf "$work"
mkdir -p "$work/mnt"

# on_test_host_run RUNNING_NAME SETUP COMMAND... : on a private host named
# RUNNING_NAME whose /etc is an overlay of the machine's with an upper layer in
# a tmpfs, and holds no cloud-init, host name, hosts file, Kerberos keytab,
# SSSD or Samba configuration of the machine's own, runs the bash code SETUP
# (which writes /etc files; "$1" is COMMAND's program there), then COMMAND with
# standard input at end of file, for at most $TEST_HOST_SECONDS seconds (60
# unless set). Its standard output goes to $OUT, and its standard error too
# where TEST_HOST_STDERR is "out". Sets STATUS; leaves in $work/after/ the
# files hostname and hosts as they are then, stat lines ("mode uid gid") and
# modification times of both and the names of leftover temporary files in
# /etc.
on_test_host_run() {
  local running="$1" setup="$2"
  shift 2
  rm -rf "$work/after"
  mkdir -p "$work/after"
  STATUS=0
  unshare -m -u bash -c '
    set -e
    work="$1" running="$2" setup="$3" out="$4" seconds="$5" stderr="$6"
    shift 6
    mount --make-rprivate /
    mount -t tmpfs tmpfs "$work/mnt"
    mkdir "$work/mnt/upper" "$work/mnt/work"
    mount -t overlay overlay -o lowerdir=/etc,upperdir="$work/mnt/upper",workdir="$work/mnt/work" /etc
    rm -rf /etc/cloud /etc/hostname /etc/hosts /etc/krb5.keytab /etc/sssd /etc/samba
    hostname "$running"
    eval "$setup"
    status=0
    ( [[ "$stderr" != out ]] || exec 2>&1; exec timeout "$seconds" "$@" ) </dev/null >"$out" || status=$?
    for f in hostname hosts; do
      cat "/etc/$f" >"$work/after/$f" 2>/dev/null || echo "(none)" >"$work/after/$f"
      stat -L -c "%a %u %g" "/etc/$f" >"$work/after/$f.stat" 2>/dev/null || true
      stat -L -c "%y" "/etc/$f" >"$work/after/$f.time" 2>/dev/null || true
    done
    [[ -L /etc/hostname ]] && echo link >"$work/after/hostname.kind"
    ls -a /etc | grep -F .tolvaren- >"$work/after/leftovers" || true
    exit $status
  ' bash "$work" "$running" "$setup" "$OUT" "${TEST_HOST_SECONDS:-60}" "${TEST_HOST_STDERR:-}" "$@" || STATUS=$?
}

# on_test_host RUNNING_NAME SETUP ARGS... : on_test_host_run with the tool and
# ARGS.
on_test_host() {
  local running="$1" setup="$2"
  shift 2
  on_test_host_run "$running" "$setup" "$TOOL" "$@"
}

# expect_file NAME TEXT : $work/after/NAME holds TEXT (printf escapes).
expect_file() {
  if ! cmp -s "$work/after/$1" <(printf "$2"); then
    fail "/etc/$1 differs; got:"
    od -c "$work/after/$1" | head -10
  fi
}
