#!/usr/bin/env python3
"""Runs the tool and edits the report of /j, to play machines and tools the
test host cannot be (a domain member, a newer report layout, an answer that
changes between two runs).

  edited_report.py TOOL EDITS ARGUMENTS...

EDITS is a file holding a JSON list of objects; the Nth run of /j merges the
Nth object (the last one once the list is used up) into the report, and
counts its runs in EDITS.count. Other actions run the tool unchanged.
"""
import json
import os
import subprocess
import sys


def main():
    tool, edits_file = sys.argv[1:3]
    arguments = sys.argv[3:]
    if arguments[:1] != ["/j"]:
        os.execv(tool, [tool] + arguments)
    run = subprocess.run([tool] + arguments, stdout=subprocess.PIPE, check=False)
    count_file = edits_file + ".count"
    count = int(open(count_file).read()) if os.path.exists(count_file) else 0
    with open(count_file, "w") as counter:
        counter.write(str(count + 1))
    edits = json.load(open(edits_file))
    report = json.loads(run.stdout)
    report.update(edits[min(count, len(edits) - 1)])
    sys.stdout.write(json.dumps(report) + "\n")
    return run.returncode


if __name__ == "__main__":
    sys.exit(main())
