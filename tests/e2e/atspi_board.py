# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the running game through AT-SPI, as a screen reader would: types the mine count into
# the first box, then checks that the board is one 15 x 15 table of cells that say
# "couverte", that nothing else of the board is in the tree, and that a move is told on the
# cell that gets the focus. Prints one line per failure and exits 1 on any.
import re
import subprocess
import sys
import time

import pyatspi

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, flush=True)
    return condition


def wait_for(find, what, seconds=15):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    print("FAIL: no " + what + " within %d s" % seconds, flush=True)
    sys.exit(1)


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and "volcanelle" in (app.name or "").lower():
            return app
    return None


def first(root, wanted):
    return pyatspi.findDescendant(root, wanted) if root is not None else None


app = wait_for(game, "game on the accessibility bus")

# The mine count: typed into the input box, then "OK".
box = wait_for(lambda: first(app, lambda o: o.getRoleName() == "dialog" and o.name == "Saisie"),
               "\"Saisie\" box")
entry = wait_for(lambda: first(box, lambda o: o.getRoleName() == "text"), "entry in the box")
entry.queryEditableText().setTextContents("30")
ok = first(box, lambda o: o.getRoleName() == "push button" and o.name == "OK")
check(ok is not None, "an \"OK\" button in the box")
ok.queryAction().doAction(0)

table = wait_for(lambda: first(app, lambda o: o.getRoleName() == "table"), "board table")
grid = table.queryTable()
check(grid.nRows == 15 and grid.nColumns == 15,
      "a 15 x 15 table (%d x %d)" % (grid.nRows, grid.nColumns))
check(table.childCount == 225, "225 children of the table (%d)" % table.childCount)
cells = [table.getChildAtIndex(i) for i in range(table.childCount)]
# Covered cells are buttons to press; a screen reader reads one, not its whole row.
check(all(c.getRoleName() == "push button" for c in cells), "every child a button")
check(all(c.childCount == 0 for c in cells), "nothing inside the cells")
check(grid.getAccessibleAt(7, 7).name == "Ligne 8, colonne 8, couverte",
      "cell (8, 8) named as covered: %r" % grid.getAccessibleAt(7, 7).name)
check(all(c.name.endswith(", couverte") for c in cells),
      "every cell says \"couverte\" before any move")
# Nothing of what lies under the covers anywhere in the tree.
told = [o.name for o in pyatspi.findAllDescendants(app, lambda o: True)]
check(not [n for n in told if re.match(r"^Ligne .*, (mine|vide|\d)$", n or "")],
      "no content under the covers in the tree")

# A move: focus on cell (8, 8), pressed. The focus then lands on a covered cell whose
# description tells what the move uncovered and whose turn it is. (That it moves only once is
# checked in process, where every focus change can be counted.)
# With no window manager on the test's display, the game window is given the input focus
# by hand, as a window manager would on a click.
subprocess.run(["xdotool", "search", "--sync", "--name", "^Volcanelle$", "windowfocus", "--sync"],
               timeout=10, check=False)
centre = grid.getAccessibleAt(7, 7)
check(centre.queryComponent().grabFocus(), "focus given to cell (8, 8)")
actions = centre.queryAction()
names = [actions.getName(i) for i in range(actions.nActions)]
check("Press" in names, "a \"Press\" action on a covered cell (%s)" % names)
actions.doAction(names.index("Press"))


def told_move():
    for cell in (table.getChildAtIndex(i) for i in range(table.childCount)):
        if cell.getState().contains(pyatspi.STATE_FOCUSED) and cell.description:
            return cell
    return None


move = wait_for(told_move, "focused cell that tells the move", 10)
check(grid.getAccessibleAt(7, 7).name != "Ligne 8, colonne 8, couverte",
      "cell (8, 8) tells what it shows once pressed")
check(move.name.endswith(", couverte"), "the focus on a covered cell: %r" % move.name)
told = r"Ligne 8, colonne 8, (mine|vide|\d)(, \d+ cases découvertes)?(, le joueur \d a \d+ points?)?\. " \
    r"Le joueur n°[12] a la main\."
check(re.match("^" + told + "$", move.description) is not None,
      "the description tells the move: %r" % move.description)
# And the name says it first, before the cell itself.
check(re.match("^" + told + r" Ligne \d+, colonne \d+, couverte$", move.name) is not None,
      "the name tells the move first: %r" % move.name)

sys.exit(1 if failures else 0)
