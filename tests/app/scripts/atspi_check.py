#!/usr/bin/python3
"""What a screen reader finds of the program over the AT-SPI bus.

Usage: atspi_check.py ORVSCHED GROUP.sch

Runs on a display with a session bus (the test starts it under xvfb-run and dbus-run-session).
Starts the program on the group, finds its window through the accessibility registry, prints each
item box of the group window as
    BOX <name> | <description> | <states>
then moves the keyboard to the second box as a reader does (grabFocus) and prints the box the
program then says has the focus,
    FOCUSED <name>
then asks the box named on the last BOX line for its action "open day list" and waits for the
day list's window, printing
    OPENED <window name>
Exits 0 when all of that was found, 1 otherwise.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def program(names, timeout):
    deadline = time.time() + timeout
    seen = set()
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None:
                continue
            seen.add(app.name)
            if app.name in names:
                return app
        time.sleep(0.2)
    print("ON THE BUS: %s" % ", ".join(sorted(seen)))
    return None


def boxes_of(app, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for node in walk(app):
            if node.getRole() != pyatspi.ROLE_LIST:
                continue
            items = [node.getChildAtIndex(i) for i in range(node.childCount)]
            items = [c for c in items if c is not None and c.getRole() == pyatspi.ROLE_LIST_ITEM]
            if items and all(c.description for c in items):
                return items
        time.sleep(0.2)
    return []


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    # The accessibility bus and its registry first: a program that starts while they are still
    # coming up (a busy machine) may find no bus and never join it.
    pyatspi.Registry.getDesktop(0).childCount
    shown = subprocess.Popen([sys.argv[1], sys.argv[2]], env=env)
    try:
        app = program({os.path.basename(sys.argv[1]), "ORV Scheduler"}, 60)
        if app is None:
            print("NO PROGRAM on the bus")
            return 1
        boxes = boxes_of(app, 30)
        if not boxes:
            print("NO BOXES in the program's windows")
            return 1
        for box in boxes:
            states = sorted(pyatspi.stateToString(s) for s in box.getState().getStates())
            print("BOX %s | %s | %s" % (box.name, box.description, " ".join(states)), flush=True)
        focused = []

        def hear(event):
            source = event.source
            if source is not None and source.getRole() == pyatspi.ROLE_LIST_ITEM and (
                    event.type.startswith("focus") or event.detail1 == 1):
                focused.append(source.name)

        def move():
            boxes[1].queryComponent().grabFocus()
            return False

        pyatspi.Registry.registerEventListener(hear, "focus:", "object:state-changed:focused")
        GLib.timeout_add(500, move)
        GLib.timeout_add(3000, pyatspi.Registry.stop)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(hear, "focus:", "object:state-changed:focused")
        print("FOCUSED %s" % (focused[-1] if focused else "-"), flush=True)
        box = boxes[-1]
        action = box.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        print("ACTIONS %s" % ", ".join(names), flush=True)
        if "open day list" not in names:
            return 1
        action.doAction(names.index("open day list"))
        wanted = "Reservations for " + box.name
        deadline = time.time() + 30
        while time.time() < deadline:
            for i in range(app.childCount):
                window = app.getChildAtIndex(i)
                if window is not None and window.name == wanted:
                    print("OPENED %s" % window.name, flush=True)
                    return 0
            time.sleep(0.2)
        print("NO WINDOW named %s" % wanted)
        return 1
    finally:
        shown.kill()
        shown.wait()


if __name__ == "__main__":
    sys.exit(main())
