#!/usr/bin/python
# Copyright (C) 2026 The Tolvaren developers
# SPDX-License-Identifier: MIT
"""Ansible module: gives a host the name a Tolvaren template expands to."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: tolvaren_name
short_description: Name a host after its hardware with Tolvaren
description:
  - Expands a Tolvaren name template on the host (C(tolvaren /j TEMPLATE)) and,
    when the expansion differs from the name the host will carry after its next
    restart, gives the host that name (C(tolvaren /c NAME)).
  - The expanded name itself is written, so a template with random or date
    macros renames the host to exactly the name this module reported. With
    C(name), the template is not expanded again; that name is checked
    (C(tolvaren /j NAME)) and only that name is ever written.
  - Idempotent; supports check mode and diff mode.
  - Fails, in check mode too, where C(tolvaren /c) would, for a template that
    the clean-up empties or that expands to nothing (with the tool's own error
    text), a name the system would refuse (with the reasons), and, unless
    C(allow_domain_member) is set, a member of a directory domain that would
    be renamed. Warnings of the report (maker placeholder serial numbers, empty
    values, a NetBIOS name cut to 15 bytes) become Ansible warnings.
options:
  template:
    description: The name or template, for example C(acme-?s).
    type: str
    required: true
  name:
    description:
      - The approved name, for example the C(name) an earlier check-mode run
        of the same template returned. The template is not expanded again, so
        a random macro, the date or a reverse DNS answer that changed since
        cannot change what is written; the host is renamed to this name only.
        The task fails without renaming anything when C(tolvaren /j NAME)
        reports another name for it (a name holding macros or characters the
        clean-up removes), or problems.
    type: str
  allow_domain_member:
    description:
      - Rename a host that is a member of a directory domain too. Its computer
        account in the domain keeps the old name, so after the restart the host
        may fail to log on to its domain unless the account is renamed as well.
        A member that carries the name already passes without it.
    type: bool
    default: false
  path:
    description: The tolvaren binary. The default is C(tolvaren) on PATH.
    type: path
  bios_image:
    description:
      - A saved firmware image to read the SMBIOS identification from, passed
        as C(TOLVAREN_BIOS_IMAGE).
    type: path
notes:
  - The new name takes effect at the next restart; C(reboot_required) says so.
  - Reads reports of C(schema_version) 1, as tolvaren of the same release as
    this collection prints them.
author: The Tolvaren developers (@tolvaren)
"""

EXAMPLES = r"""
- name: Plan the name (changes nothing)
  tolvaren.naming.tolvaren_name:
    template: "acme-?s"
  check_mode: true
  register: planned

- name: Give the host exactly the planned name
  tolvaren.naming.tolvaren_name:
    template: "acme-?s"
    name: "{{ planned.name }}"
  register: naming

- name: Restart where the name changed
  ansible.builtin.reboot:
  when: naming.reboot_required
"""

RETURN = r"""
name:
  description: What the template expands to.
  type: str
  returned: when the template expands to a name
  sample: acme-ACME-SN-000123
previous_name:
  description: The name the host would have carried after its next restart before this task.
  type: str
  returned: when the tool printed its report
netbios_name:
  description: The NetBIOS name Windows derives from the name (at most 15 bytes, upper case).
  type: str
  returned: when the template expands to a name
reboot_required:
  description: True when the host was (or in check mode would be) renamed; the name takes effect at the next restart.
  type: bool
  returned: when the tool printed its report
problems:
  description: Why the system would refuse the name; empty when it would not.
  type: list
  elements: dict
  returned: when the tool printed its report
  contains:
    code:
      description: A stable code, for example C(too_long), C(bad_byte) or C(digits_only).
      type: str
    message:
      description: The reason in words.
      type: str
domain:
  description: The directory domain the host is a member of, or null when it is a member of none (or the tool cannot tell).
  type: dict
  returned: when the tool printed its report
  contains:
    name:
      description: The domain's name, for example C(EXAMPLE.COM).
      type: str
    source:
      description: What showed the membership, for example C(/etc/krb5.keytab) or C(NetGetJoinInformation).
      type: str
stdout:
  description: What C(tolvaren /c) printed.
  type: str
  returned: when the host was renamed, or the rename failed
ansible_facts:
  description: The whole report of C(tolvaren /j) as the fact C(tolvaren).
  type: dict
  returned: success
tolvaren:
  description: The whole report of C(tolvaren /j), when the task failed after it was printed.
  type: dict
  returned: failure
"""

import json

from ansible.module_utils.basic import AnsibleModule

# The report layout this module reads; a tool that raised it changed the
# report in a way this module does not know.
SCHEMA_VERSION = 1
SUCCESS_PREFIX = 'Computer name successfully changed to "'


def run_tool(module, binary, environment, *arguments):
    return module.run_command([binary] + list(arguments), environ_update=environment)


def warning_text(warning):
    """One line for people out of a report warning (an object)."""
    message = warning.get("message") or ""
    if message:
        return message
    return "%s took %s = %r (%s)" % (
        warning.get("macro", ""),
        warning.get("field", ""),
        warning.get("text", ""),
        warning.get("kind", ""),
    )


