"""What the screen-reader tests share: waiting on the accessible tree, clicking what a reader finds
with real mouse input (xdotool), starting the game where a reader sees it, and the verdict.

The tests import it as `support.atspi` (their own folder is the first on Python's path).
"""
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30  # seconds for each wait; every wait polls and says what it was waiting for

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message, flush=True)


def wait_for(what, probe, between=None):
    """Polls probe() until it returns something true, or gives up with a clear message;
    between(), if given, runs before each try."""
    deadline = time.monotonic() + TIMEOUT
    last = None
    while time.monotonic() < deadline:
        if between is not None:
            between()
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


def centre(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(accessible):
    x, y = centre(accessible)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def start_game(program):
    """Starts the game on the real X display with its accessibility bridge on."""
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)  # the real X display, not the offscreen one
    return subprocess.Popen([program], env=env)


def game_frame(desktop):
    """The game's shown main window among the desktop's applications, or None."""
    for app in desktop:
        if app is not None and app.name == "tallywick":
            for window in app:
                if window is not None and window.getRole() == pyatspi.ROLE_FRAME \
                        and window.childCount == 188 and showing(window):
                    return window
    return None


def verdict(main, passed):
    """Runs main() and exits 1 if it gave up or any check failed, else prints `passed`."""
    try:
        main()
    except SystemExit as stop:
        print(stop, flush=True)
        sys.exit(1)
    if failures:
        print(f"{len(failures)} failures")
        sys.exit(1)
    print(passed)
