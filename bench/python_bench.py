#!/usr/bin/env python3
"""Cost of kelvane.properties on 100 000 (T, P) states per fluid against the engine's
own per-state cost in C++ (the EngineGrid benchmarks of kelvane_bench, the same grid
computed by Calculate in a plain loop), and its speed-up on two threads.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py [--bench build/bench/kelvane_bench]

Each figure is the best of --repeat runs. The one-thread comparison uses processor
time (the machine may be shared); the speed-up compares elapsed times of one and two
threads, measured alternately. Not a test: the figures go into docs/performance.md.
"""
import argparse
import json
import pathlib
import subprocess
import sys
import time

import numpy as np

import kelvane

ROOT = pathlib.Path(__file__).resolve().parents[1]
LABELS = {"water": "Water", "methanol": "Methanol", "co2": "CO2"}


def grid(fluid):
    """The grid of bench_states.cpp GridStates: 400 T times 250 P, temperature-major."""
    lim = kelvane.fluids()[fluid]
    i = np.arange(400)
    j = np.arange(250)
    T = lim["Tmin"] + (lim["Tmax"] - lim["Tmin"]) * (i + 0.5) / 400
    P = 10.0 ** (3 + (np.log10(lim["Pmax"]) - 3) * (j + 0.5) / 250)
    return np.repeat(T, 250), np.tile(P, 400)


def time_properties(fluid, T, P, repeat):
    """Best elapsed and processor times of one and of two threads, {threads: (wall, cpu)}.
    The runs of one and two threads alternate, so that a change of the machine's load
    during the measurement falls on both alike."""
    best = {1: [float("inf")] * 2, 2: [float("inf")] * 2}
    for _ in range(repeat):
        for threads in (1, 2):
            w0, c0 = time.perf_counter(), time.process_time()
            kelvane.properties(fluid, T=T, P=P, threads=threads)
            best[threads][0] = min(best[threads][0], time.perf_counter() - w0)
            best[threads][1] = min(best[threads][1], time.process_time() - c0)
    return best


def engine_per_state(bench, fluid, repeat):
    """(elapsed, processor) seconds per state of EngineGrid/<fluid>, best of `repeat`."""
    out = subprocess.run([str(bench), f"--benchmark_filter=^EngineGrid/{LABELS[fluid]}$",
                          "--benchmark_format=json", f"--benchmark_repetitions={repeat}"],
                         capture_output=True, text=True, check=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[runs[0]["time_unit"]]
    n = 400 * 250
    return (min(b["real_time"] for b in runs) * scale / n, min(b["cpu_time"] for b in runs) * scale / n)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bench", default=str(ROOT / "build" / "bench" / "kelvane_bench"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--fluids", nargs="*", default=list(LABELS))
    args = parser.parse_args()
    if not pathlib.Path(args.bench).exists():
        sys.exit(f"{args.bench} not found: build it with -DKELVANE_BENCH=ON --target kelvane_bench")
    print(f"kelvane {kelvane.__version__}, 100 000 states per fluid, best of {args.repeat}")
    print("fluid     C++ us/state  Python 1 thread us/state  ratio  "
          "1 thread s  2 threads s  speed-up")
    for fluid in args.fluids:
        T, P = grid(fluid)
        _, cpp_cpu = engine_per_state(args.bench, fluid, args.repeat)
        best = time_properties(fluid, T, P, args.repeat)
        (wall1, cpu1), (wall2, _) = best[1], best[2]
        n = T.size
        print(f"{fluid:<9} {cpp_cpu * 1e6:12.3f}  {cpu1 / n * 1e6:24.3f}  {cpu1 / n / cpp_cpu:5.2f}  "
              f"{wall1:10.3f}  {wall2:11.3f}  {wall1 / wall2:8.2f}")


if __name__ == "__main__":
    main()
