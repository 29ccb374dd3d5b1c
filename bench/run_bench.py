#!/usr/bin/env python3
"""Runs Tallywick's benchmarks side by side with their floors, prints one table, writes bench.json."""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(os.environ.get("BENCH_RUNS", "20"))
WARM_UP = 2
BIND_NOW_GOAL_RATIO = 1.05
# Per platform: the most the game's first frame may take against the floor's, and the most memory
# it may hold then, either above the floor's or in all.
STARTUP_GOAL_RATIO = {"offscreen": 1.2, "xcb": 0.9, "wayland": 0.95}
MEMORY_GOAL = {"offscreen": ("above floor", 10.0), "xcb": ("above floor", 3.0),
               "wayland": ("in all", 40.0)}
# Where the first frame counts as shown.
FRAME_SHOWN = {"offscreen": "painted", "xcb": "painted", "wayland": "buffer at the compositor"}
HANDLER_GOAL_US = 1000.0
PANEL_GOAL_MS = 100.0


# Start-up steps by the mark that ends them; the game's style step counts with its window.
PHASE_OF = {"main": "exec and libraries to main()", "application": "QApplication",
            "style": "window built", "window": "window built", "shown": "show()",
            "paint": "to first paint event", "frame": "first frame painted"}
PHASES = ["exec and libraries to main()", "QApplication", "window built", "show()",
          "to first paint event", "first frame painted"]


def fail(message):
    print(f"bench: {message}", file=sys.stderr)
    sys.exit(1)


