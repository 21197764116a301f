#!/usr/bin/env python3
"""Checks /j output: valid against the JSON Schema, and equal to what /s and /d
print on the same machine.

  check_report.py SCHEMA REPORT [--summary FILE] [--display FILE] [--current FILE]
                  [--same-as OTHER_REPORT]

REPORT holds the exact bytes /j printed; --summary the bytes /s printed,
--display those of /d TEMPLATE (compared with "name"), --current those of /d
(compared with "current_name", control bytes shown as "."); --same-as the report of the other platform's
binary on the same machine, which must be equal but for "static_name" and
"problems" (each platform keeps and checks names its own way). Prints one line
per difference; exit status 1 when there is any.

  check_report.py SCHEMA --batch FILE

runs one check per line of FILE, each line holding the arguments after SCHEMA
(words separated by blanks, quoted as in the shell), so that many reports
cost one start of Python.
"""
import argparse
import codecs
import json
import shlex
import sys

import jsonschema

# /j writes a byte that is no part of well-formed UTF-8 as the code point of
# the same number; read the other outputs the same way to compare.
codecs.register_error("byte_as_code_point",
                      lambda e: ("".join(chr(b) for b in e.object[e.start:e.end]), e.end))


def text(data):
    return data.decode("utf-8", "byte_as_code_point")


def lines(data):
    """The lines of a console output, whatever its line end."""
    body = data[:-1] if data.endswith(b"\n") else data
    return [text(line[:-1] if line.endswith(b"\r") else line) for line in body.split(b"\n")]


SUMMARY_ROWS = [  # label, then the path of the value in the report
    ("Mainboard manufacturer : ", ("board", "manufacturer")),
    ("          model        : ", ("board", "model")),
    ("          serial       : ", ("board", "serial")),
    ("Chassis   manufacturer : ", ("chassis", "manufacturer")),
    ("          model        : ", ("chassis", "model")),
    ("          serial       : ", ("chassis", "serial")),
    ("System    manufacturer : ", ("system", "manufacturer")),
    ("          model        : ", ("system", "model")),
    ("          serial       : ", ("system", "serial")),
    ("Ethernet address       : ", ("network", "mac")),
    ("IP address             : ", ("network", "ip")),
    ("NetBIOS name           : ", ("network", "netbios_name")),
    ("DNS Host name          : ", ("network", "dns_host_name")),
    ("System UUID            : ", ("uuid",)),
]


def shown(value):
    """A value as /s and /d print it: control bytes as ".", where /j escapes them."""
    return "".join("." if ord(c) < 32 or ord(c) == 127 else c for c in value)


def value_at(report, path):
    for key in path:
        report = report[key]
    return report


def compare_summary(report, summary, problems):
    """The last 12 to 14 lines of /s are its rows; lines before them are
    gathering messages."""
    rows = lines(summary)
    # Rows 10 and 11 are printed only when the report has the address.
    expected = [r for r in SUMMARY_ROWS if not (r[1] in (("network", "mac"), ("network", "ip"))
                                                 and value_at(report, r[1]) == "")]
    rows = rows[len(rows) - len(expected):]
    for (label, path), row in zip(expected, rows):
        if not row.startswith(label):
            problems.append(f"/s row {row!r} is not the {'.'.join(path)} row")
        elif row[len(label):] != shown(value_at(report, path)):
            problems.append(f"{'.'.join(path)}: /j {value_at(report, path)!r}, /s {row[len(label):]!r}")


def check(schema, argv):
    """Runs one check; returns the lines that describe its differences."""
    parser = argparse.ArgumentParser()
    parser.add_argument("report")
    parser.add_argument("--summary")
    parser.add_argument("--display")
    parser.add_argument("--current")
    parser.add_argument("--same-as")
    args = parser.parse_args(argv)

    with open(args.report, "rb") as f:
        data = f.read()
    problems = []
    report_lines = data.split(b"\n")
    if len(report_lines) != 2 or report_lines[1] != b"" or not data.rstrip(b"\r\n").endswith(b"}"):
        problems.append("the output is not one line")
    try:
        report = json.loads(data.decode("utf-8"))  # strict: valid UTF-8, RFC 8259
        jsonschema.validate(report, schema, cls=jsonschema.Draft202012Validator)
    except (UnicodeDecodeError, ValueError, jsonschema.ValidationError) as e:
        return [f"{args.report}: {str(e).splitlines()[0]}"]

    if args.summary:
        with open(args.summary, "rb") as f:
            compare_summary(report, f.read(), problems)
    for option, key, show in ((args.display, "name", str), (args.current, "current_name", shown)):
        if option:
            with open(option, "rb") as f:
                printed = lines(f.read())[-1]
            if key not in report or show(report[key]) != printed:
                problems.append(f"{key}: /j {report.get(key)!r}, /d {printed!r}")
    if args.same_as:
        with open(args.same_as, "rb") as f:
            other = json.loads(f.read().decode("utf-8"))
        for key in sorted(set(report) | set(other)):
            if key not in ("static_name", "problems") and report.get(key) != other.get(key):
                problems.append(f"{key}: {report.get(key)!r} here, {other.get(key)!r} in {args.same_as}")
    return [f"{args.report}: {problem}" for problem in problems]


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    if sys.argv[2:3] == ["--batch"]:
        with open(sys.argv[3], encoding="utf-8") as f:
            checks = [shlex.split(line) for line in f if line.strip()]
    else:
        checks = [sys.argv[2:]]
    problems = [line for argv in checks for line in check(schema, argv)]
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
