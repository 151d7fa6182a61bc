#!/usr/bin/env python3
"""The real game in a virtual X server (Xvfb + openbox), measured from outside
over a window of each scene: the title, and a course stage in play.

usage: game-bench.py GAME_DIR [--seconds N] [--renderer NAME] [--scenes title,play]
                     [--nice N] [--load N] [--out DIR] [--floor PATH] [--no-raise]
                     [--x-nice N]

GAME_DIR must come from a build configured with -DOSSMIRE_FRAME_LOG=ON: the
game then writes the time of every present to the file that the environment
variable OSSMIRE_FRAME_LOG names (nothing else changes). The stage is
reached as a player would: a progress save at stage 6, Z at the title, Down
twice to CONTINUE, Z; every key is a real X key press held for 0.1 s.

The scene "idle" is the title minimised (the game sleeps; its frames stop).
Reported per scene: frames per second; the frame interval's median, 99th
percentile and maximum (the grid is 16 ms) and how many exceeded 33 ms;
the game process's CPU time as a share of one core; its peak resident set;
and, once, the time from exec to the first present (the title's init frame,
black) and to the second (the first drawn picture). The intervals are
between presents (what the X server is handed); the frame starts' own
intervals and the time from clear to present show where a late one lost
its time.

The scenes floor-picture, floor-both and floor-tune run ossmire-floor (its
path given by --floor) instead of the game: a full-screen opaque picture every
16 ms, the same with the title's tune, the tune alone. They are the floor of
this machine and software stack for the CPU, start-up and frame figures.

--renderer sets SDL_RENDER_DRIVER for the run (e.g. software); the renderer
actually used is reported. --nice runs the game at that scheduling priority
(negative needs root): on a machine shared with other work it tells the
game's own cost from the time it lost waiting for a core. --load N runs N
busy-loop processes at nice 0 beside the game for the whole run. The main
thread's nice value shows whether the game could raise its priority (it asks
for -10; RLIMIT_NICE, root or rtkit must allow it); --no-raise starts it
without the capability to (for root, who otherwise always can). --x-nice runs
the X server at that priority. Each scene also reports how long the game's
main thread and the X server waited, runnable, for a core (from
/proc/PID/schedstat) and the X server's CPU share."""
import json
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


def fail(message):
    sys.exit(f"game-bench: {message}")


def display_in_use(n):
    """A lock file, or an abstract socket: X servers in other file systems that
    share our network namespace take the client before our own would."""
    if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
        return True
    with open("/proc/net/unix") as f:
        return f"@/tmp/.X11-unix/X{n}\n" in f.read()


