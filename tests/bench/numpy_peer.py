#!/usr/bin/python3
"""numpy_peer.py FILES-FOLDER CORE_BENCH.json: for every data file core_bench kept, numpy reads
it (loadtxt), orders it by volume (stable argsort) and takes E' and E'' (diff); its best wall
time of several runs is printed beside core_bench's best repetition on the same file."""
import json, os, sys, time
import numpy as np

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
folder, report = sys.argv[1], sys.argv[2]
ours = {}
for b in json.load(open(report))["benchmarks"]:
    if b.get("run_type", "iteration") == "iteration":
        name, ms = b.get("run_name", b["name"]), b["real_time"] * TO_MS[b["time_unit"]]
        ours[name] = min(ms, ours.get(name, ms))
print("\nRead + evaluate, ms (best of the repetitions and runs; wall time)")
print("%8s %-11s %10s %10s %8s" % ("points", "order", "titrion", "numpy", "ratio"))
np.seterr(divide="ignore", invalid="ignore")
for points in (1000, 10000, 100000):
    for order in ("ascending", "scrambled", "descending"):
        path, name = os.path.join(folder, "titrion-%d-%s.tid" % (points, order)), "BM_ReadAndEvaluate/%s/%d" % (order, points)
        if not os.path.exists(path) or name not in ours:
            continue
        runs = []
        while len(runs) < 5 or (sum(runs) < 500.0 and len(runs) < 50):
            start = time.perf_counter()
            data = np.loadtxt(path)
            vb, e = data[np.argsort(data[:, 0], kind="stable")].T
            de = np.diff(e) / np.diff(vb)
            d2e = np.diff(de) / ((vb[2:] - vb[:-2]) / 2.0)
            runs.append((time.perf_counter() - start) * 1e3)
        print("%8d %-11s %10.2f %10.2f %7.1fx" % (points, order, ours[name], min(runs), min(runs) / ours[name]))
