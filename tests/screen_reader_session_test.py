#!/usr/bin/python3
"""What a screen reader is told over a session, heard with a real AT-SPI listener: the game on a
display with the AT-SPI bus, played with real mouse and key input (xdotool). Each part prints its
figures and fails where the game tells a reader too much, too little or the wrong thing:
- the name changes a Start sends, against the names that end different;
- a panel's "visible" state, told with its "showing" state as it shows and hides;
- the caret's moves in a cell (arrow keys, Home, End, a click) with their new offsets;
- the puzzle number, announced as a notification "Level n" when it changes and at no other time;
- where the focus is after a panel closes.

Usage: screen_reader_session_test.py PROGRAM  (inside xvfb-run and dbus-run-session)
"""
import subprocess
import sys
import time

import pyatspi

from support import atspi
from support.atspi import Controls, click, fail, game_frame, play, pump, showing, states, verdict
from support.atspi import wait_pumping as wait_for  # the listeners hear while the test waits

PROGRAM = sys.argv[1]

heard = []  # (event type, source role, source name, detail1) of every event from the game


def hear(event):
    try:
        source = event.source
        if source.getApplication().name != "tallywick":
            return
        heard.append((event.type, source.getRoleName(), source.name, event.detail1))
    except Exception:  # a source that went away meanwhile
        pass


def quiet():
    """Waits until no event has come for a second, and returns what came."""
    count, still_since = -1, time.monotonic()
    while time.monotonic() - still_since < 1.0:
        pump()
        if len(heard) != count:
            count, still_since = len(heard), time.monotonic()
        time.sleep(0.05)
    return list(heard)


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True)


def main():
    desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before the game
    for kind in ["object:property-change:accessible-name", "object:state-changed",
                 "object:text-caret-moved", "object:text-changed", "object:children-changed"]:
        pyatspi.Registry.registerEventListener(hear, kind)
    play(PROGRAM, run, desktop)


