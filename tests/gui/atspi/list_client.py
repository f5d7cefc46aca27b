#!/usr/bin/python3
"""Reads a list of an application over AT-SPI, as a screen reader does, and
prints it as JSON: role, name, states and every item with its name, role,
place on screen and states.

    list_client.py APPLICATION LIST_NAME
"""
import json
import sys
import time

import pyatspi


def states(node):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def find(node, name, depth=0):
    if node is None or depth > 12:
        return None
    if node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), name, depth + 1)
        if found is not None:
            return found
    return None


def application(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"no application {name!r} on the accessibility bus")


def main():
    app_name, list_name = sys.argv[1:3]
    node = find(application(app_name), list_name)
    if node is None:
        sys.exit(f"no control named {list_name!r}")
    items = []
    for i in range(node.childCount):
        item = node.getChildAtIndex(i)
        box = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        items.append({"name": item.name, "role": item.getRoleName(),
                      "extents": [box.x, box.y, box.width, box.height], "states": states(item)})
    print(json.dumps({"role": node.getRoleName(), "name": node.name, "states": states(node),
                      "items": items}, ensure_ascii=False))


main()
