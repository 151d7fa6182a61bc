#!/usr/bin/env python3
"""Plays the solver's fastest solution of each map file in the simulator, as
course stage 1, and fails unless the game clears it in the frame the solver
says. usage: run-solver-maps-test.py SIM GAME SOLVER BOT RUN_SIM_TEST MAP..."""
import importlib.util
import os
import struct
import subprocess
import sys
import tempfile


def main(argv):
    sim, game, solver, bot_path, run_sim_test = argv[1:6]
    found = importlib.util.spec_from_file_location("bot", bot_path)
    bot = importlib.util.module_from_spec(found)
    found.loader.exec_module(bot)
    failed = 0
    for path in argv[6:]:
        data = open(path, "rb").read()
        cells, time_class = data[:64], data[64]
        start = struct.unpack("<ii", data[65:73])
        out = subprocess.run([solver, "--moves", path], capture_output=True, text=True).stdout
        moves = out.split()[-1]
        tables = {"course": ([start], [cells], bytes([time_class]))}
        script = bot.build(tables, {0: moves}, "course", 0, 1)
        with tempfile.NamedTemporaryFile("w", suffix=".sim", delete=False) as f:
            f.write("\n".join(script) + "\n")
        result = subprocess.run([run_sim_test, sim, game, f.name], capture_output=True, text=True)
        os.unlink(f.name)
        print(f"{os.path.basename(path)}: {moves}: {'cleared' if result.returncode == 0 else 'FAILED'}")
        if result.returncode != 0:
            print(result.stdout + result.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