def run(desktop):
    frame = wait_for("the game's window on the AT-SPI bus", lambda: game_frame(desktop))
    controls = Controls(frame, wait_for)
    children, named, button, menu_item = (controls.children, controls.named, controls.button,
                                          controls.menu_item)

    def focused():
        found = [c.name for c in children if pyatspi.STATE_FOCUSED in states(c)]
        return found[0] if len(found) == 1 else found

    cells = [c for c in children if c.getRole() == pyatspi.ROLE_TEXT and c.name.startswith("Row ")]
    labels = [c for c in children if c.getRole() == pyatspi.ROLE_LABEL]

    def names():
        return [c.name for c in cells] + [c.name for c in labels]

    def events(since, kind):
        return [e for e in heard[since:] if e[0].startswith(kind)]

    def levels(since):
        return [e[2] for e in events(since, "object:state-changed:showing")
                if e[1] == "notification" and e[3] == 1 and e[2].startswith("Level ")]

    # ---- Start, then Start again on the same puzzle: name changes only for what ends changed ----
    quiet()
    for step in ["Start", "Start on the same puzzle"]:
        before, mark = names(), len(quiet())
        click(button("Start"))
        wait_for("the board to be revealed",
                 lambda: sum(len(c.queryText().getText(0, -1)) == 1 for c in cells) >= 10)
        quiet()
        changed = sum(a != b for a, b in zip(before, names()))
        renamed = len(events(mark, "object:property-change:accessible-name"))
        print(f"{step}: {renamed} name-change events for {changed} names that ended different; "
              f"{len(heard) - mark} events in all", flush=True)
        if renamed != changed:
            fail(f"{step} sent {renamed} name-change events for {changed} changed names")
    if levels(0):
        fail(f"a Start announced {levels(0)}")

    # ---- a panel shows visible and showing together, and hides both ----
    help_picture = next(c for c in children if c.getRole() == pyatspi.ROLE_NOTIFICATION
                        and c.name == "Welcome to Tallywick!")
    click(button("Check"))
    incorrect = wait_for("the incorrect-solution panel", named(pyatspi.ROLE_PUSH_BUTTON, "Continue"))
    click(incorrect)
    wait_for("the panel to close", lambda: not showing(incorrect))
    print(f"after the incorrect-solution panel closed the focus is on {focused()!r}", flush=True)
    if focused() != "Check":
        fail(f"after the incorrect-solution panel the focus is on {focused()!r}, not on Check")
    for opening in range(1, 3):
        mark = len(quiet())
        menu_item("Options", "How to play")
        wait_for("the help to show", lambda: showing(help_picture))
        quiet()
        told = [(e[0].split(":")[2], e[3]) for e in events(mark, "object:state-changed:")
                if e[2] == "Welcome to Tallywick!"]
        shown_states = sorted(s.value_nick for s in states(help_picture)
                              if s in (pyatspi.STATE_VISIBLE, pyatspi.STATE_SHOWING))
        print(f"help shown ({opening}): told {told}; states {shown_states}", flush=True)
        if ("visible", 1) not in told or ("showing", 1) not in told:
            fail(f"the help showed with {told}, not both visible and showing")
        if shown_states != ["showing", "visible"]:
            fail(f"the shown help reports {shown_states}")
        mark = len(heard)
        click(button("Continue"))
        wait_for("the help to close", lambda: not showing(help_picture))
        quiet()
        told = [(e[0].split(":")[2], e[3]) for e in events(mark, "object:state-changed:")
                if e[2] == "Welcome to Tallywick!"]
        hidden_states = [s.value_nick for s in states(help_picture)
                         if s in (pyatspi.STATE_VISIBLE, pyatspi.STATE_SHOWING)]
        print(f"help hidden ({opening}): told {told}; states {hidden_states}; "
              f"the focus is on {focused()!r}", flush=True)
        if ("visible", 0) not in told or ("showing", 0) not in told or hidden_states:
            fail(f"the help hid with {told}, states {hidden_states}")
        if focused() != "Check":
            fail(f"after the help closed the focus is on {focused()!r}, not on Check")

    # ---- the caret's moves in a pencil cell ----
    click(wait_for("the Pencil button", named(pyatspi.ROLE_RADIO_BUTTON, "Pencil")))
    cell = next(c for c in cells if c.queryText().getText(0, -1) == "")
    click(cell)
    wait_for("the cell to take the focus", lambda: pyatspi.STATE_FOCUSED in states(cell))
    subprocess.run(["xdotool", "type", "--delay", "50", "135"], check=True)
    wait_for("the marks", lambda: cell.queryText().getText(0, -1) == "pencil marks 1 3 5")
    quiet()
    moves = []
    for keys, offset in [(["Left"], 16), (["Home"], 12), (["End"], 18), (["Left", "Left"], 14)]:
        mark = len(heard)
        key(*keys)
        wait_for(f"the caret to move to {offset}", lambda: cell.queryText().caretOffset == offset)
        quiet()
        told = [e[3] for e in events(mark, "object:text-caret-moved") if e[2] == cell.name]
        moves.append((" ".join(keys), told))
        if not told or told[-1] != offset:
            fail(f"{' '.join(keys)} moved the caret to {offset} and told {told}")
    mark = len(heard)
    x, y = atspi.centre(cell)
    subprocess.run(["xdotool", "mousemove", str(x + 20), str(y + 8), "click", "1"], check=True)
    quiet()
    told = [e[3] for e in events(mark, "object:text-caret-moved") if e[2] == cell.name]
    moves.append(("click", told))
    if not told or told[-1] != cell.queryText().caretOffset:
        fail(f"a click put the caret at {cell.queryText().caretOffset} and told {told}")
    print(f"caret moves told (key, offsets): {moves}", flush=True)

    # ---- the puzzle number: announced when it changes, at no other time ----
    expected = []
    mark = len(quiet())
    for action, level in [(lambda: click(button("Skip Puzzle")), "Level 2"),
                          (lambda: click(button("Start")), None),
                          (lambda: click(button("Check")), None),
                          (lambda: menu_item("Options", "Restart"), "Level 1")]:
        action()
        if level is not None:
            expected.append(level)
            wait_for(f"{level!r} to be announced", lambda: levels(mark) == expected)
        quiet()
        if levels(mark) != expected:
            fail(f"announced {levels(mark)}, not {expected}")
    print(f"announced: {levels(mark)}; the focus is on {focused()!r}", flush=True)


verdict(main, "a reader was told of each name that changed, each panel as visible and showing, "
              "each caret move, each new puzzle number, and the focus came back")
