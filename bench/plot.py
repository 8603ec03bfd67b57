#!/usr/bin/env python3
"""Time against rows, log-log, from bench_ref_select's JSON output.

    bench_ref_select --benchmark_filter='BM_AutoRefer|BM_ListFilter' \
        --benchmark_out=run.json --benchmark_out_format=json
    bench/plot.py run1.json [run2.json ...] -o bench/ref_select_growth.svg

Draws AutoRefer per rule (blue voucher, one unit) with the open-and-sort baseline measured beside
it, and the list filters, from 10 000 to 1 000 000 rows; with several runs each point is their
median. Prints per run the AutoRefer / open-and-sort ratio of every case at 100 000 and 1 000 000
rows and the growth exponent (slope of log time over log rows, 10 000 to 1 000 000) of every
series. Only Python's standard library is used: the SVG is written by hand.
"""

import argparse
import json
import math
import re
import statistics
import sys

RULES = [
    "batch, manual",
    "batch FIFO",
    "batch, nearest expiry",
    "trace, manual",
    "trace FIFO",
    "trace LIFO",
]
VOUCHERS = ["blue, one unit", "red, one unit", "blue, two units", "red, two units"]
FILTERS = {
    "BM_ListFilterShowBoxes": "show check-boxes (grid refill)",
    "BM_ListFilterCriteria": "Filter, two conditions",
}
COLOURS = ["#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b"]
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def read_run(path):
    """{key: {"ms": time, "base_ms": ..., "ratio": ...}} of one JSON file."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    out = {}
    for b in data.get("benchmarks", []):
        if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
            continue
        name = b["name"]
        scale = TO_MS[b.get("time_unit", "ns")]
        m = re.match(r"BM_AutoRefer/rule:(\d+)/voucher:(\d+)/rows:(\d+)", name)
        if m:
            key = ("refer", int(m.group(1)), int(m.group(2)), int(m.group(3)))
            out[key] = {
                "ms": b["real_time"] * scale,
                "base_ms": b.get("base_ms"),
                "ratio": b.get("ratio"),
                "cpu_ratio": b.get("cpu_ratio"),
            }
            continue
        m = re.match(r"(BM_ListFilter\w+)/rows:(\d+)", name)
        if m and m.group(1) in FILTERS:
            out[("filter", m.group(1), int(m.group(2)))] = {"ms": b["real_time"] * scale}
    return out, data.get("context", {})


def exponent(points):
    """Least-squares slope of log t over log n."""
    pts = [(math.log(n), math.log(t)) for n, t in points if t > 0]
    if len(pts) < 2:
        return None
    mx = sum(x for x, _ in pts) / len(pts)
    my = sum(y for _, y in pts) / len(pts)
    sxx = sum((x - mx) ** 2 for x, _ in pts)
    return sum((x - mx) * (y - my) for x, y in pts) / sxx if sxx else None


def median_series(runs, select):
    """{rows: median time} over the runs, for keys select(key) accepts."""
    values = {}
    for run in runs:
        for key, v in run.items():
            rows = select(key)
            if rows is not None and v.get("ms"):
                values.setdefault(rows, []).append(v)
    return values


def svg_panel(x0, y0, w, h, title, series, tmin, tmax):
    """One log-log panel; series = [(label, colour, dashed, [(rows, ms)])]."""
    nmin, nmax = 1e4, 1e6
    lo = 10 ** math.floor(math.log10(tmin))
    hi = 10 ** math.ceil(math.log10(tmax))

    def px(n):
        return x0 + (math.log10(n) - math.log10(nmin)) / (math.log10(nmax) - math.log10(nmin)) * w

    def py(t):
        return y0 + h - (math.log10(t) - math.log10(lo)) / (math.log10(hi) - math.log10(lo)) * h

    parts = [
        f'<text x="{x0 + w / 2}" y="{y0 - 12}" text-anchor="middle" font-weight="bold">{title}</text>',
        f'<rect x="{x0}" y="{y0}" width="{w}" height="{h}" fill="none" stroke="#444"/>',
    ]
    for e in range(4, 7):
        for m in range(1, 10):
            n = m * 10 ** e
            if n > nmax:
                break
            x = px(n)
            minor = "" if m == 1 else ' stroke-dasharray="2,3"'
            parts.append(
                f'<line x1="{x:.1f}" y1="{y0}" x2="{x:.1f}" y2="{y0 + h}" stroke="#ddd"{minor}/>'
            )
        parts.append(
            f'<text x="{px(10 ** e):.1f}" y="{y0 + h + 16}" text-anchor="middle">{10 ** e:,}</text>'
        )
    decade = lo
    while decade <= hi * 1.0001:
        y = py(decade)
        parts.append(f'<line x1="{x0}" y1="{y:.1f}" x2="{x0 + w}" y2="{y:.1f}" stroke="#ddd"/>')
        label = f"{decade:g} ms" if decade < 1000 else f"{decade / 1000:g} s"
        parts.append(f'<text x="{x0 - 6}" y="{y + 4:.1f}" text-anchor="end">{label}</text>')
        decade *= 10
    parts.append(
        f'<text x="{x0 + w / 2}" y="{y0 + h + 34}" text-anchor="middle">rows</text>'
    )
    ly = y0 + 14
    for label, colour, dashed, pts in series:
        if not pts:
            continue
        dash = ' stroke-dasharray="6,4"' if dashed else ""
        path = " ".join(f"{px(n):.1f},{py(t):.1f}" for n, t in pts)
        parts.append(
            f'<polyline points="{path}" fill="none" stroke="{colour}" stroke-width="1.8"{dash}/>'
        )
        for n, t in pts:
            parts.append(f'<circle cx="{px(n):.1f}" cy="{py(t):.1f}" r="2.5" fill="{colour}"/>')
        parts.append(
            f'<line x1="{x0 + 10}" y1="{ly - 4}" x2="{x0 + 34}" y2="{ly - 4}" stroke="{colour}"'
            f' stroke-width="1.8"{dash}/>'
        )
        parts.append(f'<text x="{x0 + 40}" y="{ly}">{label}</text>')
        ly += 15
    return parts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("runs", nargs="+", help="Google Benchmark JSON files")
    parser.add_argument("-o", "--output", default="ref_select_growth.svg")
    args = parser.parse_args()

    runs = []
    for path in args.runs:
        run, context = read_run(path)
        runs.append(run)
        load = context.get("load_avg", [])
        print(f"{path}: {context.get('date', '?')}, load average "
              f"{' '.join(f'{x:.2f}' for x in load) or '?'}")

    # Ratios per run at 100 000 and 1 000 000 rows.
    print("\nAutoRefer / open+sort (wall, side by side)")
    header = "rule / voucher".ljust(42) + "".join(
        f"run{i + 1} {n // 1000}k".rjust(11) for i in range(len(runs)) for n in (100000, 1000000)
    )
    print(header)
    for rule, rname in enumerate(RULES):
        for voucher, vname in enumerate(VOUCHERS):
            cells = []
            for run in runs:
                for n in (100000, 1000000):
                    v = run.get(("refer", rule, voucher, n))
                    cells.append(f"{v['ratio']:.2f}" if v and v.get("ratio") else "-")
            print(f"{rname}, {vname}".ljust(42) + "".join(c.rjust(11) for c in cells))

    # Growth, medians over the runs.
    refer_series, base_series, filter_series = [], [], []
    print("\nGrowth exponent 10 000 -> 1 000 000 (median of the runs; n log n is about 1.1)")
    all_t = []
    for rule, rname in enumerate(RULES):
        values = median_series(
            runs, lambda k, r=rule: k[3] if k[0] == "refer" and k[1] == r and k[2] == 0 else None
        )
        pts = sorted((n, statistics.median(v["ms"] for v in vs)) for n, vs in values.items())
        base = sorted(
            (n, statistics.median(v["base_ms"] for v in vs))
            for n, vs in values.items()
            if all(v.get("base_ms") for v in vs)
        )
        refer_series.append((f"{rname}", COLOURS[rule], False, pts))
        base_series.append((f"{rname}: open + sort", COLOURS[rule], True, base))
        all_t += [t for _, t in pts + base]
        er, eb = exponent(pts), exponent(base)
        print(f"  AutoRefer {rname}: {er:.2f}   open+sort: {eb:.2f}" if er and eb else
              f"  AutoRefer {rname}: -")
    for i, (name, label) in enumerate(FILTERS.items()):
        values = median_series(runs, lambda k, nm=name: k[2] if k[0] == "filter" and k[1] == nm
                               else None)
        pts = sorted((n, statistics.median(v["ms"] for v in vs)) for n, vs in values.items())
        filter_series.append((label, COLOURS[i], False, pts))
        e = exponent(pts)
        print(f"  list filter {label}: {e:.2f}" if e else f"  list filter {label}: -")
    if not all_t:
        sys.exit("no AutoRefer figures in the input")

    width, height = 1100, 900
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'font-family="sans-serif" font-size="12">',
        f'<rect width="{width}" height="{height}" fill="white"/>',
    ]
    # Left: AutoRefer; right: the same rules' open + sort; bottom: the list filters.
    parts += svg_panel(90, 50, 420, 340, "AutoRefer (blue, one unit)", refer_series,
                       min(all_t), max(all_t))
    parts += svg_panel(620, 50, 420, 340, "open + sort of the same query, measured beside it",
                       base_series, min(all_t), max(all_t))
    ft = [t for _, _, _, pts in filter_series for _, t in pts]
    if ft:
        parts += svg_panel(90, 490, 420, 340, "list filters over the candidate rows",
                           filter_series, min(ft), max(ft))
    note = f"median of {len(runs)} run{'s' if len(runs) > 1 else ''}; wall time per call"
    parts.append(f'<text x="620" y="520">{note}</text>')
    parts.append("</svg>")
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")
    print(f"\nwrote {args.output}")


if __name__ == "__main__":
    main()
