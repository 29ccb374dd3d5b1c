#!/usr/bin/python3
"""A blind player's session with the real Orca: the game and Orca on a virtual display, played
with real mouse and key input (xdotool) and Orca's own review keys, and what Orca said read from
its debug log. Each step prints what Orca said, verbatim. It fails where Orca
- puts the player on "Start" (or anywhere but where they were) after a panel closes,
- reads the board instead of the help text in flat review, on any of several openings,
- does not speak the new puzzle number after Continue, Select Puzzle, Skip Puzzle, Restart and a
  Show All that rewrites it, or speaks it at any other time,
- says nothing, or the space between marks, as the caret moves through a cell's pencil marks,
- does not speak a cell's cage when Alt+Right moves the focus into it and on Where Am I, or that
  move changes a cell, or does not speak a row and a cage read out with Alt+R and Alt+K.

Usage: orca_session_test.py PROGRAM  (inside support/with_session.sh --own-home)
"""
import re
import subprocess
import sys
import time

import pyatspi

from support import orca_reader as orca
from support.atspi import TIMEOUT, Controls, centre, click, fail, game_frame, showing, states
from support.atspi import verdict, wait_for
from support.orca_reader import settle, spoken

PROGRAM = sys.argv[1]
HELP_OPENINGS = 5  # the help failed about every other time; five in a row show it holds
HELP_TEXT = ("Welcome to Tallywick! Fill every column, row and 3 x 3 block of the board",
             "2 + 1 + 7 = 10")


def main():
    desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before Orca
    orca.play(PROGRAM, run, desktop)


def said_since(mark):
    """What Orca said after its first `mark` utterances, each without the full stop Orca puts
    after a notification."""
    return [said.rstrip(".") for said in spoken()[mark:]]


