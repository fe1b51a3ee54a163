#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""What a screen reader finds in the windows of a process, and pressing a button as it would.

    accessibletexts.py PID              prints, as JSON, one [role, name, text, states, place] entry per node,
                                        walked from the application's root; states lists "showing",
                                        "enabled" and "focused" where they hold, place is [x, y, width, height]
                                        on the screen
    accessibletexts.py PID --press NAME performs the default action of the first showing, enabled button
                                        called NAME; exits 1 when there is none
    accessibletexts.py PID --combo-boxes prints, as JSON, one {"labels", "current", "entries", "selected", "states",
                                        "place"} object per showing combo box: the names of what labels it, its
                                        current text, the names of its list's entries, those selected, and states
                                        and place as above
    accessibletexts.py --announcements  prints "listening", then one JSON line [process id, text] for each
                                        announcement that any program makes, until it is ended

Runs in its own process, since pyatspi binds to the session bus given in its environment when imported.
"""

import json
import sys

import pyatspi

STATES = (("showing", pyatspi.STATE_SHOWING), ("enabled", pyatspi.STATE_ENABLED), ("focused", pyatspi.STATE_FOCUSED))


def states_of(node):
    state_set = node.getState()
    return [name for name, state in STATES if state_set.contains(state)]


def walk(node, visit, depth=0):
    if node is None or depth > 40:
        return
    try:
        visit(node)
        children = [node.getChildAtIndex(index) for index in range(node.childCount)]
    except Exception as error:
        # A window that changes while it is walked (a dialog opening, a menu closing) drops nodes under the walk's
        # feet, and AT-SPI reports that in more than one way: what has gone is no longer shown.
        print(f"skipped a node that went away: {error}", file=sys.stderr)
        return
    for child in children:
        walk(child, visit, depth + 1)


def application_of(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            return application
    return None


def text_of(node):
    try:
        return node.queryText().getText(0, -1) or ""
    except NotImplementedError:
        return ""


def place_of(node):
    try:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [extents.x, extents.y, extents.width, extents.height]
    except NotImplementedError:
        return [0, 0, 0, 0]


def dump(application):
    found = []
    walk(application, lambda node: found.append([node.getRoleName(), node.name or "", text_of(node), states_of(node),
                                                 place_of(node)]))
    json.dump(found, sys.stdout)
    return 0


def combo_box_of(node):
    labels = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labels.extend(relation.getTarget(index).name or "" for index in range(relation.getNTargets()))
    entries = []
    # The entries are the list items of the combo box's list, whether its popup is open or not.
    walk(node, lambda child: entries.append(child) if child.getRoleName() == "list item" else None)
    return {"labels": labels, "current": node.name or "", "entries": [entry.name or "" for entry in entries],
            "selected": [entry.name or "" for entry in entries if entry.getState().contains(pyatspi.STATE_SELECTED)],
            "states": states_of(node), "place": place_of(node)}


def dump_combo_boxes(application):
    found = []
    walk(application, lambda node: found.append(combo_box_of(node)) if (
        node.getRoleName() == "combo box" and "showing" in states_of(node)) else None)
    json.dump(found, sys.stdout)
    return 0


def press(application, name):
    buttons = []
    walk(application, lambda node: buttons.append(node) if (
        node.name == name and "button" in node.getRoleName() and {"showing", "enabled"} <= set(states_of(node))) else None)
    if not buttons:
        print(f"no showing, enabled button called {name!r}", file=sys.stderr)
        return 1
    buttons[0].queryAction().doAction(0)
    return 0


def listen_to_announcements():
    def announced(event):
        print(json.dumps([event.host_application.get_process_id(), str(event.any_data)]), flush=True)

    pyatspi.Registry.registerEventListener(announced, "object:announcement")
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0


def main(argv):
    if argv[1:] == ["--announcements"]:
        return listen_to_announcements()
    application = application_of(int(argv[1]))
    if len(argv) == 4 and argv[2] == "--press":
        return press(application, argv[3]) if application else 1
    if argv[2:] == ["--combo-boxes"]:
        return dump_combo_boxes(application) if application else (json.dump([], sys.stdout) or 0)
    return dump(application) if application else (json.dump([], sys.stdout) or 0)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
