"""Walks the accessibility tree of a running program as a screen reader sees
it (AT-SPI) and lists every shown control without a name.

Usage: unnamed_controls.py APPLICATION_NAME
Exit status: 0 every control is named, 1 some are not (or none was found),
2 the application never appeared on the accessibility bus.
"""
import sys
import time

import pyatspi

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST,
    pyatspi.ROLE_PAGE_TAB,
}


def find_application(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.5)
    return None


def walk(node, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return
        role = node.getRole()
    except Exception:  # the object went away while it was read
        return
    if role in CONTROL_ROLES:
        found["controls"] += 1
        name = (node.name or "").strip()
        if not name or "#Error" in name:
            found["unnamed"].append("%s (%s)" % (node.getRoleName(), node.description))
    # Rows and cells are the texts they show.
    if role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST):
        return
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), found, depth + 1)


def main():
    app = find_application(sys.argv[1])
    if app is None:
        print("the application did not appear on the accessibility bus")
        return 2
    # The window fills in as it starts: give it a moment.
    time.sleep(1)
    found = {"controls": 0, "unnamed": []}
    for window in app:
        walk(window, found)
    print("%d controls shown, %d without a name" % (found["controls"], len(found["unnamed"])))
    for control in found["unnamed"]:
        print("  " + control)
    return 1 if found["unnamed"] or found["controls"] == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