def start_x(x_nice=""):
    """Xvfb on a display no one else uses, and openbox."""
    for n in random.sample(range(200, 1000), 50):
        if display_in_use(n):
            continue
        xvfb = subprocess.Popen((["nice", "-n", x_nice] if x_nice else []) +
                                ["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                os.environ["DISPLAY"] = f":{n}"
                wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
                # Until openbox manages windows: a window mapped before may
                # start unfocused, and an unfocused game draws nothing.
                for _ in range(300):
                    check = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                           capture_output=True, text=True).stdout
                    if "window id" in check:
                        break
                    time.sleep(0.1)
                return xvfb, wm
            if xvfb.poll() is not None:
                break
            time.sleep(0.1)
        xvfb.kill()
        xvfb.wait()
    fail("no free display for Xvfb")


def cpu_seconds(pid, thread=False):
    """CPU time of the process, or with `thread` of its main thread alone."""
    with open(f"/proc/{pid}/task/{pid}/stat" if thread else f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK  # utime + stime


def run_delay_seconds(pid):
    """Time the main thread spent runnable but waiting for a core."""
    try:
        with open(f"/proc/{pid}/task/{pid}/schedstat") as f:
            return int(f.read().split()[1]) / 1e9
    except OSError:
        return 0.0


def main_thread_nice(pid):
    with open(f"/proc/{pid}/stat") as f:
        return int(f.read().rsplit(")", 1)[1].split()[16])


def peak_rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def read_log(path):
    """The renderer's name and, per frame, (start, present) in seconds."""
    renderer, frames = "?", []
    try:
        with open(path) as f:
            for line in f:
                if line.startswith("# "):
                    renderer = line[2:].strip()
                elif len(line.split()) == 2:
                    frames.append(tuple(int(v) / 1e6 for v in line.split()))
    except OSError:
        pass
    return renderer, frames


def tap(key, hold=0.1):
    subprocess.run(["xdotool", "keydown", key], check=True)
    time.sleep(hold)
    subprocess.run(["xdotool", "keyup", key], check=True)
    time.sleep(0.1)


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


# The X server of the current measure(): its CPU and waits are reported too,
# since every present waits for it.
x_server_pid = 0


def run_scene(game, scene, seconds, renderer, out, nice, no_raise=False):
    work = tempfile.mkdtemp(prefix=f"ossmire-bench-{scene}-")
    for name in ("bitmap", "wave", "midi", "data.vrk"):
        if os.path.exists(os.path.join(game, name)):
            os.symlink(os.path.join(game, name), os.path.join(work, name))
    os.mkdir(os.path.join(work, "EditMap"))
    if scene == "play":
        # Progress: stage index 5, as the course's checkpoint save leaves it.
        with open(os.path.join(work, "sav_1.vrk"), "wb") as f:
            f.write(struct.pack("<7I", 5, 6, 0, 0, 0, 0, 0))
    log = os.path.join(work, "frames.log")
    env = dict(os.environ, OSSMIRE_FRAME_LOG=log, OSSMIRE_NO_MESSAGEBOX="1",
               SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    if renderer:
        env["SDL_RENDER_DRIVER"] = renderer
    exec_time = time.monotonic()
    command = [os.path.join(game, "ossmire")]
    if nice:
        command = ["nice", "-n", nice] + command
    if no_raise:
        # Neither root's capability nor RLIMIT_NICE: the game keeps nice 0.
        command = ["setpriv", "--inh-caps=-sys_nice", "--bounding-set=-sys_nice"] + command
    errors = open(os.path.join(work, "stderr.txt"), "w+")
    game_proc = subprocess.Popen(command, cwd=work, env=env,
                                 stdout=subprocess.DEVNULL, stderr=errors)
    try:
        wid = ""
        for _ in range(300):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Ossmire$"],
                                   capture_output=True, text=True).stdout.split()
            if found:
                wid = found[0]
                break
            time.sleep(0.1)
        if not wid:
            fail(f"{scene}: no window named Ossmire")
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60  # a busy machine starts slowly
        while len(read_log(log)[1]) < 2:
            if game_proc.poll() is not None or time.monotonic() > deadline:
                errors.seek(0)
                fail(f"{scene}: no frames logged (exit {game_proc.poll()}; "
                     f"{errors.read().strip()[-300:]}); is {game}/ossmire built with "
                     "-DOSSMIRE_FRAME_LOG=ON?")
            time.sleep(0.01)
        time.sleep(1.0)  # the first second is start-up
        if scene == "play":
            tap("z")          # open the doors
            time.sleep(2.5)   # until the menu takes input
            tap("Down")
            tap("Down")       # CONTINUE
            tap("z")
            time.sleep(4.0)   # wipe, scene change, start message
        elif scene == "idle":
            # The title minimised: the game is inactive and should sleep.
            subprocess.run(["xdotool", "windowminimize", "--sync", wid], stderr=subprocess.DEVNULL)
            time.sleep(1.0)
        nice_value = main_thread_nice(game_proc.pid)
        t0, cpu0 = time.monotonic(), cpu_seconds(game_proc.pid)
        main0 = cpu_seconds(game_proc.pid, thread=True)
        wait0, xcpu0 = run_delay_seconds(game_proc.pid), cpu_seconds(x_server_pid)
        xwait0 = run_delay_seconds(x_server_pid)
        time.sleep(seconds)
        t1, cpu1 = time.monotonic(), cpu_seconds(game_proc.pid)
        main1 = cpu_seconds(game_proc.pid, thread=True)
        wait1, xcpu1 = run_delay_seconds(game_proc.pid), cpu_seconds(x_server_pid)
        xwait1 = run_delay_seconds(x_server_pid)
        if scene == "idle":
            subprocess.run(["xdotool", "windowactivate", "--sync", wid], stderr=subprocess.DEVNULL)
            time.sleep(0.5)  # restored, so that it takes the ESC below
        rss = peak_rss_kb(game_proc.pid)
        if out:
            subprocess.run(["import", "-window", "root", os.path.join(out, f"{scene}.png")],
                           stderr=subprocess.DEVNULL)
        tap("Escape")
        try:
            code = game_proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            game_proc.kill()
            code = "hung at ESC"
    finally:
        if game_proc.poll() is None:
            game_proc.kill()
            game_proc.wait()
    used, frames = read_log(log)
    if out:
        shutil.copy(log, os.path.join(out, f"{scene}-frames.log"))
    shutil.rmtree(work, ignore_errors=True)
    stamps = [present for _, present in frames]
    if scene == "idle":
        return {"scene": scene, "renderer": used, "window_s": round(t1 - t0, 2),
                "frames": len([s for s in stamps if t0 <= s <= t1]),
                "cpu_share": round((cpu1 - cpu0) / (t1 - t0), 3),
                "main_thread_cpu_share": round((main1 - main0) / (t1 - t0), 3),
                "peak_rss_mib": round(rss / 1024, 1), "main_thread_nice": nice_value,
                "exit_code": code}
    result = {"scene": scene, "renderer": used}
    result.update(frame_figures(frames, t0, t1, f"{scene}: "))
    per_frame = 1000 / max(1, result["frames"])
    result.update({
        "main_thread_wait_ms_per_frame": round((wait1 - wait0) * per_frame, 2),
        "x_server_cpu_share": round((xcpu1 - xcpu0) / (t1 - t0), 3),
        "x_server_wait_ms_per_frame": round((xwait1 - xwait0) * per_frame, 2),
    })
    result.update({
        "cpu_share": round((cpu1 - cpu0) / (t1 - t0), 3),
        "main_thread_cpu_share": round((main1 - main0) / (t1 - t0), 3),
        "peak_rss_mib": round(rss / 1024, 1),
        "startup_first_present_s": round(stamps[0] - exec_time, 3),
        "startup_first_picture_s": round(stamps[1] - exec_time, 3),
        "main_thread_nice": nice_value,
        "exit_code": code,
    })
    return result


def frame_figures(frames, t0, t1, what):
    """Interval figures of the presents logged between t0 and t1."""
    inside = [f for f in frames if t0 <= f[1] <= t1]
    window = [present for _, present in inside]
    intervals = [(b - a) * 1000 for a, b in zip(window, window[1:])]
    if len(intervals) < 10:
        fail(f"{what}only {len(window)} frames in the window")
    starts = [start for start, _ in inside]
    grants = [(b - a) * 1000 for a, b in zip(starts, starts[1:])]
    work_ms = [(present - start) * 1000 for start, present in inside]
    return {
        "window_s": round(t1 - t0, 2),
        "frames": len(window),
        "fps": round((len(window) - 1) / (window[-1] - window[0]), 2),
        "median_ms": round(statistics.median(intervals), 2),
        "p99_ms": round(percentile(intervals, 99), 2),
        "max_ms": round(max(intervals), 2),
        "over_33ms": sum(1 for i in intervals if i > 33),
        "grant_p99_ms": round(percentile(grants, 99), 2),
        "grant_max_ms": round(max(grants), 2),
        "frame_work_median_ms": round(statistics.median(work_ms), 2),
        "frame_work_p99_ms": round(percentile(work_ms, 99), 2),
    }


def run_floor(floor, game, mode, seconds):
    """ossmire-floor in MODE (picture, both, tune): what the same stack costs
    doing only the work every frame must. Its first present is its picture."""
    work = tempfile.mkdtemp(prefix=f"ossmire-floor-{mode}-")
    log = os.path.join(work, "frames.log")
    env = dict(os.environ, OSSMIRE_FRAME_LOG=log,
               SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"))
    exec_time = time.monotonic()
    proc = subprocess.Popen([floor, mode, game], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    try:
        deadline = time.monotonic() + 60
        while mode != "tune" and not read_log(log)[1]:
            if proc.poll() is not None or time.monotonic() > deadline:
                fail(f"floor {mode}: no frames logged ({proc.stderr.read().strip()[-300:]})")
            time.sleep(0.01)
        time.sleep(1.0)
        nice_value = main_thread_nice(proc.pid)
        t0, cpu0 = time.monotonic(), cpu_seconds(proc.pid)
        time.sleep(seconds)
        t1, cpu1 = time.monotonic(), cpu_seconds(proc.pid)
        rss = peak_rss_kb(proc.pid)
        proc.terminate()
        code = proc.wait(timeout=10)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    frames = read_log(log)[1]
    shutil.rmtree(work, ignore_errors=True)
    result = {"scene": f"floor-{mode}", "cpu_share": round((cpu1 - cpu0) / (t1 - t0), 3),
              "peak_rss_mib": round(rss / 1024, 1), "main_thread_nice": nice_value,
              "exit_code": code}
    if mode != "tune":
        result.update(frame_figures(frames, t0, t1, f"floor {mode}: "))
        result["startup_first_picture_s"] = round(frames[0][1] - exec_time, 3)
    else:
        result["window_s"] = round(t1 - t0, 2)
    return result


def busy_loops(count):
    """`count` processes spinning at nice 0 until killed."""
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"],
                             preexec_fn=lambda: os.setpriority(os.PRIO_PROCESS, 0, 0))
            for _ in range(count)]


def measure(game, scenes, seconds=20.0, renderer="", out="", nice="", load=0, floor="",
            no_raise=False, x_nice=""):
    """Runs the scenes under a fresh Xvfb + openbox; a result dict per scene.
    A scene "floor-MODE" runs the program `floor` (ossmire-floor) in MODE."""
    for tool in ("Xvfb", "openbox", "xdotool"):
        if not shutil.which(tool):
            fail(f"{tool} is missing (scripts/install-deps.sh installs it)")
    if out:
        os.makedirs(out, exist_ok=True)
    global x_server_pid
    xvfb, wm = start_x(x_nice)
    x_server_pid = xvfb.pid
    loops = busy_loops(load)
    results = []
    try:
        for scene in scenes:
            if scene.startswith("floor-"):
                results.append(run_floor(floor, game, scene[len("floor-"):], seconds))
            else:
                results.append(run_scene(game, scene, seconds, renderer, out, nice, no_raise))
            results[-1]["busy_loops"] = load
    finally:
        for p in loops + [wm]:
            p.kill()
            p.wait()
        xvfb.terminate()  # not killed: it removes its lock file and socket
        xvfb.wait()
    return results


def main(argv):
    args = argv[1:]
    opts = {"--seconds": "20", "--renderer": "", "--scenes": "title,play", "--out": "",
            "--nice": "", "--load": "0", "--floor": "", "--x-nice": ""}
    no_raise = "--no-raise" in args
    if no_raise:
        args.remove("--no-raise")
    for flag in list(opts):
        if flag in args:
            i = args.index(flag)
            opts[flag] = args[i + 1]
            del args[i:i + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    game = os.path.abspath(args[0])
    results = measure(game, opts["--scenes"].split(","), float(opts["--seconds"]),
                      opts["--renderer"], opts["--out"], opts["--nice"], int(opts["--load"]),
                      opts["--floor"], no_raise, opts["--x-nice"])
    for r in results:
        if r["scene"] == "floor-tune":
            print(f"floor-tune  the tune alone: CPU {100 * r['cpu_share']:.2f}% of a core; "
                  f"peak RSS {r['peak_rss_mib']} MiB")
            continue
        if r["scene"].startswith("floor-"):
            print(f"{r['scene']}  {r['fps']} fps: interval median {r['median_ms']} ms, "
                  f"p99 {r['p99_ms']} ms, max {r['max_ms']} ms; CPU {100 * r['cpu_share']:.1f}% "
                  f"of a core; peak RSS {r['peak_rss_mib']} MiB; first picture "
                  f"{r['startup_first_picture_s']} s; main thread nice {r['main_thread_nice']}; "
                  f"{r['busy_loops']} busy loops")
            continue
        if r["scene"] == "idle":
            print(f"idle   {r['frames']} frames over {r['window_s']} s minimised; CPU "
                  f"{100 * r['cpu_share']:.2f}% of a core, the main thread "
                  f"{100 * r['main_thread_cpu_share']:.2f}%; exit {r['exit_code']}")
            continue
        print(f"{r['scene']:6} renderer={r['renderer']} {r['fps']} fps over {r['window_s']} s: "
              f"interval median {r['median_ms']} ms, p99 {r['p99_ms']} ms, max {r['max_ms']} ms, "
              f"{r['over_33ms']} over 33 ms (frame starts: p99 {r['grant_p99_ms']} ms, max "
              f"{r['grant_max_ms']} ms; clear to present: median {r['frame_work_median_ms']} ms, "
              f"p99 {r['frame_work_p99_ms']} ms); CPU {100 * r['cpu_share']:.1f}% of a core "
              f"(main thread {100 * r['main_thread_cpu_share']:.1f}%); "
              f"peak RSS {r['peak_rss_mib']} MiB; start-up {r['startup_first_present_s']} s to "
              f"the first present, {r['startup_first_picture_s']} s to the first picture; "
              f"main thread nice {r['main_thread_nice']}, waited for a core "
              f"{r['main_thread_wait_ms_per_frame']} ms a frame; X server CPU "
              f"{100 * r['x_server_cpu_share']:.1f}%, waited {r['x_server_wait_ms_per_frame']} ms "
              f"a frame; {r['busy_loops']} busy loops; "
              f"exit {r['exit_code']}")
    if opts["--out"]:
        with open(os.path.join(opts["--out"], "game-bench.json"), "w") as f:
            json.dump(results, f, indent=1)


if __name__ == "__main__":
    main(sys.argv)
