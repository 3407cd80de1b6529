#!/usr/bin/python3
"""Prints the accessibility tree of a running Tunvale window as a screen reader sees it
(AT-SPI), and lists the focusable controls that have no name. Run inside the program's D-Bus
session: scripts/a11y-check.sh does that under Xvfb."""
import sys
import time

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM,
}


def walk(node, depth, unnamed, limit=6):
    if node is None or depth > limit:
        return
    role = node.getRole()
    name = node.name or ""
    print("  " * depth + f"[{node.getRoleName()}] {name!r}")
    if role in INTERACTIVE and not name.strip():
        unnamed.append(f"{node.getRoleName()} under {node.parent.name!r}")
    # Rows and cells of big lists are data, not controls.
    if role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE):
        return
    for i in range(min(node.childCount, 60)):
        walk(node.getChildAtIndex(i), depth + 1, unnamed, limit)


def main():
    wanted = sys.argv[1] if len(sys.argv) > 1 else "tunvale"
    for _ in range(60):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        apps = [a for a in apps if a is not None and wanted.lower() in (a.name or "").lower()]
        if apps and apps[0].childCount > 0:
            break
        time.sleep(0.5)
    else:
        print("no accessible application named", wanted)
        return 2
    unnamed = []
    walk(apps[0], 0, unnamed)
    print("unnamed controls:", len(unnamed))
    for entry in unnamed:
        print("  ", entry)
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
