#!/usr/bin/python3
"""What a screen reader sees: starts the game on a display with the AT-SPI bus, plays a little with
real mouse and key input (xdotool), and reads the accessible tree with pyatspi at each step.

Usage: screen_reader_test.py PROGRAM  (inside xvfb-run and dbus-run-session)
"""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
TIMEOUT = 30  # seconds for each wait; every wait polls and says what it was waiting for

failures = []
heard = []  # (event type, source name, inserted text) of the change notices a reader hears


def hear(event):
    try:
        heard.append((event.type, event.source.name, str(event.any_data)))
    except Exception:  # a source that went away meanwhile
        pass


def pump():
    """Delivers the notices that have arrived (pyatspi hands them over in GLib's loop)."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def fail(message):
    failures.append(message)
    print("FAIL:", message, flush=True)


def wait_for(what, probe):
    """Polls probe() until it returns something true, or gives up with a clear message."""
    deadline = time.monotonic() + TIMEOUT
    last = None
    while time.monotonic() < deadline:
        pump()
        try:
            last = probe()
        except Exception as error:  # the tree can change under a reader; try again
            last = error
        if last and not isinstance(last, Exception):
            return last
        time.sleep(0.2)
    raise SystemExit(f"FAIL: gave up after {TIMEOUT} s waiting for {what} (last seen: {last!r})")


def states(accessible):
    return set(accessible.getState().getStates())


def showing(accessible):
    return pyatspi.STATE_SHOWING in states(accessible)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def centre(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(accessible):
    x, y = centre(accessible)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def type_keys(keys):
    subprocess.run(["xdotool", "type", "--delay", "50", keys], check=True)


def children(frame):
    return [frame.getChildAtIndex(i) for i in range(frame.childCount)]


CELL_NAME = re.compile(r"^Row ([1-9]), column ([1-9])(?:, cage sum (\d+))?$")


def cells(frame):
    """The 81 cells by (row, column) as a player counts them, with their names and texts."""
    found = {}
    for child in children(frame):
        if child.getRole() != pyatspi.ROLE_TEXT:
            continue
        match = CELL_NAME.match(child.name)
        if match:
            found[(int(match.group(1)), int(match.group(2)))] = child
    return found


def picture(frame, name):
    for child in children(frame):
        if child.getRole() == pyatspi.ROLE_IMAGE and child.name == name:
            return child
    return None


def main():
    desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before the game
    pyatspi.Registry.registerEventListener(hear, "object:text-changed")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)  # the real X display, not the offscreen one
    game = subprocess.Popen([PROGRAM], env=env)
    try:
        run(desktop)
    finally:
        game.terminate()
        try:
            game.wait(timeout=20)
        except subprocess.TimeoutExpired:
            game.kill()
            fail("the game did not end when asked to")


def run(desktop):
    def find_frame():
        for app in desktop:
            if app is not None and app.name == "tallywick":
                for window in app:
                    if window is not None and window.getRole() == pyatspi.ROLE_FRAME \
                            and window.childCount == 188 and showing(window):
                        return window
        return None

    frame = wait_for("the game's window on the AT-SPI bus", find_frame)
    print(f"frame {frame.name!r}: {frame.childCount} children", flush=True)

    # ---- before any game: 81 named, empty, editable cells; the panels' pictures named ----
    board = wait_for("81 named cells", lambda: (lambda c: c if len(c) == 81 else None)(cells(frame)))
    for (row, column), cell in sorted(board.items()):
        if CELL_NAME.match(cell.name).group(3) is not None:
            fail(f"{cell.name!r} names a sum before any game started")
        if pyatspi.STATE_EDITABLE not in states(cell):
            fail(f"{cell.name!r} is not editable")
        if text_of(cell) != "":
            fail(f"{cell.name!r} reads {text_of(cell)!r} before any game started")
    print("cells:", "; ".join(f"{board[k].name!r}" for k in [(1, 1), (1, 9), (9, 1)]), flush=True)
    # Row 1, column 1 is the top-left cell on the screen.
    x11, y11 = centre(board[(1, 1)])
    x19, _ = centre(board[(1, 9)])
    _, y91 = centre(board[(9, 1)])
    if not (x11 < x19 and y11 < y91):
        fail("rows and columns are not counted from the top-left corner of the board")

    for message in ["Correct, great work!", "Not yet complete. please check the solution",
                    "Congrats, you Have completed All of the Levels!",
                    "Please enter a Valid number", "Please enter a Puzzle number (1 to 115)"]:
        shown = picture(frame, message)
        if shown is None:
            fail(f"no picture named {message!r}")
        elif showing(shown):
            fail(f"the picture {message!r} shows before its panel is opened")
    if not any(c.getRole() == pyatspi.ROLE_IMAGE and c.name.startswith("Welcome to Tallywick!")
               and "cage" in c.name for c in children(frame)):
        fail("the help picture is not named by its two paragraphs")
    if not any(c.getRole() == pyatspi.ROLE_TEXT and c.name == "Puzzle number, 1 to 115"
               for c in children(frame)):
        fail("the puzzle-number field is not named for what it asks")

    # ---- Easy, then Start, with the mouse ----
    def named(role, name):
        return lambda: next((c for c in children(frame)
                             if c.getRole() == role and c.name == name and showing(c)), None)

    menu_bar = next(c for c in children(frame) if c.getRole() == pyatspi.ROLE_MENU_BAR)
    difficulty = next(c for c in menu_bar if c.name == "Difficulty")
    click(difficulty)

    def easy_item():
        # The open menu hangs below its menu-bar item: item, menu, menu items.
        found = pyatspi.findDescendant(difficulty, lambda a: a is not None and a.name == "Easy"
                                       and a.getRole() == pyatspi.ROLE_MENU_ITEM and showing(a))
        return found
    click(wait_for("the Difficulty menu to open", easy_item))
    click(wait_for("the Start button", named(pyatspi.ROLE_PUSH_BUTTON, "Start")))

    def revealed():
        digits = {k: text_of(c) for k, c in board.items() if re.fullmatch("[1-9]", text_of(c))}
        return digits if len(digits) >= 20 else None
    digits = wait_for("Start on Easy to reveal 20 cells", revealed)
    if len(digits) != 20:
        fail(f"Start on Easy revealed {len(digits)} cells, not 20")

    # Every cage shows its sum in one cell's name; together the sums are the board's total, 405.
    sums = {}
    for key, cell in board.items():
        total = CELL_NAME.match(cell.name).group(3)
        if total is not None:
            sums[key] = int(total)
    if sum(sums.values()) != 405:
        fail(f"the cage sums in the cells' names add up to {sum(sums.values())}, not 405")
    # Each named sum is the label drawn in that very cell's top-left corner.
    labels = [c for c in children(frame) if c.getRole() == pyatspi.ROLE_LABEL and showing(c)]
    for key, total in sums.items():
        cell_box = board[key].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        inside = [c.name for c in labels
                  if cell_box.x <= c.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
                  < cell_box.x + 20
                  and cell_box.y <= c.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
                  < cell_box.y + 20]
        if inside != [str(total)]:
            fail(f"{board[key].name!r}: the label in its corner reads {inside}")
    shown_sums = sorted(sums.items())[:3]
    print("after Start on Easy:", "; ".join(
        f"{board[k].name!r} reads {text_of(board[k])!r}" for k in list(digits)[:2]),
        "|", "; ".join(f"{board[k].name!r}" for k, _ in shown_sums), flush=True)

    # ---- an answer in pen, marks in pencil ----
    empty = [k for k, c in sorted(board.items()) if text_of(c) == ""]
    pen_cell, pencil_cell = board[empty[0]], board[empty[1]]
    click(pen_cell)
    type_keys("5")
    wait_for(f"{pen_cell.name!r} to read '5'", lambda: text_of(pen_cell) == "5")

    click(wait_for("the Pencil button", named(pyatspi.ROLE_RADIO_BUTTON, "Pencil")))
    click(pencil_cell)
    type_keys("133")
    wait_for(f"{pencil_cell.name!r} to read 'pencil marks 1 3 3'",
             lambda: text_of(pencil_cell) == "pencil marks 1 3 3")
    print(f"typed: {pen_cell.name!r} reads {text_of(pen_cell)!r}; "
          f"{pencil_cell.name!r} reads {text_of(pencil_cell)!r}", flush=True)
    # A reader is told of each change as it happens, with the new reading.
    wait_for(f"a text-changed notice from {pencil_cell.name!r} with its marks",
             lambda: any(kind.startswith("object:text-changed:insert") and source == pencil_cell.name
                         and text == "pencil marks 1 3 3" for kind, source, text in heard))
    wait_for(f"a text-changed notice from {pen_cell.name!r} with its answer",
             lambda: any(kind.startswith("object:text-changed:insert") and source == pen_cell.name
                         and text == "5" for kind, source, text in heard))
    print("heard:", "; ".join(f"{kind} {text!r}" for kind, source, text in heard
                              if source == pencil_cell.name), flush=True)

    # ---- Check on an unfinished board: the incorrect-solution panel, read by its message ----
    click(wait_for("the Check button", named(pyatspi.ROLE_PUSH_BUTTON, "Check")))
    panel = wait_for("the incorrect-solution panel to show",
                     named(pyatspi.ROLE_IMAGE, "Not yet complete. please check the solution"))
    print(f"after Check: image {panel.name!r} is showing", flush=True)
    if showing(picture(frame, "Correct, great work!")):
        fail("the correct panel shows on an unfinished board")


try:
    main()
except SystemExit as stop:
    print(stop, flush=True)
    sys.exit(1)
if failures:
    print(f"{len(failures)} failures")
    sys.exit(1)
print("the screen reader read the cells, their values and the panel's message")
