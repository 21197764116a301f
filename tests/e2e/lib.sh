# Shared helpers of the end-to-end scripts. Each script is called as
#   script.sh TOOL [RUNNER]
# where TOOL is the built binary and RUNNER (optional) the program that runs it
# (scripts/wine-exec for the Windows build). Lines end in CR LF under a runner
# for Windows and in LF natively.
set -euo pipefail

TOOL="$1"
RUNNER="${2:-}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [[ "$TOOL" == *.exe ]]; then EOL=$'\r\n'; else EOL=$'\n'; fi
source "$HERE/checks.sh"

# run_tool ARGS... : runs the tool with standard input at end of file; sets
# OUT (exact bytes, as a file path) and STATUS.
OUT="$(mktemp)"
trap 'rm -f "$OUT"' EXIT
run_tool() {
  STATUS=0
  if [[ -n "$RUNNER" ]]; then
    "$RUNNER" "$TOOL" "$@" </dev/null >"$OUT" || STATUS=$?
  else
    "$TOOL" "$@" </dev/null >"$OUT" || STATUS=$?
  fi
}

# have_namespaces FLAGS : whether unshare can make the private namespaces
# FLAGS (as unshare takes them, such as -m -u), which takes root.
have_namespaces() { unshare "$@" true 2>/dev/null; }

# skip_without_namespaces FLAGS : ends the script as skipped where the private
# namespaces FLAGS cannot be had.
skip_without_namespaces() {
  if ! have_namespaces "$@"; then
    echo "SKIP: no private namespaces ($*) here"
    exit 0
  fi
}

# tool_path PATH : the path as the tool sees it: under Wine, through drive Z:.
tool_path() {
  if [[ -n "$RUNNER" ]]; then echo "Z:${1//\//\\}"; else echo "$1"; fi
}

# expect_lines STATUS LINE... : the last run printed exactly these lines (each
# with the platform's line end) and exited with STATUS.
expect_lines() {
  local want_status="$1"
  shift
  local want=""
  local line
  for line in "$@"; do want+="$line$EOL"; done
  if ! cmp -s "$OUT" <(printf '%s' "$want"); then
    fail "output differs; got:"
    od -c "$OUT" | head -20
  fi
  [[ "$STATUS" == "$want_status" ]] || fail "exit status $STATUS, expected $want_status"
}

# expect_nothing STATUS : the last run printed nothing.
expect_nothing() {
  [[ -s "$OUT" ]] && { fail "expected no output, got:"; od -c "$OUT" | head; }
  [[ "$STATUS" == "$1" ]] || fail "exit status $STATUS, expected $1"
}

# expect_text_file FILE : the last run printed FILE (LF line ends)
# byte for byte, with the platform's line ends.
expect_text_file() {
  if ! cmp -s "$OUT" <(sed "s/\$/${EOL%$'\n'}/" "$1"); then
    fail "output differs from $1"
    diff <(tr -d '\r' <"$OUT") "$1" | head -20
  fi
}

# expect_one_error STATUS TEXT : the last run printed exactly one line, an
# "Error: " line holding TEXT, and exited with STATUS.
expect_one_error() {
  local lines
  lines="$(wc -l <"$OUT")"
  [[ "$lines" == 1 ]] || fail "expected one line, got $lines: $(head -3 "$OUT")"
  grep -q "^Error: .*$2" "$OUT" || fail "no Error line naming '$2': $(head -3 "$OUT")"
  [[ "$STATUS" == "$1" ]] || fail "exit status $STATUS, expected $1"
}
