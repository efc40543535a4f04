#!/usr/bin/env python3
"""Tables from solvane-bench-frames JSON output, the fit of frame time against
pixels x samples, and the data the plot is drawn from.

usage: report.py FRAMES.json PLOT_DATA.tsv > report.md
"""
import json
import sys


def load(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    return {r["name"].split("/real_time")[0].split("/iterations:")[0]: r
            for r in runs if r.get("run_type", "iteration") == "iteration" and "error_occurred" not in r}


def ms(run):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


def frame_table(runs):
    print("| Case | Size | 8-bit frame (ms) | 32-bit frame (ms) | reads/px | MPix/s (8-bit) | "
          "G samples/s (8-bit) | G samples/s (32-bit) |")
    print("|---|---|---:|---:|---:|---:|---:|---:|")
    rows = {}
    for name, run in runs.items():
        parts = name.split("/")
        if parts[0] != "Frame":
            continue
        rows.setdefault((parts[1], parts[2]), {})[parts[3]] = run
    sizes = ["256x256", "960x540", "1920x1080"]
    for (case, size), by_depth in sorted(rows.items(), key=lambda k: (sizes.index(k[0][1]), k[0][0])):
        r8, r32 = by_depth.get("8bit"), by_depth.get("32bit")
        cell = lambda r, f: f(r) if r else "-"
        print(f"| {case} | {size} | {cell(r8, lambda r: f'{ms(r):.1f}')} | "
              f"{cell(r32, lambda r: f'{ms(r):.1f}')} | {(r8 or r32)['reads/px']:.0f} | "
              f"{cell(r8, lambda r: f'{r[chr(77) + 'Pix/s']:.2f}')} | "
              f"{cell(r8, lambda r: f'{r['samples/s'] * 1e-9:.3f}')} | "
              f"{cell(r32, lambda r: f'{r['samples/s'] * 1e-9:.3f}')} |")


def fit(points):
    n = len(points)
    sx = sum(x for x, _ in points)
    sy = sum(y for _, y in points)
    sxx = sum(x * x for x, _ in points)
    sxy = sum(x * y for x, y in points)
    slope = (n * sxy - sx * sy) / (n * sxx - sx * sx)
    intercept = (sy - slope * sx) / n
    mean = sy / n
    total = sum((y - mean) ** 2 for _, y in points)
    residual = sum((y - intercept - slope * x) ** 2 for x, y in points)
    return intercept, slope, 1.0 - residual / total if total > 0 else 1.0


def scaling(runs, data_path):
    series = {"pixels": [], "samples": []}
    for name, run in runs.items():
        parts = name.split("/")
        if parts[0] == "Scale":
            x = run["pixels"] * run["reads/px"] * 1e-6  # megapixels x samples
            series[parts[1]].append((parts[2], x, ms(run)))
    points = [(x, t) for s in series.values() for _, x, t in s]
    if len(points) < 2:
        return None
    a, b, r2 = fit(points)
    print("\n| Sweep | Point | MPix x samples | Frame (ms) | Fitted (ms) |")
    print("|---|---|---:|---:|---:|")
    for kind, s in series.items():
        for label, x, t in sorted(s, key=lambda p: p[1]):
            print(f"| {kind} | {label} | {x:.1f} | {t:.1f} | {a + b * x:.1f} |")
    print(f"\nFit over both sweeps, frame time = a + b x (pixels x samples): fixed per-frame cost "
          f"a = {a:.1f} ms, slope b = {b * 1e6:.3f} ns per sample ({1e-6 / b * 1e3:.0f} M samples/s "
          f"at the margin), R^2 = {r2:.5f}.")
    with open(data_path, "w") as f:
        for kind, s in series.items():
            f.write(f"# {kind}\n")
            for _, x, t in sorted(s, key=lambda p: p[1]):
                f.write(f"{x}\t{t}\n")
            f.write("\n\n")
    return a, b


def threads(runs):
    rows = [(int(n.split("/")[1]), r) for n, r in runs.items() if n.startswith("Threads/")]
    if not rows:
        return
    rows.sort()
    base = rows[0][1]["frames/s"]
    print("\n| Host render threads | Frames/s (960x540 Zoom Moderate, 8-bit) | Against 1 thread |")
    print("|---:|---:|---:|")
    for n, r in rows:
        print(f"| {n} | {r['frames/s']:.2f} | x{r['frames/s'] / base:.2f} |")


def main():
    runs = load(sys.argv[1])
    frame_table(runs)
    line = scaling(runs, sys.argv[2])
    threads(runs)
    if line:
        print(f"\nFIT {line[0]} {line[1]}", file=sys.stderr)


if __name__ == "__main__":
    main()
