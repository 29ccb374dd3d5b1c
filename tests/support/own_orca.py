#!/usr/bin/python3
"""Starts the Orca screen reader as its own launcher (/usr/bin/orca) does, touching no other
process: the launcher refuses to start while another Orca of the same user runs, and with
--replace kills every one of them, other sessions' included. This runs that launcher's own code
with its search for other Orcas left out, and keeps this process's name (python3), so that no
other Orca's search finds this one either. Stop it by its pid.

Usage: own_orca.py [ORCA OPTIONS...]
"""
import os
import sys

LAUNCHER = "/usr/bin/orca"
# Orca's own modules, not the tests' helpers beside this file.
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path = [p for p in sys.path if os.path.abspath(p or ".") != HERE]

with open(LAUNCHER, encoding="utf-8") as source:
    code = compile(source.read(), LAUNCHER, "exec")
scope = {"__name__": "orca_launcher", "__file__": LAUNCHER}
exec(code, scope)  # defines the launcher's functions; its main() runs below
# An Orca whose launcher renamed these would search for other Orcas again: stop rather than run it.
for name in ("otherOrcas", "setProcessName", "main"):
    assert callable(scope.get(name)), f"{LAUNCHER} defines no {name}(): own_orca.py needs updating"
scope["otherOrcas"] = lambda: []
scope["setProcessName"] = lambda name: False
sys.argv = [LAUNCHER] + sys.argv[1:]
sys.exit(scope["main"]())
