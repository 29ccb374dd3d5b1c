"""What the screen-reader tests share: waiting on the accessible tree, clicking what a reader finds
with real mouse input (xdotool), starting the game where a reader sees it, and the verdict.

The tests import it as `support.atspi` (their own folder is the first on Python's path).
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

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


def pump():
    """Delivers the events a test's listeners are waiting for: pyatspi hands them over in GLib's
    loop."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_pumping(what, probe):
    """wait_for() for a test with listeners: the events that arrived are delivered before each
    try."""
    return wait_for(what, probe, between=pump)


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


def play(program, run, desktop):
    """Starts the game, runs run(desktop) on it and then asks it to end, failing the test if it
    does not."""
    game = start_game(program)
    try:
        run(desktop)
    finally:
        stop_game(game)


def stop(process, patience=5):
    """Stops a process this test started, by its pid: asks it to end, and kills it if it will not
    within `patience` seconds. Says whether it ended when asked."""
    if process is None or process.poll() is not None:
        return True
    process.terminate()
    try:
        process.wait(timeout=patience)
        return True
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return False


def stop_game(game):
    """Asks a game this test started to end; one that will not is killed and fails the test."""
    if not stop(game, patience=20):
        fail("the game did not end when asked to")


class Controls:
    """The window's controls as a reader finds them: by role and name among those showing, and
    the menus' items, opened with the mouse. `wait` is the test's own way of waiting (a test with
    an event listener pumps its events while it waits); `after_menu` runs after each menu choice."""

    def __init__(self, frame, wait=None, after_menu=None):
        self.children = [frame.getChildAtIndex(i) for i in range(frame.childCount)]
        self.wait = wait if wait is not None else wait_for
        self.after_menu = after_menu

    def named(self, role, name):
        return lambda: next((c for c in self.children if c.getRole() == role and c.name == name
                             and showing(c)), None)

    def button(self, name):
        return self.wait(f"the {name} button", self.named(pyatspi.ROLE_PUSH_BUTTON, name))

    def menu_item(self, menu, item):
        bar = next(c for c in self.children if c.getRole() == pyatspi.ROLE_MENU_BAR)
        click(next(c for c in bar if c.name == menu))
        click(self.wait(f"{menu} > {item}", lambda: pyatspi.findDescendant(
            bar, lambda a: a is not None and a.name == item
            and a.getRole() == pyatspi.ROLE_MENU_ITEM and showing(a))))
        if self.after_menu is not None:
            self.after_menu()


def game_frame(desktop):
    """The game's shown main window among the desktop's applications, by its role and title, or
    None."""
    for app in desktop:
        if app is not None and app.name == "tallywick":
            for window in app:
                if window is not None and window.getRole() == pyatspi.ROLE_FRAME \
                        and window.name == "Tallywick" and showing(window):
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
