#!/usr/bin/python3
"""Throughput of the Python module on one million points, against the C++
evaluation it runs (bench_point_arrays, the same points) and against
norvane-field fed the same points as text through a pipe.  Fails (status
1) if the module reaches less than 90% of the C++ throughput: the binding,
with its broadcasting, copies and result arrays, may cost at most 10%.

Usage: /usr/bin/python3 bench/python_throughput.py [BUILD_DIR]
(default build/release; configured with benchmarks and NORVANE_PYTHON on).
Every figure is the fastest of several runs, the least disturbed by other
work on the machine.
"""

import json
import os
import pathlib
import subprocess
import sys
import tempfile
import time

import numpy as np

MIN_RATIO = 0.9
POINTS = 1_000_000
RUNS = 5

root = pathlib.Path(__file__).resolve().parent.parent
build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else root / "build/release")
subprocess.run(["cmake", "--build", str(build), "--target", "norvane_python",
                "bench_point_arrays", "norvane-field"], check=True,
               stdout=subprocess.DEVNULL)
sys.path.insert(0, str(build / "python"))
import norvane  # noqa: E402


def shares(step):
    """frac(i x step) for every point, as bench_point_arrays makes them."""
    x = np.arange(POINTS, dtype=np.float64) * step
    return x - np.floor(x)


lat = -90.0 + 180.0 * shares(0.6180339887498949)
lon = -180.0 + 360.0 * shares(0.7548776662466927)
alt = 10.0 * shares(0.5698402909980532)
year = 2006.0 + 4.0 * shares(0.8191725133961645)
model = norvane.Model.wmm2005()


def fastest(work):
    best = float("inf")
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


# One thread, as bench_point_arrays evaluates: the binding's cost alone.
python_rate = POINTS / fastest(
    lambda: model.field(lat, lon, alt, year, threads=1))

report = subprocess.run(
    [str(build / "bench/bench_point_arrays"), "--benchmark_format=json",
     "--benchmark_repetitions=%d" % RUNS,
     "--benchmark_report_aggregates_only=false"],
    check=True, capture_output=True, text=True).stdout
cpp_rate = max(b["items_per_second"] for b in json.loads(report)["benchmarks"]
               if b.get("run_type") == "iteration")

with tempfile.TemporaryDirectory() as work:
    text = pathlib.Path(work) / "points.txt"
    formatting = time.perf_counter()
    np.savetxt(text, np.column_stack([lat, lon, alt, year]), fmt="%.17g")
    formatting = time.perf_counter() - formatting
    tool = str(build / "tools/norvane-field")

    def pipe():
        with open(text, "rb") as points:
            subprocess.run([tool], stdin=points, stdout=subprocess.DEVNULL,
                           check=True)

    pipe_rate = POINTS / fastest(pipe)

    def round_trip():
        with open(text, "rb") as points:
            out = subprocess.run([tool], stdin=points, capture_output=True,
                                 check=True).stdout
        return np.loadtxt(out.splitlines())

    parsing = fastest(round_trip) if RUNS else 0.0

ratio = python_rate / cpp_rate
print("machine: %s, %d cores" % (os.uname().machine, os.cpu_count()))
print("%d points, WMM-2005, fastest of %d runs" % (POINTS, RUNS))
print("C++ EvaluatePoints:             %6.3f million points/s" % (cpp_rate / 1e6))
print("Python model.field (numpy):     %6.3f million points/s (%.1f%% of C++)"
      % (python_rate / 1e6, 100 * ratio))
print("norvane-field, text pipe:       %6.3f million points/s" % (pipe_rate / 1e6))
print("  with Python writing the text (%.2f s) and reading the results "
      "(np.loadtxt): %.3f million points/s"
      % (formatting, POINTS / (formatting + parsing) / 1e6))
if ratio < MIN_RATIO:
    print("FAIL: the module reaches %.1f%% of the C++ throughput, below %d%%"
          % (100 * ratio, 100 * MIN_RATIO))
    sys.exit(1)
