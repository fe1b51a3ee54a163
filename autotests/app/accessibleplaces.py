#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""accessibleplaces.py PID: prints, as JSON, where the controls of process PID's windows are on the screen.

Each entry is [role, name, x, y, width, height, enabled, showing], walked from the application's root through the
accessibility tree, so that a test can click a control by its name the way a user would find it.
Runs in its own process, since pyatspi binds to the session bus given in its environment when imported.
"""

import json
import sys

import pyatspi


def walk(node, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        place = [extents.x, extents.y, extents.width, extents.height]
    except NotImplementedError:
        place = [0, 0, 0, 0]
    state = node.getState()
    found.append([node.getRoleName(), node.name or "", *place, state.contains(pyatspi.STATE_ENABLED),
                  state.contains(pyatspi.STATE_SHOWING)])
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
