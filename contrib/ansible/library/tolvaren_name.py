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
    macros renames the host to exactly the name this module reported.
  - Idempotent; supports check mode and diff mode.
  - A name the system would refuse fails the task with the reasons, in check
    mode too. Warnings of the report (maker placeholder serial numbers, empty
    values, a NetBIOS name cut to 15 bytes) become Ansible warnings.
options:
  template:
    description: The name or template, for example C(acme-?s).
    type: str
    required: true
  path:
    description: The tolvaren binary. The default is C(tolvaren) on PATH.
    type: str
  bios_image:
    description:
      - A saved firmware image to read the SMBIOS identification from, passed
        as C(TOLVAREN_BIOS_IMAGE).
    type: str
notes:
  - The new name takes effect at the next restart; O(reboot_required) says so.
author: The Tolvaren developers
"""

EXAMPLES = r"""
- name: Name the host after its system serial number
  tolvaren_name:
    template: "acme-?s"
  register: naming

- name: Restart where the name changed
  ansible.builtin.reboot:
  when: naming.reboot_required
"""

RETURN = r"""
name:
  description: What the template expands to.
  type: str
  returned: success
previous_name:
  description: The name the host would have carried after its next restart before this task.
  type: str
  returned: success
netbios_name:
  description: The NetBIOS name Windows derives from the name (at most 15 bytes, upper case).
  type: str
  returned: success
reboot_required:
  description: True when the host was (or in check mode would be) renamed; the name takes effect at the next restart.
  type: bool
  returned: success
problems:
  description: Why the system would refuse the name; empty when it would not.
  type: list
  elements: str
  returned: always
ansible_facts:
  description: The whole report of C(tolvaren /j) as the fact C(tolvaren).
  type: dict
  returned: success
"""

import json

from ansible.module_utils.basic import AnsibleModule


def run_tool(module, binary, environment, *arguments):
    rc, out, err = module.run_command([binary] + list(arguments), environ_update=environment)
    return rc, out, err


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


def main():
    module = AnsibleModule(
        argument_spec=dict(
            template=dict(type="str", required=True),
            path=dict(type="str"),
            bios_image=dict(type="str"),
        ),
        supports_check_mode=True,
    )
    template = module.params["template"]
    binary = module.params["path"] or module.get_bin_path("tolvaren", required=True)
    environment = {}
    if module.params["bios_image"]:
        environment["TOLVAREN_BIOS_IMAGE"] = module.params["bios_image"]

    rc, out, err = run_tool(module, binary, environment, "/j", template)
    if rc != 0:
        module.fail_json(msg="tolvaren /j failed: %s" % (out.strip() or err.strip()), rc=rc, stdout=out, stderr=err,
                         problems=[])
    try:
        report = json.loads(out)
    except ValueError as error:
        module.fail_json(msg="tolvaren /j did not print a JSON report: %s" % error, stdout=out, stderr=err,
                         problems=[])

    name = report.get("name", "")
    previous = report.get("static_name", "")
    problems = report.get("problems", [])
    for warning in report.get("warnings", []):
        module.warn(warning_text(warning))

    result = dict(
        name=name,
        previous_name=previous,
        netbios_name=report.get("netbios_name", ""),
        problems=problems,
        changed=False,
        reboot_required=False,
        ansible_facts=dict(tolvaren=report),
    )
    if problems:
        result.pop("ansible_facts")
        module.fail_json(msg="the name %r would be refused: %s" % (name, "; ".join(problems)), tolvaren=report,
                         **result)

    if name == previous:
        module.exit_json(**result)

    result["changed"] = True
    result["reboot_required"] = True
    if module._diff:
        result["diff"] = dict(before_header="static host name", after_header="static host name",
                              before=previous + "\n", after=name + "\n")
    if module.check_mode:
        module.exit_json(**result)

    rc, out, err = run_tool(module, binary, environment, "/c", name)
    if rc != 0:
        result.pop("ansible_facts")
        result["changed"] = False
        result["reboot_required"] = False
        module.fail_json(msg="tolvaren /c failed: %s" % (out.strip() or err.strip()), rc=rc, stdout=out,
                         stderr=err, **result)
    # The rename's own warnings (an /etc/hosts that could not be updated,
    # cloud-init that may set the old name again) reach the play too; those of
    # placeholder serial numbers were raised above already.
    for line in out.splitlines():
        if line.startswith("Warning: ") and "machines of this model get the same name" not in line:
            module.warn(line[len("Warning: "):])
    result["stdout"] = out
    module.exit_json(**result)


if __name__ == "__main__":
    main()