def read_report(module, binary, environment, template):
    """Runs /j TEMPLATE; returns the report, or fails the task as /j did."""
    rc, out, err = run_tool(module, binary, environment, "/j", template)
    try:
        report = json.loads(out)
    except ValueError as error:
        module.fail_json(msg="tolvaren /j did not print a JSON report: %s" % error, rc=rc, stdout=out, stderr=err)
    if not isinstance(report, dict):
        module.fail_json(msg="tolvaren /j printed JSON that is no report", rc=rc, stdout=out, stderr=err)
    if "error" in report:
        module.fail_json(msg=report["error"], rc=rc, tolvaren=report)
    if rc != 0:
        module.fail_json(msg="tolvaren /j ended with status %d" % rc, rc=rc, stdout=out, stderr=err)
    version = report.get("schema_version")
    if isinstance(version, bool) or not isinstance(version, int):
        module.fail_json(msg="the report of %s holds no schema_version: that tolvaren is older than this module, "
                         "which reads schema_version %d" % (binary, SCHEMA_VERSION), tolvaren=report)
    if version != SCHEMA_VERSION:
        module.fail_json(msg="the report of %s has schema_version %d, but this module reads schema_version %d only: "
                         "install the tolvaren.naming collection of the same release as that tolvaren"
                         % (binary, version, SCHEMA_VERSION), tolvaren=report)
    return report


def domain_text(domain):
    name = domain.get("name") or "(unnamed)"
    source = domain.get("source")
    return "%s (shown by %s)" % (name, source) if source else name


def main():
    module = AnsibleModule(
        argument_spec=dict(
            template=dict(type="str", required=True),
            name=dict(type="str"),
            allow_domain_member=dict(type="bool", default=False),
            path=dict(type="path"),
            bios_image=dict(type="path"),
        ),
        supports_check_mode=True,
    )
    template = module.params["template"]
    approved = module.params["name"]
    binary = module.params["path"] or module.get_bin_path("tolvaren", required=True)
    environment = {}
    if module.params["bios_image"]:
        environment["TOLVAREN_BIOS_IMAGE"] = module.params["bios_image"]

    # An approved name is checked as it stands, so that what is written is
    # what was approved, whatever the template would give today.
    report = read_report(module, binary, environment, template if approved is None else approved)
    previous = report.get("static_name", "")
    problems = report.get("problems", [])
    domain = report.get("domain")
    raised = set()
    for warning in report.get("warnings", []):
        raised.add(warning_text(warning))
        module.warn(warning_text(warning))

    result = dict(previous_name=previous, problems=problems, domain=domain, changed=False, reboot_required=False)
    # The failures below are those of tolvaren /c, in its own words, so that
    # check mode fails where the real run would.
    if "name" not in report:
        module.fail_json(msg="No name specified", tolvaren=report, **result)
    name = report["name"]
    result.update(name=name, netbios_name=report.get("netbios_name", ""))
    if name == "":
        module.fail_json(msg="Your name evaluated to a zero-length string", tolvaren=report, **result)
    if problems:
        module.fail_json(msg="the name %r would be refused: %s" % (name, "; ".join(p["message"] for p in problems)),
                         tolvaren=report, **result)
    if approved is not None and approved != name:
        module.fail_json(msg="tolvaren /j reports %r for the approved name %r, which is not a plain name; nothing was "
                         "renamed" % (name, approved), tolvaren=report, **result)

    result["ansible_facts"] = dict(tolvaren=report)
    if name == previous:
        module.exit_json(**result)
    # Only a rename can break the domain account, so a member that already
    # carries the name passes.
    if domain and not module.params["allow_domain_member"]:
        result.pop("ansible_facts")
        module.fail_json(msg="the host is a member of the domain %s: its computer account keeps the old name, so after "
                         "the restart the host may fail to log on to the domain unless the account is renamed too; "
                         "set allow_domain_member to rename it anyway" % domain_text(domain),
                         tolvaren=report, **result)

    result["changed"] = True
    result["reboot_required"] = True
    if module._diff:
        result["diff"] = dict(before_header="static host name", after_header="static host name",
                              before=previous + "\n", after=name + "\n")
    if module.check_mode:
        module.exit_json(**result)

    rc, out, err = run_tool(module, binary, environment, "/c", name)
    lines = out.splitlines()
    if rc != 0:
        result.pop("ansible_facts")
        result.update(changed=False, reboot_required=False)
        module.fail_json(msg="; ".join(lines) or err.strip() or "tolvaren /c ended with status %d" % rc, rc=rc,
                         stdout=out, stderr=err, tolvaren=report, **result)
    if (SUCCESS_PREFIX + name + '".') not in [line.split("  ")[0] for line in lines]:
        module.fail_json(msg="tolvaren /c did not say it wrote %r: %s" % (name, "; ".join(lines)), rc=rc,
                         stdout=out, stderr=err, tolvaren=report, **result)
    # The rename's own warnings (an /etc/hosts that could not be updated,
    # cloud-init that may set the old name again) reach the play too; those
    # of the report were raised above already.
    for line in lines:
        if line.startswith("Warning: ") and line[len("Warning: "):] not in raised:
            module.warn(line[len("Warning: "):])
    result["stdout"] = out
    module.exit_json(**result)


if __name__ == "__main__":
    main()
