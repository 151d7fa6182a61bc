#!/usr/bin/env python3
"""The simulator's speed on the bot's runs: each course played from the
solver's solutions in one ossmire-sim process, without traces or shots.

usage: sim-bench.py GAME_DIR SOLVER [--repeat N] [--kinds course,underground,rule]

Prints, per course, the frames rendered, the best of N wall times and the
frames per second it makes (target: at least 500,000), and the same for the
process's CPU time (user + sys), which moves less with the machine's load."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
BOT = os.path.join(HERE, "..", "bot", "solution-to-script.py")


def main(argv):
    args = argv[1:]
    opts = {"--repeat": "5", "--kinds": "course,underground,rule"}
    for flag in list(opts):
        if flag in args:
            i = args.index(flag)
            opts[flag] = args[i + 1]
            del args[i:i + 2]
    if len(args) != 2:
        sys.exit(__doc__)
    game, solver = (os.path.abspath(a) for a in args)
    data = os.path.join(game, "data.vrk")
    if not os.path.exists(data):
        sys.exit(f"sim-bench: no {data}")
    work = tempfile.mkdtemp(prefix="ossmire-simbench-")
    try:
        solutions = os.path.join(work, "solutions.txt")
        with open(solutions, "w") as f:
            subprocess.run([solver, "--moves", data], stdout=f)
        gamedir = os.path.join(work, "game")
        os.mkdir(gamedir)
        for name in ("bitmap", "wave", "midi", "data.vrk"):
            if os.path.exists(os.path.join(game, name)):
                os.symlink(os.path.join(game, name), os.path.join(gamedir, name))
        os.mkdir(os.path.join(gamedir, "EditMap"))
        for kind in opts["--kinds"].split(","):
            made = subprocess.run([sys.executable, BOT, data, solutions, kind],
                                  capture_output=True, text=True)
            if made.returncode != 0:
                print(f"{kind}: skipped ({made.stderr.strip() or made.stdout.strip()})")
                continue
            script = os.path.join(work, f"{kind}.sim")
            with open(script, "w") as f:
                f.write(made.stdout)
            frames = sum(int(l.split()[0]) for l in made.stdout.splitlines() if l[:1].isdigit())
            best = best_cpu = None
            for _ in range(int(opts["--repeat"])):
                for save in os.listdir(gamedir):
                    if save.startswith("sav_"):
                        os.remove(os.path.join(gamedir, save))
                start = time.perf_counter()
                run = subprocess.Popen([os.path.join(game, "ossmire-sim"), "--dir", gamedir, script],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                err = run.stderr.read()
                _, status, usage = os.wait4(run.pid, 0)
                took = time.perf_counter() - start
                if os.waitstatus_to_exitcode(status) != 0:
                    sys.exit(f"{kind}: the simulator failed:\n{err.decode(errors='replace')}")
                cpu = usage.ru_utime + usage.ru_stime
                best = took if best is None else min(best, took)
                best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
            print(f"{kind:12} {frames:7d} frames in {best:.3f} s (best of {opts['--repeat']}): "
                  f"{frames / best:,.0f} frames/s; CPU {best_cpu:.3f} s: "
                  f"{frames / best_cpu:,.0f} frames per CPU-second; "
                  f"load average {os.getloadavg()[0]:.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv)
