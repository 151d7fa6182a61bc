#!/usr/bin/env python3
"""Every figure the game is held to, in one run, against its target.

usage: bench.py BUILD_DIR [--seconds N]

BUILD_DIR is a build configured with -DOSSMIRE_FRAME_LOG=ON (its game/ and
ossmire-solver are used). Runs, each under its own Xvfb + openbox: the title
and a stage in play on a quiet machine (CPU, peak memory, start-up) and the
title minimised (CPU while idle), the
same with two busy-loop processes at nice 0 sharing the cores (frame
interval p99), and the simulator on the bot's course. Beside each, the floor:
ossmire-floor doing only what every frame must on the same stack (a picture
copied and presented every 16 ms, with and without the title's tune; the tune
alone for the minimised game). Prints the CPU model and load average it ran
under, whether the game raised its main thread's priority, and a table of
measure, result, floor, target."""
import importlib.util
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def load_game_bench():
    found = importlib.util.spec_from_file_location("game_bench",
                                                  os.path.join(HERE, "game-bench.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return "?"


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def sim_course_fps(build):
    run = subprocess.run([sys.executable, os.path.join(HERE, "sim-bench.py"),
                          os.path.join(build, "game"), os.path.join(build, "ossmire-solver"),
                          "--kinds", "course"], capture_output=True, text=True)
    found = re.search(r"([\d,]+) frames/s", run.stdout)
    return int(found.group(1).replace(",", "")) if found else 0


def main(argv):
    args = argv[1:]
    seconds = 20.0
    if "--seconds" in args:
        i = args.index("--seconds")
        seconds = float(args[i + 1])
        del args[i:i + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    build = os.path.abspath(args[0])
    game = os.path.join(build, "game")
    bench = load_game_bench()
    print(f"CPU: {cpu_model()}, {os.cpu_count()} cores; load average before: {load_average()}")
    floor = os.path.join(build, "ossmire-floor")
    quiet = bench.measure(game, ["title", "play", "idle", "floor-picture", "floor-both",
                                 "floor-tune"], seconds, floor=floor)
    loaded = bench.measure(game, ["title", "play", "floor-both"], seconds, load=2, floor=floor)
    loaded_floor = loaded.pop()
    floor_picture, floor_both, floor_tune = quiet[3:]
    del quiet[3:]
    fps = sim_course_fps(build)
    print(f"load average after: {load_average()}")
    nice = loaded[0]["main_thread_nice"]
    case = (f"main thread raised to nice {nice}" if nice < 0 else
            "main thread not raised (no RLIMIT_NICE, root or rtkit)")
    print(f"priority: {case}; renderer {quiet[0]['renderer']}")
    print(f"floor: a picture every 16 ms {100 * floor_picture['cpu_share']:g}%, with the tune "
          f"{100 * floor_both['cpu_share']:g}%, the tune alone {100 * floor_tune['cpu_share']:g}%"
          " of a core")

    idle = quiet.pop()

    def both(key, scale=1.0, unit=""):
        return " / ".join(f"{r[key] * scale:g}{unit}" for r in quiet)

    rows = [
        ("CPU of the game process, title / play", both("cpu_share", 100, "%"),
         f"{100 * floor_both['cpu_share']:g}%", "<= 5%",
         all(r["cpu_share"] <= 0.05 for r in quiet)),
        ("peak resident memory (VmHWM), title / play", both("peak_rss_mib", 1, " MiB"),
         f"{floor_both['peak_rss_mib']} MiB", "<= 64 MiB",
         all(r["peak_rss_mib"] <= 64 for r in quiet)),
        ("exec to the first picture", f"{quiet[0]['startup_first_picture_s']} s",
         f"{floor_picture['startup_first_picture_s']} s", "<= 0.10 s",
         quiet[0]["startup_first_picture_s"] <= 0.10),
        ("frame interval p99, 2 busy loops, title / play",
         " / ".join(f"{r['p99_ms']} ms" for r in loaded), f"{loaded_floor['p99_ms']} ms",
         "<= 17 ms", all(r["p99_ms"] <= 17 for r in loaded)),
        ("CPU while minimised", f"{idle['cpu_share'] * 100:g}%",
         f"{100 * floor_tune['cpu_share']:g}%", "< 1%", idle["cpu_share"] < 0.01),
        ("simulator, bot's course", f"{fps:,} frames/s", "-", ">= 500,000", fps >= 500000),
    ]
    width = max(len(r[0]) for r in rows)
    print(f"{'measure':{width}}  {'result':>22}  {'floor':>10}  {'target':>11}")
    for name, result, floor_figure, target, met in rows:
        print(f"{name:{width}}  {result:>22}  {floor_figure:>10}  {target:>11}  "
              f"{'met' if met else 'MISSED'}")


if __name__ == "__main__":
    main(sys.argv)