def soon(what, probe, seconds=10):
    """Polls probe() for a while; if it never holds, fails the test but plays on, so that one run
    shows every fault."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if probe():
            return True
        time.sleep(0.2)
    fail(f"gave up after {seconds} s waiting for {what}")
    return False


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True)
    settle()


def run(desktop):
    frame = wait_for("the game's window on the AT-SPI bus", lambda: game_frame(desktop))
    controls = Controls(frame, after_menu=settle)
    children, named, button, menu_item = (controls.children, controls.named, controls.button,
                                          controls.menu_item)

    def cell(name):
        return next(c for c in children if c.getRole() == pyatspi.ROLE_TEXT
                    and c.name.startswith(name))

    def focused_name():
        return next((c.name for c in children if pyatspi.STATE_FOCUSED in states(c)), None)

    def levels(said):
        return [s for s in said if s.startswith("notification Level")]

    all_levels = []  # every puzzle number Orca announced, in order

    def press(target, expected_focus, expected_level=None):
        """Clicks, waits for Orca, and checks where the focus ended and which level was said."""
        mark = len(spoken())
        click(target)
        if expected_focus is not None:
            soon(f"the focus on {expected_focus!r}",
                 lambda: (focused_name() or "").startswith(expected_focus))
        if expected_level is not None:
            soon(f"Orca to say {expected_level!r}", lambda: expected_level in said_since(mark))
        settle()
        said = said_since(mark)
        all_levels.extend(levels(said))
        return said

    def closing(panel, target, expected_focus, expected_level=None):
        mark = len(spoken())
        said = press(target, None, expected_level)
        time.sleep(0.5)
        settle()
        said = said_since(mark)
        focus = focused_name()
        print(f"closing the {panel}: Orca said {said!r}; the focus is on {focus!r}", flush=True)
        if not (focus or "").startswith(expected_focus):
            fail(f"after the {panel} closed the focus is on {focus!r}, not {expected_focus!r}")
        if any(s.startswith("Start push button") for s in said) and expected_focus != "Start":
            fail(f"after the {panel} closed Orca put the player on Start: {said!r}")
        # Orca speaks the control the focus comes back to unless it never left it in Orca's eyes.
        if any(s.endswith("push button") and not s.startswith(expected_focus) for s in said):
            fail(f"after the {panel} closed Orca spoke another button: {said!r}")

    settle()
    press(button("Start"), "Start")

    # ---- the incorrect-solution panel, from Check ----
    press(button("Check"), "Check")
    closing("incorrect-solution panel", button("Continue"), "Check")

    # ---- the help, several times: flat review reads its text, Continue returns to Check ----
    help_picture = next(c for c in children if c.getRole() == pyatspi.ROLE_NOTIFICATION
                        and c.name == "Welcome to Tallywick!")
    # A reader that has looked at the board in flat review holds the help's states from while it
    # was hidden: the failure showed after that.
    key("KP_Subtract")
    key("KP_Subtract")
    for opening in range(1, HELP_OPENINGS + 1):
        menu_item("Options", "How to play")
        wait_for("the help to show", lambda: showing(help_picture))
        mark = len(spoken())
        key("KP_Subtract")  # into flat review
        for _ in range(3):
            key("KP_Page_Up")  # the next line
        key("KP_Subtract")  # out of it
        review = said_since(mark)
        print(f"help {opening}: flat review said {review!r}", flush=True)
        if not any(s.startswith(HELP_TEXT[0]) and s.endswith(HELP_TEXT[1]) for s in review):
            fail(f"help {opening}: flat review did not read the help text: {review!r}")
        closing(f"help panel ({opening})", button("Continue"), "Check")

    # ---- the correct panel: Continue moves to puzzle 2 and says so ----
    press(button("Show All"), "Show All")
    press(button("Check"), "Check")
    closing("correct panel", button("Continue"), "Check", "notification Level 2")

    # ---- the selection panel from a cell, with the invalid-number panel on the way ----
    press(cell("Row 5, column 5"), "Row 5, column 5")
    menu_item("Options", "Select Puzzle")
    wait_for("the number field to take the focus",
             lambda: (focused_name() or "").startswith("Puzzle number"))
    press(button("OK"), "OK")  # nothing typed: the invalid-number panel
    # The invalid-number panel's OK lies over the selection panel's; it is the narrower one.
    ok_buttons = [c for c in children if c.getRole() == pyatspi.ROLE_PUSH_BUTTON
                  and c.name == "OK" and showing(c)]
    invalid_ok = next(c for c in ok_buttons
                      if c.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width == 87)
    closing("invalid-number panel", invalid_ok, "OK")
    press(wait_for("the number field", named(pyatspi.ROLE_TEXT, "Puzzle number, 1 to 115")),
          "Puzzle number")
    subprocess.run(["xdotool", "type", "--delay", "100", "115"], check=True)
    settle()
    closing("puzzle-selection panel", button("OK"), "Row 5, column 5", "notification Level 115")

    # ---- the completed panel, after Skip Puzzle on the last puzzle ----
    press(button("Skip Puzzle"), "Skip Puzzle")
    closing("completed panel", button("Continue"), "Skip Puzzle")

    # ---- Restart, Skip Puzzle, and a Show All that rewrites "07" as "7" ----
    mark = len(spoken())
    menu_item("Options", "Restart")
    soon("Orca to say 'notification Level 1'", lambda: "notification Level 1" in said_since(mark))
    all_levels.extend(levels(said_since(mark)))
    press(button("Skip Puzzle"), "Skip Puzzle", "notification Level 2")
    menu_item("Options", "Select Puzzle")
    subprocess.run(["xdotool", "type", "--delay", "100", "07"], check=True)
    settle()
    press(button("OK"), None, "notification Level 7")
    press(button("Show All"), "Show All", "notification Level 7")
    press(button("Start"), "Start")
    press(button("Clear Cells"), "Clear Cells")
    print(f"the puzzle numbers Orca announced: {all_levels!r}", flush=True)
    wanted = ["notification Level 2", "notification Level 115", "notification Level 1",
              "notification Level 2", "notification Level 7", "notification Level 7"]
    if all_levels != wanted:
        fail(f"Orca announced {all_levels!r}, not {wanted!r}")

    # ---- the caret through pencil marks ----
    click(wait_for("the Pencil button", named(pyatspi.ROLE_RADIO_BUTTON, "Pencil")))
    marks = cell("Row 2, column 2")
    press(marks, "Row 2, column 2")
    subprocess.run(["xdotool", "type", "--delay", "150", "1357"], check=True)
    wait_for("the marks", lambda: marks.queryText().getText(0, -1) == "pencil marks 1 3 5 7")
    settle()
    time.sleep(1)
    for keys, wanted_said in [("Left", " 7"), ("Left", " 5"), ("Home", " 1"), ("Right", " 3")]:
        mark = len(spoken())
        subprocess.run(["xdotool", "key", keys], check=True)
        deadline = time.monotonic() + TIMEOUT
        while wanted_said not in said_since(mark) and time.monotonic() < deadline:
            time.sleep(0.2)
        settle()
        said = said_since(mark)
        print(f"{keys} in the marks: Orca said {said!r}", flush=True)
        if wanted_said not in said:
            fail(f"{keys} in the marks: Orca said {said!r}, not {wanted_said!r}")
    mark = len(spoken())
    x, y = centre(marks)
    subprocess.run(["xdotool", "mousemove", str(x), str(y + 8), "click", "1"], check=True)
    soon("Orca to speak the click", lambda: said_since(mark))
    settle()
    # Orca reads the line a click lands in, or the mark under the caret when it takes the click
    # for a step of the caret.
    text = marks.queryText()
    under = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_CHAR)[0]
    print(f"a click in the marks: Orca said {said_since(mark)!r}", flush=True)
    if not {"pencil marks 1 3 5 7", under} & set(said_since(mark)):
        fail(f"a click in the marks: Orca said {said_since(mark)!r}, neither the marks nor "
             f"{under!r}")

    # ---- by ear: Alt+Right moves into the next cell, which tells its cage; read-outs ----
    mark = len(spoken())
    key("alt+Right")
    soon("the focus on 'Row 2, column 3'",
         lambda: (focused_name() or "").startswith("Row 2, column 3"))
    cage = cell("Row 2, column 3").description
    soon("Orca to speak the cage", lambda: cage in said_since(mark))
    settle()
    print(f"Alt+Right: Orca said {said_since(mark)!r}", flush=True)
    if not re.match(r"(cage of \d+ cells|one-cell cage), sum \d+", cage):
        fail(f"Row 2, column 3 tells {cage!r}, no cage")
    if cage not in said_since(mark):
        fail(f"Alt+Right: Orca said {said_since(mark)!r}, not the cage {cage!r}")
    if marks.queryText().getText(0, -1) != "pencil marks 1 3 5 7":
        fail(f"moving away changed the marks to {marks.queryText().getText(0, -1)!r}")
    mark = len(spoken())
    key("KP_Enter")  # Where Am I
    print(f"Where Am I: Orca said {said_since(mark)!r}", flush=True)
    if cage not in said_since(mark):
        fail(f"Where Am I: Orca said {said_since(mark)!r}, not the cage {cage!r}")
    sum_ = re.search(r"sum (\d+)", cage).group(1) if cage else "?"
    for keys, wanted_said in [
            ("alt+r", "notification row 2: blank, marks 1 3 5 7, " + ", ".join(["blank"] * 7)),
            ("alt+k", f"notification cage sum {sum_}, 0 so far: ")]:
        mark = len(spoken())
        subprocess.run(["xdotool", "key", keys], check=True)
        soon(f"Orca to say {wanted_said!r}",
             lambda: any(s.startswith(wanted_said) for s in said_since(mark)))
        settle()
        print(f"{keys}: Orca said {said_since(mark)!r}", flush=True)
        if not any(s.startswith(wanted_said) for s in said_since(mark)):
            fail(f"{keys}: Orca said {said_since(mark)!r}, not {wanted_said!r}")
    if not (focused_name() or "").startswith("Row 2, column 3"):
        fail(f"a read-out moved the focus to {focused_name()!r}")


verdict(main, "Orca brought the player back where they were after every panel, read the help "
              "every time, spoke each new puzzle number and each mark under the caret, a cell's "
              "cage on a move into it and what was read out")
