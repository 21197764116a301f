#!/usr/bin/env python3
"""Checks an Ansible module's documentation against its code and its results.

  ansible_docs.py MODULE_FILE DOC_JSON [RESULT...]

DOC_JSON holds what `ansible-doc -j FQCN` printed. Its options must equal the
module's argument spec (names, types, defaults, required, choices, elements),
read by running the module's main() with AnsibleModule replaced by a stand-in
that records its arguments. Each RESULT is a file holding the output of an
ad-hoc `ansible -o` run ("HOST | STATUS => {...}"): every key of the result
must be documented under RETURN or be one of Ansible's common return values.
Prints one line per difference; exit status 1 when there is any.
"""
import importlib.util
import json
import sys

from ansible.module_utils import basic

# Return values every module may give, which Ansible itself documents.
COMMON_RETURNS = {"changed", "diff", "failed", "invocation", "msg", "rc", "skipped", "stderr", "stderr_lines",
                  "stdout", "stdout_lines", "warnings", "deprecations"}


class Recorded(Exception):
    pass


def argument_spec(module_file):
    def stand_in(argument_spec, **_):
        raise Recorded(argument_spec)

    basic.AnsibleModule = stand_in
    spec = importlib.util.spec_from_file_location("module_under_test", module_file)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    try:
        module.main()
    except Recorded as recorded:
        return recorded.args[0]
    raise SystemExit("main() of %s never built an AnsibleModule" % module_file)


def option_differences(code, docs):
    for name in sorted(set(code) | set(docs)):
        if name not in docs:
            yield "option %s is not documented" % name
            continue
        if name not in code:
            yield "option %s is documented but not in the argument spec" % name
            continue
        have, doc = code[name], docs[name]
        for key, absent in (("type", "str"), ("default", None), ("required", False), ("choices", None),
                            ("elements", None)):
            if have.get(key, absent) != doc.get(key, absent):
                yield "option %s: %s is %r in the code, %r in the documentation" % (
                    name, key, have.get(key, absent), doc.get(key, absent))


def result_of(path):
    text = open(path).read()
    return json.loads(text[text.index("{"):])


def main():
    module_file, doc_file = sys.argv[1:3]
    docs = json.load(open(doc_file))
    (entry,) = docs.values()
    problems = list(option_differences(argument_spec(module_file), entry["doc"].get("options", {})))
    returns = set(entry.get("return") or {})
    for path in sys.argv[3:]:
        for key in sorted(set(result_of(path)) - returns - COMMON_RETURNS):
            if not key.startswith("_ansible"):
                problems.append("%s: returned key %s is not documented under RETURN" % (path, key))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
