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
        frame8 = f"{ms(r8):.1f}" if r8 else "-"
        frame32 = f"{ms(r32):.1f}" if r32 else "-"
        mpix8 = f"{r8['MPix/s']:.2f}" if r8 else "-"
        gs8 = f"{r8['samples/s'] * 1e-9:.3f}" if r8 else "-"
        gs32 = f"{r32['samples/s'] * 1e-9:.3f}" if r32 else "-"
        reads = (r8 or r32)["reads/px"]
        print(f"| {case} | {size} | {frame8} | {frame32} | {reads:.0f} | {mpix8} | {gs8} | {gs32} |")

def solve(rows, values):
    """Least squares: the coefficients k minimising |rows k - values|."""
    n = len(rows[0])
    m = [[sum(r[i] * r[j] for r in rows) for j in range(n)] + [sum(r[i] * v for r, v in zip(rows, values))]
         for i in range(n)]
    for i in range(n):
        pivot = max(range(i, n), key=lambda k: abs(m[k][i]))
        m[i], m[pivot] = m[pivot], m[i]
        for k in range(n):
            if k != i:
                f = m[k][i] / m[i][i]
                m[k] = [a - f * b for a, b in zip(m[k], m[i])]
    return [m[i][n] / m[i][i] for i in range(n)]


def r_squared(rows, values, k):
    mean = sum(values) / len(values)
    total = sum((v - mean) ** 2 for v in values)
    residual = sum((v - sum(a * b for a, b in zip(r, k))) ** 2 for r, v in zip(rows, values))
    return 1.0 - residual / total if total > 0 else 1.0


def scaling(runs, data_path):
    """Frame time t (ms) = a + c MPix + b (MPix x samples), fitted over both sweeps; and a
    line t = a' + b' x per sweep for the plot."""
    series = {"pixels": [], "samples": []}
    for name, run in runs.items():
        parts = name.split("/")
        if parts[0] == "Scale":
            mpix = run["pixels"] * 1e-6
            series[parts[1]].append((parts[2], mpix, mpix * run["reads/px"], ms(run)))
    points = [p for s in series.values() for p in s]
    if len(points) < 4:
        return []
    rows = [(1.0, mpix, x) for _, mpix, x, _ in points]
    values = [t for *_, t in points]
    a, cpix, b = solve(rows, values)
    r2 = r_squared(rows, values, (a, cpix, b))
    print("\n| Sweep | Point | MPix x samples | Frame (ms) | Fitted (ms) |")
    print("|---|---|---:|---:|---:|")
    for kind, s in series.items():
        for label, mpix, x, t in sorted(s, key=lambda p: p[2]):
            print(f"| {kind} | {label} | {x:.1f} | {t:.1f} | {a + cpix * mpix + b * x:.1f} |")
    print(f"\nFit over both sweeps, frame time = a + c x megapixels + b x (megapixels x samples): "
          f"fixed per-frame cost a = {a:.1f} ms, per-pixel cost c = {cpix:.1f} ms per megapixel, "
          f"slope b = {b:.3f} ns per sample ({1e3 / b:.0f} M samples/s at the margin), "
          f"R^2 = {r2:.4f}.")
    lines = []
    with open(data_path, "w") as f:
        for kind, s in series.items():
            f.write(f"# {kind}\n")
            for _, _, x, t in sorted(s, key=lambda p: p[2]):
                f.write(f"{x}\t{t}\n")
            f.write("\n\n")
            line_rows = [(1.0, x) for _, _, x, _ in s]
            lines.append(solve(line_rows, [t for *_, t in s]))
    return lines


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
    lines = scaling(runs, sys.argv[2])
    threads(runs)
    for kind, (a, b) in zip(("pixels", "samples"), lines):
        print(f"FIT {kind} {a} {b}", file=sys.stderr)


if __name__ == "__main__":
    main()
