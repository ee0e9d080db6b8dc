"""Reads the running Kamorin through AT-SPI, as a screen reader does.

  atspi_dump.py            the tree, one object a line: indent, role, name in
                           quotes, and "focusable" for what takes the focus; a
                           combo box's list of items is not entered
  atspi_dump.py --extents  the same with each object's screen rectangle
  atspi_dump.py --value N  the value and text of the object named N
  atspi_dump.py --states N [R]  the states of the object named N (of role R), one line
  atspi_dump.py --actions N  the actions of the object named N, one line
  atspi_dump.py --press N  the first action (press, open) of the object named N
  atspi_dump.py --set N T  types T into the field named N, over what it held
  atspi_dump.py --text N   the text of the field named N"""
import sys
import time

import pyatspi


def application():
    deadline = time.time() + 20
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "Kamorin":
                # The main window is there once its menu bar is.
                if app.childCount > 0:
                    return app
        time.sleep(0.2)
    sys.exit("no accessible application named Kamorin")


def walk(node, depth=0):
    yield depth, node
    if node.getRoleName() == "list":
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node, extents):
    states = node.getState()
    parts = [node.getRoleName(), '"%s"' % node.name]
    if states.contains(pyatspi.STATE_FOCUSABLE):
        parts.append("focusable")
    if extents:
        try:
            e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            parts.append("at %d,%d %dx%d" % (e.x, e.y, e.width, e.height))
        except NotImplementedError:
            pass
    return " ".join(parts)


def find(app, name, role=None):
    for _, node in walk(app):
        if node.name == name and role in (None, node.getRoleName()):
            return node
    sys.exit("no object named %s" % name)


def main(args):
    app = application()
    if args[:1] == ["--press"]:
        find(app, args[1]).queryAction().doAction(0)
        return
    if args[:1] == ["--set"]:
        find(app, args[1], "text").queryEditableText().setTextContents(args[2])
        return
    if args[:1] == ["--text"]:
        print(find(app, args[1], "text").queryText().getText(0, -1))
        return
    if args[:1] == ["--value"]:
        node = find(app, args[1])
        text = node.queryText()
        print(node.queryValue().currentValue, text.getText(0, text.characterCount))
        return
    if args[:1] == ["--states"]:
        states = find(app, args[1], (args[2:3] or [None])[0]).getState().getStates()
        print(" ".join(sorted(pyatspi.stateToString(s) for s in states)))
        return
    if args[:1] == ["--actions"]:
        try:
            action = find(app, args[1]).queryAction()
        except NotImplementedError:
            print()
            return
        print(" ".join(action.getName(i) for i in range(action.nActions)))
        return
    extents = args[:1] == ["--extents"]
    for depth, node in walk(app):
        if depth == 0:
            continue
        print("  " * (depth - 1) + describe(node, extents))


main(sys.argv[1:])
