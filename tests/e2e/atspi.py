#!/usr/bin/python3
"""Drives Mirelva's windows by their accessible names, as a screen reader sees them.

Usage: atspi.py press WINDOW NAME | settext WINDOW NAME TEXT | wait WINDOW
WINDOW is a window's title (its accessible name). Every search retries for at most 20 seconds.
A driver script may import it for find() and window().
"""
import sys
import time

import pyatspi


def find(node, test, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), test, depth + 1)
            if found is not None:
                return found
    except Exception:  # a node that went away while we looked
        return None
    return None


def wait_until(what, get, seconds, fail):
    """get()'s first true result, asked every 0.25 s for at most `seconds`; fail(what) otherwise."""
    end = time.time() + seconds
    while time.time() < end:
        result = get()
        if result:
            return result
        time.sleep(0.25)
    fail(what)


def window(title):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None or "mirelva" not in (app.name or "").lower():
            continue
        found = find(app, lambda n: n.name == title and n.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FRAME,
                                                                         pyatspi.ROLE_WINDOW), 0)
        if found is not None:
            return found
    return None


def retry(what, get):
    deadline = time.time() + 20
    while time.time() < deadline:
        found = get()
        if found is not None:
            return found
        time.sleep(0.25)
    sys.exit("atspi: not found: " + what)


def control(title, name):
    def get():
        top = window(title)
        return None if top is None else find(top, lambda n: n.name == name and n.getRole() != pyatspi.ROLE_LABEL)
    return retry(f"{name!r} in {title!r}", get)


def main():
    command, title = sys.argv[1], sys.argv[2]
    if command == "wait":
        retry(f"window {title!r}", lambda: window(title))
    elif command == "press":
        node = control(title, sys.argv[3])
        node.queryAction().doAction(0)
    elif command == "settext":
        node = control(title, sys.argv[3])
        node.queryEditableText().setTextContents(sys.argv[4])
    else:
        sys.exit("atspi: unknown command " + command)


if __name__ == "__main__":
    main()
