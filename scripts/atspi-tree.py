#!/usr/bin/env python3
"""Prints the accessibility tree of the running Korvath windows as assistive tools see it: role,
name, value, states and extents of every node. Run it on the same session bus and display as the
program (for example under `xvfb-run -a dbus-run-session`, with the program started with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1). Needs python3-pyatspi (gir1.2-atspi-2.0).

Usage: atspi-tree.py [application-name-substring]
"""
import sys

import pyatspi

STATES = ("checked", "enabled", "focusable", "focused", "editable", "multi_line", "showing")


def describe(node, depth):
    states = node.getState()
    shown = [s for s in STATES if states.contains(getattr(pyatspi, "STATE_" + s.upper()))]
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if "Component" in pyatspi.listInterfaces(node) else None
    value = ""
    if "Text" in pyatspi.listInterfaces(node):
        text = node.queryText()
        value = text.getText(0, min(text.characterCount, 60))
    place = f" @({extents.x},{extents.y} {extents.width}x{extents.height})" if extents else ""
    print(f"{'  ' * depth}[{node.getRoleName()}] {node.name!r}" + (f" value={value!r}" if value else "") +
          f" {{{', '.join(shown)}}}{place}")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            describe(child, depth + 1)


def main():
    wanted = sys.argv[1] if len(sys.argv) > 1 else ""
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and wanted in (app.name or ""):
            describe(app, 0)


if __name__ == "__main__":
    main()
