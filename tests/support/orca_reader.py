"""The real Orca for the screen-reader tests: started with no speech server in its settings (so
nothing is heard, whatever the machine has, and its debug log is the whole of what was said),
touching no other Orca, and stopped by its pid.

Use inside support/with_session.sh --own-home: Orca's settings and log go to a HOME of its own.
"""
import os
import re
import shutil
import subprocess
import time

# stop() kills an Orca that does not end when asked.
from support.atspi import TIMEOUT, play as play_game, stop, wait_for

HOME = os.environ["HOME"]
LOG = os.path.join(HOME, "orca-debug.log")
OUTPUT = os.path.join(HOME, "orca-output.log")
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)'\s*[\[{]")
LAUNCHER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "own_orca.py")


def spoken():
    """Everything Orca has said so far, one utterance a line."""
    try:
        with open(LOG, encoding="utf-8", errors="replace") as log:
            return [m.group(1) for m in map(SPOKEN.search, log) if m]
    except FileNotFoundError:
        return []


def said_after(mark, utterance):
    """Whether Orca said `utterance` after the first `mark` utterances."""
    return utterance in spoken()[mark:]


def settle():
    """Waits until Orca has worked through what it was told: its log stops growing for a second.
    Orca drops queued notices when an application floods it (Show All changes 81 cells at once),
    as it would for a player who pressed Check before hearing Show All."""
    deadline = time.monotonic() + TIMEOUT
    size, still_since = -1, time.monotonic()
    while time.monotonic() < deadline:
        now = os.path.getsize(LOG)
        if now != size:
            size, still_since = now, time.monotonic()
        elif time.monotonic() - still_since >= 1.0:
            return
        time.sleep(0.1)
    raise SystemExit(f"FAIL: Orca was still busy after {TIMEOUT} s")


def start():
    """Starts Orca (the accessibility bus must be up: get the desktop first) and waits until it
    has said it is on."""
    prefs = os.path.join(HOME, "orca")
    os.makedirs(prefs, exist_ok=True)
    # Orca loads this from its settings folder before it starts speech: speech on (off would keep
    # Orca's own messages out of the log too) but no speech server, and each line of the log in
    # the file as it is written, so the test can read what was said while Orca runs.
    with open(os.path.join(prefs, "orca-customizations.py"), "w") as customizations:
        customizations.write("import orca.debug, orca.settings\n"
                             "orca.settings.speechServerFactory = None\n"
                             "if orca.debug.debugFile is not None:\n"
                             "    orca.debug.debugFile.reconfigure(line_buffering=True)\n")
    with open(OUTPUT, "w") as output:
        orca = subprocess.Popen(["/usr/bin/python3", LAUNCHER, "-u", prefs, "--debug-file", LOG],
                                stdout=output, stderr=subprocess.STDOUT)
    try:
        wait_for("Orca to start", lambda: orca.poll() is not None or "Screen reader on." in spoken())
    except SystemExit:
        stop(orca)
        raise
    if orca.poll() is not None:
        with open(OUTPUT) as output:
            raise SystemExit(f"FAIL: Orca ended at start: {output.read()[-3000:]}")
    return orca


def play(program, run, desktop):
    """Starts Orca, then the game, runs run(desktop), stops both and prints what Orca said."""
    reader = start()
    try:
        play_game(program, run, desktop)
    finally:
        stop(reader)
        report()


def report():
    """Prints what Orca said; TALLYWICK_KEEP_ORCA_LOG=FILE keeps its whole debug log there."""
    keep = os.environ.get("TALLYWICK_KEEP_ORCA_LOG")
    if keep and os.path.exists(LOG):
        shutil.copyfile(LOG, keep)
    print("Orca said:", " | ".join(spoken()), flush=True)
    # A reader swamped with events drops what is not about the focus: when a notice went unsaid,
    # this shows whether that is why.
    if os.path.exists(LOG):
        with open(LOG, encoding="utf-8", errors="replace") as log:
            floods = [line.rstrip() for line in log
                      if "events pruned" in line or "due to flood" in line]
        print(f"Orca's log has {len(floods)} lines on floods; the last:", *floods[-5:],
              sep="\n  ", flush=True)
    if not spoken():
        with open(OUTPUT) as output:
            print("Orca's output:", output.read()[-3000:], flush=True)
