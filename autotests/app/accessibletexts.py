#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""accessibletexts.py PID: prints, as JSON, what a screen reader finds in the windows of process PID.

Each entry is [role, name, text], walked from the application's root through the accessibility tree.
Runs in its own process, since pyatspi binds to the session bus given in its environment when imported.
"""

import json
import sys

import pyatspi


def walk(node, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        text = node.queryText().getText(0, -1)
    except NotImplementedError:
        text = ""
    found.append([node.getRoleName(), node.name or "", text or ""])
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), found, depth + 1)


def main():
    pid = int(sys.argv[1])
    found = []
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            walk(application, found)
    json.dump(found, sys.stdout)


if __name__ == "__main__":
    main()
