#!/usr/bin/env bash
# Debian's ansible-test sanity on the collection tolvaren.naming, copied into
# an ansible_collections/tolvaren/naming tree of the build folder. The copy is
# a git repository of its own: ansible-test takes its files from the nearest
# one above, which would otherwise be this project's, where the build folder
# is ignored and every file skipped.
#
# Only the tests that run without a download: ansible-doc, import, pep8,
# pylint, validate-modules, yamllint and runtime-metadata install pinned
# packages from the Python package index, which these machines cannot reach.
# tests/e2e/ansible.sh checks the documentation through ansible-doc in their
# place; the ansible-core range of meta/runtime.yml is checked below.
source "$(dirname "$0")/lib.sh"

root="$(cd "$HERE/../.." && pwd)"
work="$(cd "$(dirname "$TOOL")" && pwd)/e2e-ansible-sanity"
rm -rf "$work"
collection="$work/ansible_collections/tolvaren/naming"
mkdir -p "$collection" "$work/home"
cp -R "$root/contrib/ansible_collections/tolvaren/naming/." "$collection/"
find "$collection" -name __pycache__ -prune -exec rm -rf {} +
git init -q "$collection"
ansible_python="$(sed -n '1s/^#! *//p' "$(command -v ansible-test)")"

tests=(
  action-plugin-docs compile empty-init future-import-boilerplate ignores line-endings metaclass-boilerplate
  no-assert no-basestring no-dict-iteritems no-dict-iterkeys no-dict-itervalues no-get-exception
  no-illegal-filenames no-main-display no-smart-quotes no-unicode-literals replace-urlopen shebang symlinks
  use-argspec-type-path use-compat-six
)
echo "-- ansible-test sanity: ${tests[*]}"
# ansible-test keeps its virtual environments below HOME.
(cd "$collection" && HOME="$work/home" ansible-test sanity --local --python 3.11 "${tests[@]/#/--test=}") \
  >"$OUT" 2>&1 || { fail "ansible-test sanity failed"; cat "$OUT"; }
for test in "${tests[@]}"; do
  grep -q "^Running sanity test \"$test\"" "$OUT" || { fail "ansible-test did not run $test"; cat "$OUT"; break; }
done

echo "-- meta/runtime.yml names a range that holds this ansible-core"
"$ansible_python" - "$collection/meta/runtime.yml" <<'PY' || fail "requires_ansible of meta/runtime.yml"
import sys

import yaml
from ansible.release import __version__
from packaging.specifiers import SpecifierSet

required = SpecifierSet(yaml.safe_load(open(sys.argv[1]))["requires_ansible"])
sys.exit(0 if __version__ in required else "ansible-core %s is outside %s" % (__version__, required))
PY

rm -rf "$work"
finish
