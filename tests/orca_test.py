#!/usr/bin/python3
"""What Orca says: starts the Orca screen reader with its speech written to its debug log, starts
the game, plays with real mouse and key input (xdotool) and reads what Orca spoke.

Orca writes every utterance to its debug log before it hands it to a speech server; none runs
here, so nothing is heard and the log is the whole of what was said.

Usage: orca_test.py PROGRAM  (inside support/with_session.sh --own-home: Orca's settings and log
go to a HOME of its own)
"""
import subprocess
import sys

import pyatspi

from support import orca_reader as orca
from support.atspi import click, fail, game_frame, showing, verdict, wait_for
from support.orca_reader import said_after, settle, spoken

PROGRAM = sys.argv[1]


def main():
    desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before Orca
    orca.play(PROGRAM, run, desktop)


def run(desktop):
    frame = wait_for("the game's window on the AT-SPI bus", lambda: game_frame(desktop))

    def shown(role, name):
        return lambda: next((c for c in frame if c.getRole() == role and c.name == name
                             and showing(c)), None)

    def cell(name):
        return next(c for c in frame if c.getRole() == pyatspi.ROLE_TEXT
                    and c.name.startswith(name))

    # Check on the empty board: the incorrect-solution panel is spoken as it shows.
    wrong = "notification Not yet complete. please check the solution."
    mark = len(spoken())
    click(wait_for("the Check button", shown(pyatspi.ROLE_PUSH_BUTTON, "Check")))
    wait_for(f"Orca to say {wrong!r}", lambda: said_after(mark, wrong))
    print(f"after Check on a wrong board Orca said {wrong!r}", flush=True)

    # Its Continue closes it; a closing is not spoken as a notice.
    closed = len(spoken())
    click(wait_for("the shown Continue", shown(pyatspi.ROLE_PUSH_BUTTON, "Continue")))
    wait_for("the panel to close", lambda: shown(pyatspi.ROLE_PUSH_BUTTON, "Continue")() is None)

    # Marks in pencil, then Backspace: Orca speaks the mark taken away, not the marks left.
    click(wait_for("the Pencil button", shown(pyatspi.ROLE_RADIO_BUTTON, "Pencil")))
    pencil = cell("Row 1, column 1")
    click(pencil)
    # As a player does, type once Orca has taken in where the focus is: it speaks an edit only
    # in the control it knows to have the focus.
    wait_for("the cell to take the focus", lambda: pyatspi.STATE_FOCUSED in
             pencil.getState().getStates())
    settle()
    subprocess.run(["xdotool", "type", "--delay", "100", "133"], check=True)
    wait_for("the marks to be typed",
             lambda: pencil.queryText().getText(0, -1) == "pencil marks 1 3 3")
    settle()
    after_typing = len(spoken())
    subprocess.run(["xdotool", "key", "BackSpace"], check=True)
    wait_for("Orca to speak the mark taken away", lambda: said_after(after_typing, " 3"))
    backspace = spoken()[after_typing:]
    print(f"after Backspace in a pencil cell Orca said {backspace!r}", flush=True)
    if any("pencil marks" in said for said in backspace):
        fail(f"after Backspace Orca read the whole cell: {backspace!r}")

    # Show All, then Check: the correct panel is spoken as it shows.
    right = "notification Correct, great work!"
    click(wait_for("the Show All button", shown(pyatspi.ROLE_PUSH_BUTTON, "Show All")))
    wait_for("Show All to fill the board",
             lambda: all(len(c.queryText().getText(0, -1)) == 1 for c in frame
                         if c.getRole() == pyatspi.ROLE_TEXT and c.name.startswith("Row ")))
    settle()
    click(wait_for("the Check button", shown(pyatspi.ROLE_PUSH_BUTTON, "Check")))
    wait_for(f"Orca to say {right!r}", lambda: said_after(closed, right))
    print(f"after Check on a right board Orca said {right!r}", flush=True)

    notices = [said for said in spoken()[closed:] if said.startswith("notification")]
    if notices != [right]:
        fail(f"between closing the first panel and the second Check Orca announced {notices}")


verdict(main, "Orca spoke both panels as they showed and the mark that Backspace took away")
