#!/usr/bin/python3
"""What a screen reader sees: starts the game on a display with the AT-SPI bus, plays a little with
real mouse and key input (xdotool), and reads the accessible tree with pyatspi at each step.

Usage: screen_reader_test.py PROGRAM  (inside xvfb-run and dbus-run-session)
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

from support.atspi import centre, click, fail, game_frame, play, pump, showing, states, verdict
from support.atspi import wait_pumping as wait_for  # the listeners hear while the test waits

PROGRAM = sys.argv[1]

heard = []  # (event type, source name, inserted or removed text) of the text-change notices
announced = []  # (source role, name, description) of each notification that came to show
hidden_notices = []  # names of the notifications that went away


def hear(event):
    try:
        heard.append((event.type, event.source.name, str(event.any_data)))
    except Exception:  # a source that went away meanwhile
        pass


def hear_showing(event):
    try:
        source = event.source
        if source.getRole() != pyatspi.ROLE_NOTIFICATION:
            return
        if event.detail1:
            announced.append((source.getRoleName(), source.name, source.description))
        else:
            hidden_notices.append(source.name)
    except Exception:  # a source that went away meanwhile
        pass


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


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
    """A panel's picture: a notification named by its message."""
    for child in children(frame):
        if child.getRole() == pyatspi.ROLE_NOTIFICATION and child.name == name:
            return child
    return None


def main():
    desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before the game
    pyatspi.Registry.registerEventListener(hear, "object:text-changed")
    pyatspi.Registry.registerEventListener(hear_showing, "object:state-changed:showing")
    play(PROGRAM, run, desktop)


