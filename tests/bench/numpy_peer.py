#!/usr/bin/python3
"""numpy_peer.py FILES-FOLDER CORE_BENCH.json: numpy reads each file core_bench kept (loadtxt), orders it by volume (stable
argsort), takes E' and E'' (diff); its best time of several runs beside core_bench's best repetition on the same file."""
import itertools, json, os, sys, time
import numpy as np
ours, folder = {}, sys.argv[1]
for b in json.load(open(sys.argv[2]))["benchmarks"]:
    if b.get("run_type", "iteration") == "iteration":
        ms = b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        ours[b.get("run_name", b["name"])] = min(ms, ours.get(b.get("run_name", b["name"]), ms))
print("\nRead + evaluate, ms (best of the repetitions and runs; wall time)\n%8s %-11s %10s %10s %8s" % ("points", "order", "titrion", "numpy", "ratio"))
np.seterr(divide="ignore", invalid="ignore")
for points, order in itertools.product((1000, 10000, 100000), ("ascending", "scrambled", "descending")):
    path, name, runs = os.path.join(folder, "titrion-%d-%s.tid" % (points, order)), "BM/%s/%d" % (order, points), []
    while os.path.exists(path) and name in ours and (len(runs) < 5 or (sum(runs) < 500.0 and len(runs) < 50)):
        start = time.perf_counter()
        vb, e = (lambda d: d[np.argsort(d[:, 0], kind="stable")].T)(np.loadtxt(path))
        d2e = np.diff(np.diff(e) / np.diff(vb)) / ((vb[2:] - vb[:-2]) / 2.0)
        runs.append((time.perf_counter() - start) * 1e3)
    if runs:
        print("%8d %-11s %10.2f %10.2f %7.1fx" % (points, order, ours[name], min(runs), min(runs) / ours[name]))