def run_probe(program, env, server=None):
    """Starts one probe as a fresh process; returns its figures, start-up timed from the spawn. With
    a display server that sees frames arrive, the frame is counted as shown when the server has it;
    None where the server did not show it having the frame."""
    start = time.monotonic_ns()
    try:
        done = subprocess.run([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True, timeout=60, check=False)
    except subprocess.TimeoutExpired:
        fail(f"{os.path.basename(program)} did not end within 60 s")
    end = time.monotonic_ns()
    if done.returncode != 0 or not done.stdout.strip():
        fail(f"{os.path.basename(program)} failed ({done.returncode}): {done.stderr.strip()}")
    figures = json.loads(done.stdout.strip().splitlines()[-1])
    if server is not None and hasattr(server, "first_buffer_ns"):
        figures["frame_ns"] = server.first_buffer_ns(start, end)
        if figures["frame_ns"] is None:
            return None
    figures["startup_ms"] = (figures["frame_ns"] - start) / 1e6
    figures["first_paint_ms"] = (figures["paint_ns"] - start) / 1e6
    # Time spent in each step, from the spawn on; the game alone has a style step.
    points = [("spawn", start)] + list(figures["marks"].items()) + [("frame", figures["frame_ns"])]
    phases = {}
    for (_, before), (name, at) in zip(points, points[1:]):
        phase = PHASE_OF.get(name, name)
        phases[phase] = phases.get(phase, 0.0) + (at - before) / 1e6
    figures["phases_ms"] = phases
    return figures


def startup_series(build, env, server=None):
    """Game and floor in turn, RUNS times each after a warm-up, so drift hits both alike."""
    programs = {"game": os.path.join(build, "bench", "startup_game"),
                "floor": os.path.join(build, "bench", "startup_floor")}
    samples = {name: [] for name in programs}
    lost = 0
    for i in range(WARM_UP + RUNS):
        for name, program in programs.items():
            figures = run_probe(program, env, server)
            if i < WARM_UP:
                continue
            if figures is None:
                lost += 1
            else:
                samples[name].append(figures)
    # A display server may miss a frame now and then (weston's timeline does on a loaded
    # machine); a run it missed is left out, and too many end the bench.
    if lost > len(programs) * RUNS // 4:
        fail(f"the display server showed no frame for {lost} of {len(programs) * RUNS} runs")
    if lost:
        print(f"bench: warning: {lost} runs left out, their frame not seen by the display server",
              file=sys.stderr)
    series = {}
    for name, runs in samples.items():
        series[name] = {
            "startup_ms_median": statistics.median(r["startup_ms"] for r in runs),
            "first_paint_ms_median": statistics.median(r["first_paint_ms"] for r in runs),
            "rss_mib_median": statistics.median(r["rss_kib"] for r in runs) / 1024,
            "phases_ms_median": {p: statistics.median(r["phases_ms"].get(p, 0.0) for r in runs)
                                 for p in PHASES},
            "children": runs[0]["children"],
            "size": [runs[0]["width"], runs[0]["height"]],
            "startup_ms": [round(r["startup_ms"], 2) for r in runs],
            "rss_kib": [r["rss_kib"] for r in runs],
        }
    return series


def bind_now_series(build, env):
    """The game's start-up with lazy and with immediate binding (LD_BIND_NOW=1), in turn."""
    program = os.path.join(build, "bench", "startup_game")
    samples = {"lazy": [], "now": []}
    envs = {"lazy": {k: v for k, v in env.items() if k != "LD_BIND_NOW"},
            "now": dict(env, LD_BIND_NOW="1")}
    for i in range(WARM_UP + RUNS):
        for name in ("lazy", "now"):
            figures = run_probe(program, envs[name])
            if i >= WARM_UP:
                samples[name].append(figures["startup_ms"])
    lazy = statistics.median(samples["lazy"])
    now = statistics.median(samples["now"])
    return {"lazy_ms_median": lazy, "now_ms_median": now, "ratio": now / lazy,
            "lazy_ms": [round(v, 2) for v in samples["lazy"]],
            "now_ms": [round(v, 2) for v in samples["now"]]}


class Xvfb:
    """A private X server for the run, started and stopped by us."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
             "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            self.process.wait()
            fail("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class Weston:
    """A private headless weston for the run, started and stopped by us, with its timeline: the
    moment each surface's new content (a committed buffer) reaches the compositor."""

    SOCKET = "tallywick-bench"

    def __enter__(self):
        self.runtime = tempfile.mkdtemp(prefix="tallywick-bench-")
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env["XDG_RUNTIME_DIR"] = self.runtime
        self.process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--width=1280",
             "--height=1024", f"--socket={self.SOCKET}", "--idle-time=0", "--debug"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.timeline = None
        socket = os.path.join(self.runtime, self.SOCKET)
        for _ in range(100):
            if os.path.exists(socket) or self.process.poll() is not None:
                break
            time.sleep(0.1)
        if not os.path.exists(socket):
            self.__exit__()
            fail("weston did not start")
        path = os.path.join(self.runtime, "timeline.json")
        with open(path, "w", encoding="utf-8") as out:
            self.timeline = subprocess.Popen(
                ["weston-debug", "timeline"], env=dict(env, WAYLAND_DISPLAY=self.SOCKET),
                stdout=out, stderr=subprocess.DEVNULL)
        self.events = open(path, encoding="utf-8")
        # weston-debug subscribes once connected; the warm-up runs cover the rest of the wait.
        time.sleep(0.5)
        self.partial = ""
        self.env = {"XDG_RUNTIME_DIR": self.runtime, "WAYLAND_DISPLAY": self.SOCKET}
        return self

    def first_buffer_ns(self, start, end):
        """When weston received the first surface content committed between start and end (both
        on the monotonic clock, which weston's timeline uses too); None where the timeline shows
        none (in the warm-up, weston-debug may not be subscribed yet)."""
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline:
            line = self.events.readline()
            if not line.endswith("\n"):
                self.partial += line
                time.sleep(0.01)
                continue
            line, self.partial = self.partial + line, ""
            try:
                event = json.loads(line)
            except ValueError:
                continue
            if event.get("N") != "core_commit_damage":
                continue
            at = event["T"][0] * 1_000_000_000 + event["T"][1]
            if at < start:
                continue
            if at > end:
                fail("weston's timeline shows a commit after the probe ended: its clock is not "
                     "the monotonic clock, so the first buffer cannot be timed")
            return at
        return None

    def __exit__(self, *exc):
        for process in (self.timeline, self.process):
            if process is None:
                continue
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if hasattr(self, "events"):
            self.events.close()
        shutil.rmtree(self.runtime, ignore_errors=True)


def google_benchmark(program, env, extra=()):
    done = subprocess.run([program, "--benchmark_format=json", *extra], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=600,
                          check=False)
    if done.returncode != 0:
        fail(f"{os.path.basename(program)} failed ({done.returncode}): {done.stderr.strip()}")
    results = {}
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    for b in json.loads(done.stdout)["benchmarks"]:
        if b.get("error_occurred"):
            fail(f"{b['name']}: {b.get('error_message', 'error')}")
        b["real_time_us"] = b["real_time"] * scale[b["time_unit"]]
        results[b["name"]] = b
    return results


def row(name, value, unit, floor=None, goal="", met=None, ratio=None):
    return {"benchmark": name, "value": round(value, 3), "unit": unit,
            "floor": None if floor is None else round(floor, 3),
            "ratio": None if ratio is None else round(ratio, 3), "goal": goal, "met": met}


def main():
    if len(sys.argv) != 2:
        fail("usage: run_bench.py <build dir>")
    build = sys.argv[1]
    base_env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    rows = []
    report = {"runs": RUNS, "warm_up": WARM_UP, "startup": {}}

    # Each display server with the class that starts it; on Wayland the frame counts as shown
    # when the compositor has its buffer.
    platforms = [("offscreen", None)]
    for platform, server, tools in (("xcb", Xvfb, ["Xvfb"]),
                                    ("wayland", Weston, ["weston", "weston-debug"])):
        missing = [t for t in tools if shutil.which(t) is None]
        if missing:
            print(f"bench: {' and '.join(missing)} not installed; start-up on {platform} is left "
                  "out", file=sys.stderr)
        else:
            platforms.append((platform, server))

    for platform, server_class in platforms:
        print(f"bench: start-up on {platform}, {RUNS} runs each ...", file=sys.stderr)
        env = dict(base_env, QT_QPA_PLATFORM=platform)
        if server_class is Xvfb:
            with Xvfb() as server:
                env["DISPLAY"] = server.display
                series = startup_series(build, env)
        elif server_class is Weston:
            with Weston() as server:
                env.update(server.env)
                series = startup_series(build, env, server)
        else:
            series = startup_series(build, env)
        game, floor = series["game"], series["floor"]
        if game["children"] != floor["children"] or game["size"] != floor["size"]:
            print(f"bench: warning: the floor has {floor['children']} children at "
                  f"{floor['size']}, the game {game['children']} at {game['size']}",
                  file=sys.stderr)
        ratio = game["startup_ms_median"] / floor["startup_ms_median"]
        series["ratio"] = ratio
        report["startup"][platform] = series
        goal = STARTUP_GOAL_RATIO[platform]
        rows.append(row(f"start-up to first frame ({platform}, {FRAME_SHOWN[platform]})",
                        game["startup_ms_median"], "ms", floor["startup_ms_median"],
                        f"<= {goal}x floor", ratio <= goal, ratio))
        for phase in PHASES:
            rows.append(row(f"  {phase}", game["phases_ms_median"][phase], "ms",
                            floor["phases_ms_median"][phase]))
        extra = game["rss_mib_median"] - floor["rss_mib_median"]
        kind, limit = MEMORY_GOAL[platform]
        if kind == "above floor":
            goal, met = f"<= floor + {limit:g} MiB", extra <= limit
        else:
            goal, met = f"<= {limit:g} MiB", game["rss_mib_median"] <= limit
        rows.append(row(f"memory after first frame ({platform})", game["rss_mib_median"], "MiB",
                        floor["rss_mib_median"], goal, met,
                        game["rss_mib_median"] / floor["rss_mib_median"]))
        rows[-1]["difference"] = round(extra, 3)

    # The game is linked to bind every symbol at start (-z now, against overwritten jump slots);
    # this is what that costs at start-up, measured on the lazily bound probe.
    print(f"bench: start-up with and without immediate binding, {RUNS} runs each ...",
          file=sys.stderr)
    bind = bind_now_series(build, dict(base_env, QT_QPA_PLATFORM="offscreen"))
    report["bind_now"] = bind
    rows.append(row("start-up with immediate binding (LD_BIND_NOW=1, offscreen)",
                    bind["now_ms_median"], "ms", bind["lazy_ms_median"],
                    f"<= {BIND_NOW_GOAL_RATIO}x lazy", bind["ratio"] <= BIND_NOW_GOAL_RATIO,
                    bind["ratio"]))

    print("bench: handlers on the window ...", file=sys.stderr)
    handlers = google_benchmark(os.path.join(build, "bench", "window_bench"),
                                dict(base_env, QT_QPA_PLATFORM="offscreen"))
    report["handlers"] = {}
    labels = [("start_game", "start_game", 1), ("verify_solution", "verify_solution", 1),
              ("show_one_cell", "show_one_cell (empties a cell first)", 1),
              ("solve", "solve", 1), ("pencil_key_pair", "pencil keystroke", 2),
              ("cell_click", "cell click (pen)", 1),
              ("paste_10_mib_digits", "10 MiB paste of digits (pencil)", 1),
              ("paste_10_mib_letters", "10 MiB paste, letters then 57 (pencil)", 1)]
    for key, label, per in labels:
        alone = handlers[f"{key}/frame:0"]["real_time_us"] / per
        framed = handlers[f"{key}/frame:1"]["real_time_us"] / per
        report["handlers"][key] = {"handler_us": alone, "with_frame_us": framed}
        rows.append(row(f"handler: {label}", alone, "us", goal=f"< {HANDLER_GOAL_US:g} us",
                        met=alone < HANDLER_GOAL_US))
        rows.append(row(f"  ... and its repaint", framed, "us"))

    built = handlers["build_window"]["real_time_us"] / 1e3
    built_floor = handlers["build_floor_window"]["real_time_us"] / 1e3
    pictures = handlers["decode_pictures"]["real_time_us"] / 1e3
    report["window_built_warm"] = {"game_ms": built, "floor_ms": built_floor,
                                   "pictures_decoded_ms": pictures}
    rows.append(row("window built in a warm process", built, "ms", built_floor,
                    ratio=built / built_floor))
    rows.append(row("  of it: its ten pictures decoded", pictures, "ms"))
    # The hidden panels decode their pictures when they first open; the largest must still appear
    # at once, within the tenth of a second a person takes for instant.
    help_ms = handlers["open_help_first_time"]["real_time_us"] / 1e3
    report["window_built_warm"]["help_first_opened_ms"] = help_ms
    rows.append(row("panel opened the first time (How to play, picture decoded)", help_ms, "ms",
                    goal=f"< {PANEL_GOAL_MS:g} ms", met=help_ms < PANEL_GOAL_MS))

    print("bench: solver over the catalogue ...", file=sys.stderr)
    solver = google_benchmark(os.path.join(build, "bench", "solver_bench"), base_env)
    whole = solver["count_all_puzzles"]
    report["solver"] = {"all_puzzles_ms": whole["real_time_us"] / 1e3,
                        "puzzles": whole.get("puzzles"), "nodes": whole.get("nodes"),
                        "hardest_puzzle_ms": solver["count_hardest_puzzle"]["real_time_us"] / 1e3,
                        "hardest_puzzle": solver["count_hardest_puzzle"].get("puzzle")}
    rows.append(row(f"solver: all {int(whole.get('puzzles', 0))} puzzles",
                    whole["real_time_us"] / 1e3, "ms"))
    rows.append(row(f"solver: hardest puzzle (#{int(report['solver']['hardest_puzzle'] or 0)})",
                    report["solver"]["hardest_puzzle_ms"], "ms"))
    logic = solver["solve_all_puzzles_logically"]
    report["logic_solver"] = {"all_puzzles_ms": logic["real_time_us"] / 1e3,
                              "puzzles": logic.get("puzzles"), "solved": logic.get("solved")}
    rows.append(row(f"logic solver: all {int(logic.get('puzzles', 0))} puzzles "
                    f"({int(logic.get('solved', 0))} solved)", logic["real_time_us"] / 1e3, "ms"))

    report["rows"] = rows
    out = os.path.join(build, "bench.json")
    with open(out, "w", encoding="utf-8") as f:
        json.dump(report, f, indent=2)
        f.write("\n")
    print_table(rows)
    print(f"\nFigures written to {out}")


def print_table(rows):
    def cell(r, key):
        v = r[key]
        if v is None or v == "":
            return "-"
        if key == "met":
            return "yes" if v else "NO"
        if key in ("value", "floor"):
            return f"{v:.3f} {r['unit']}" if v < 10 else f"{v:.1f} {r['unit']}"
        if key == "ratio":
            if "difference" in r:
                return f"{r['difference']:+.1f} {r['unit']}"
            return f"{v:.2f}x"
        return str(v)

    header = ["benchmark", "value", "floor", "ratio (or +)", "goal", "met?"]
    keys = ["benchmark", "value", "floor", "ratio", "goal", "met"]
    table = [header] + [[cell(r, k) for k in keys] for r in rows]
    widths = [max(len(line[i]) for line in table) for i in range(len(header))]
    for n, line in enumerate(table):
        print("  ".join(text.ljust(widths[i]) if i == 0 else text.rjust(widths[i]) if i < 4
                        else text.ljust(widths[i]) for i, text in enumerate(line)).rstrip())
        if n == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    main()