def run(desktop):
    frame = wait_for("the game's window on the AT-SPI bus", lambda: game_frame(desktop))
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
    # The help is announced by its title; its two paragraphs are its text.
    help_picture = picture(frame, "Welcome to Tallywick!")
    if help_picture is None:
        fail("the help picture is not a notice named by its title")
    elif not (text_of(help_picture).startswith("Welcome to Tallywick! Fill every column")
              and text_of(help_picture).endswith("2 + 1 + 7 = 10.")
              and "cage" in text_of(help_picture)):
        fail(f"the help picture's text is not its two paragraphs: {text_of(help_picture)!r}")
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
    # The Start says what it did, once; what follows is heard afresh.
    started = ("notification", "Puzzle 1 started, 20 cells shown", "")
    wait_for("the Start to be announced", lambda: started in announced)
    time.sleep(1)
    pump()
    if announced != [started]:
        fail(f"Start on Easy announced {announced}, not {[started]}")
    announced.clear()

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
    # A reader is told of each change as it happens, as the edit it was: the click brings in the
    # empty marks, then each typed mark is inserted after the ones before it, and nothing is
    # removed, so a reader speaks just the mark typed.
    def told(cell):
        return [(kind.split(":")[2], text) for kind, source, text in heard
                if source == cell.name and kind.startswith("object:text-changed:")]
    marks = [("insert", "pencil marks"), ("insert", " 1"), ("insert", " 3"), ("insert", " 3")]
    wait_for(f"the text-changed notices of {pencil_cell.name!r} to tell each mark typed",
             lambda: told(pencil_cell) == marks or None)
    wait_for(f"a text-changed notice from {pen_cell.name!r} with its answer",
             lambda: told(pen_cell) == [("insert", "5")] or None)
    print("heard:", "; ".join(f"{kind} {text!r}" for kind, text in told(pencil_cell)), flush=True)

    # Backspace takes the last mark away: the notice carries just that mark.
    subprocess.run(["xdotool", "key", "BackSpace"], check=True)
    wait_for(f"{pencil_cell.name!r} to read 'pencil marks 1 3'",
             lambda: text_of(pencil_cell) == "pencil marks 1 3")
    wait_for(f"a text-removed notice from {pencil_cell.name!r} with the mark taken away",
             lambda: told(pencil_cell) == marks + [("delete", " 3")] or None)
    print(f"after Backspace: heard {told(pencil_cell)[-1][0]} {told(pencil_cell)[-1][1]!r}",
          flush=True)

    # A reader cannot write into a cell: the box takes text only through its key filter, so it
    # offers no editable text. (A write sent anyway, past what the cell offers, is answered by
    # Qt's own bridge without asking the cell; it must change nothing.)
    try:
        pencil_cell.queryEditableText()
        fail(f"{pencil_cell.name!r} offers to write text past its key filter")
    except NotImplementedError:
        print(f"{pencil_cell.name!r} offers no editable text", flush=True)
    for call, write in [("insert 'a'", lambda: Atspi.EditableText.insert_text(pencil_cell, 0, "a", 1)),
                        ("set 'a'", lambda: Atspi.EditableText.set_text_contents(pencil_cell, "a")),
                        ("delete all", lambda: Atspi.EditableText.delete_text(pencil_cell, 0, 16))]:
        try:
            done = write()
        except GLib.Error as refused:
            done = f"refused ({refused.message})"
        print(f"{call} sent to {pencil_cell.name!r} past what it offers: the bridge answers "
              f"{done!r}", flush=True)
    if text_of(pencil_cell) != "pencil marks 1 3":
        fail(f"writing through the reader changed {pencil_cell.name!r}: {text_of(pencil_cell)!r}")

    # ---- a hidden button does nothing for a reader: the correct panel's Continue would start the
    # next puzzle without any check ----
    board_before = {k: text_of(c) for k, c in board.items()}
    hidden_continues = [c for c in children(frame) if c.getRole() == pyatspi.ROLE_PUSH_BUTTON
                        and c.name == "Continue" and not showing(c)]
    if len(hidden_continues) != 4:
        fail(f"{len(hidden_continues)} hidden Continue buttons, not the four panels' ones")
    for button in hidden_continues:
        action = button.queryAction()
        if action.nActions != 0:
            fail(f"a hidden Continue offers {action.nActions} actions: "
                 f"{[action.getName(i) for i in range(action.nActions)]}")
        try:
            done = action.doAction(0)
        except GLib.Error as refused:
            done = f"refused ({refused.message})"
        print(f"Press on a hidden Continue answers {done!r}", flush=True)
        if done is True:
            fail("Press on a hidden Continue answers done")
    time.sleep(1)  # a press would start the next puzzle at once; give it the time to show
    pump()
    if {k: text_of(c) for k, c in board.items()} != board_before:
        fail("Press on a hidden Continue changed the board")
    if announced:
        fail(f"Press on a hidden Continue showed {announced}")

    # ---- Check on an unfinished board: the incorrect-solution panel announces its message ----
    message = "Not yet complete. please check the solution"
    click(wait_for("the Check button", named(pyatspi.ROLE_PUSH_BUTTON, "Check")))
    panel = wait_for("the incorrect-solution panel to show", named(pyatspi.ROLE_NOTIFICATION, message))
    wait_for("the incorrect-solution panel to be announced",
             lambda: ("notification", message, message) in announced)
    print(f"after Check on a wrong board: announced {announced}", flush=True)
    if showing(picture(frame, "Correct, great work!")):
        fail("the correct panel shows on an unfinished board")
    if announced != [("notification", message, message)]:
        fail(f"Check on a wrong board announced {announced}")

    # Its Continue, shown, is pressed by a reader as by a player; the closing is not announced.
    shown_continue = wait_for("the shown Continue", named(pyatspi.ROLE_PUSH_BUTTON, "Continue"))
    if shown_continue.queryAction().doAction(0) is not True:
        fail("Press on the shown Continue is not done")
    wait_for("the incorrect-solution panel to close", lambda: not showing(panel))
    wait_for("the closing to reach the reader", lambda: message in hidden_notices)
    if len(announced) != 1:
        fail(f"closing the panel announced {announced[1:]}")

    # ---- Show All, then Check: the correct panel announces its message ----
    announced.clear()
    click(wait_for("the Show All button", named(pyatspi.ROLE_PUSH_BUTTON, "Show All")))
    wait_for("Show All to fill the board",
             lambda: all(re.fullmatch("[1-9]", text_of(c)) for c in board.values()))
    click(wait_for("the Check button", named(pyatspi.ROLE_PUSH_BUTTON, "Check")))
    correct = "Correct, great work!"
    wait_for("the correct panel to be announced",
             lambda: ("notification", correct, correct) in announced)
    print(f"after Check on a right board: announced {announced}", flush=True)
    if announced != [("notification", correct, correct)]:
        fail(f"Check on a right board announced {announced}")


verdict(main, "the screen reader read the cells and their edits, heard the panels' messages, and could "
               "neither press a hidden button nor write past a cell's key filter")
