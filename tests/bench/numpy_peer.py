#!/usr/bin/python3
"""The numpy peer of reading and evaluating a document, printed beside core_bench's figures.

    numpy_peer.py FILES-FOLDER CORE_BENCH.json

For every data file core_bench kept (titrion-<points>-<order>.tid): numpy.loadtxt, a stable
argsort by volume, E' and E'' by numpy.diff; the best wall time of several runs, next to
core_bench's best repetition of reading and evaluating the same file.
"""
import json
import os
import sys
import time

import numpy as np

BENCHMARKS = {"ascending": "BM_ReadAndEvaluate", "scrambled": "BM_ReadAndEvaluateUnsorted",
              "descending": "BM_ReadAndEvaluateDescending"}
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def read_and_evaluate(path):
    data = np.loadtxt(path)
    order = np.argsort(data[:, 0], kind="stable")
    vb, e = data[order, 0], data[order, 1]
    de = np.diff(e) / np.diff(vb)
    d2e = np.diff(de) / ((vb[2:] - vb[:-2]) / 2.0)
    return d2e


def best_ms(path):
    runs = []
    while len(runs) < 5 or (sum(runs) < 500.0 and len(runs) < 50):
        start = time.perf_counter()
        read_and_evaluate(path)
        runs.append((time.perf_counter() - start) * 1e3)
    return min(runs)


def main():
    folder, report = sys.argv[1], sys.argv[2]
    ours = {}
    with open(report) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("run_type", "iteration") == "iteration":
                name, ms = b.get("run_name", b["name"]), b["real_time"] * TO_MS[b["time_unit"]]
                ours[name] = min(ms, ours.get(name, ms))
    print("\nRead + evaluate, ms (best of the repetitions and runs; wall time)")
    print("%8s %-11s %10s %10s %8s" % ("points", "order", "titrion", "numpy", "ratio"))
    with np.errstate(divide="ignore", invalid="ignore"):
        for points in (1000, 10000, 100000):
            for order, benchmark in BENCHMARKS.items():
                path = os.path.join(folder, "titrion-%d-%s.tid" % (points, order))
                name = "%s/%d" % (benchmark, points)
                if not os.path.exists(path) or name not in ours:
                    continue
                peer = best_ms(path)
                print("%8d %-11s %10.2f %10.2f %7.1fx" % (points, order, ours[name], peer, peer / ours[name]))


if __name__ == "__main__":
    main()
