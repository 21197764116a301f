#!/usr/bin/env bash
# Builds the Ansible collection tolvaren.naming (contrib/ansible_collections/
# tolvaren/naming) with ansible-galaxy into OUT_DIR, as
# tolvaren-naming-VERSION.tar.gz, and prints its path. VERSION is the one of
# the project() line of CMakeLists.txt, completed to three numbers as Galaxy
# requires (0.6 becomes 0.6.0).
#
#   scripts/build-collection.sh OUT_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "$1" && cd "$1" && pwd)"

version="$(sed -n 's/^project(tolvaren VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
case "$version" in
  *.*.*.*) echo "build-collection.sh: version $version has more than three numbers" >&2; exit 1 ;;
  *.*.*) ;;
  *.*) version="$version.0" ;;
  *) echo "build-collection.sh: no version on the project() line of CMakeLists.txt" >&2; exit 1 ;;
esac

# A clean copy, so that nothing but the collection's own files (and the
# licence) goes into the tarball.
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp -R "$root/contrib/ansible_collections/tolvaren/naming/." "$stage/"
find "$stage" -name __pycache__ -prune -exec rm -rf {} +
cp "$root/LICENSE" "$stage/LICENSE"
printf 'version: %s\n' "$version" >>"$stage/galaxy.yml"

rm -f "$out/tolvaren-naming-$version.tar.gz"
ansible-galaxy collection build "$stage" --output-path "$out" >"$stage.log" 2>&1 || {
  cat "$stage.log" >&2
  rm -f "$stage.log"
  exit 1
}
rm -f "$stage.log"
echo "$out/tolvaren-naming-$version.tar.gz"
